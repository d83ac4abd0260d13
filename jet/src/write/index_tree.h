// One index B-tree on the page image: reading every entry in key order (any
// depth, prefix-compressed pages, tail children) and writing a sorted entry
// list back as a fresh tree whose root stays on its page. Writing the whole
// tree keeps inserts and deletes one code path that a full walk can verify.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "jet/status.h"
#include "write/page_image.h"

namespace jet::write {

// A leaf entry: the key bytes and the row it points at.
struct IndexEntry {
    std::vector<uint8_t> key;
    uint32_t page = 0;
    uint8_t row = 0;

    // Key followed by the big-endian row pointer: the bytes a page stores and
    // the order entries sort in.
    std::vector<uint8_t> bytes() const;
    bool operator<(const IndexEntry& other) const { return bytes() < other.bytes(); }
    bool operator==(const IndexEntry& other) const = default;
};

struct IndexPageFormat {
    uint32_t pageSize;
    bool jet3;
    uint32_t prefixOffset() const { return jet3 ? 20 : 24; }
    uint32_t markerOffset() const { return jet3 ? 21 : 26; }
    uint32_t bitmapOffset() const { return jet3 ? 22 : 27; }
    uint32_t entriesOffset() const { return jet3 ? 248 : 480; }
    uint32_t prevOffset() const { return jet3 ? 8 : 12; }
    uint32_t nextOffset() const { return jet3 ? 12 : 16; }
    uint32_t tailOffset() const { return jet3 ? 16 : 20; }
    uint32_t usable() const { return pageSize - entriesOffset(); }
};

struct IndexTree {
    std::vector<IndexEntry> entries;  // leaf entries in tree order
    std::vector<uint32_t> pages;      // every page of the tree, the root first
    std::vector<uint32_t> leaves;     // leaf pages in tree order
    // Problems a well-formed tree does not have (unsorted entries, a node
    // entry that is not its child's last entry, a broken leaf chain).
    std::vector<std::string> defects;
};

// Walks the tree at `rootPage` of the table whose definition is `tdefPage`.
// Corrupt when a page is not an index page of that table, a page is reached
// twice, the tree is deeper than any real index, or an entry overruns.
Result<IndexTree> readIndexTree(const PageImage& image, uint32_t rootPage, uint32_t tdefPage);

// Writes `sorted` as the tree rooted at `rootPage`. Pages come from `reusable`
// first (ascending), then from `allocate`; the pages of `reusable` left over
// are returned so the caller can free them.
Result<std::vector<uint32_t>> writeIndexTree(PageImage& image, uint32_t rootPage, uint32_t tdefPage,
                                             const std::vector<IndexEntry>& sorted,
                                             std::vector<uint32_t> reusable,
                                             const std::function<Result<uint32_t>()>& allocate);

}  // namespace jet::write
