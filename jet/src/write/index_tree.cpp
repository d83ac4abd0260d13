#include "write/index_tree.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "byte_reader.h"
#include "write/byte_writer.h"

namespace jet::write {
namespace {

constexpr uint8_t kNodePage = 0x03;
constexpr uint8_t kLeafPage = 0x04;
constexpr int kMaxDepth = 8;

using Bytes = std::vector<uint8_t>;

std::string pageName(uint32_t page) {
    return "index page " + std::to_string(page);
}

// The stored entries of one index page, prefix restored.
Result<std::vector<Bytes>> pageEntries(const uint8_t* page, const IndexPageFormat& f,
                                       uint32_t number) {
    const uint32_t prefix = f.jet3 ? page[f.prefixOffset()] : le16(page + f.prefixOffset());
    std::vector<Bytes> out;
    uint32_t start = 0;
    const uint32_t bits = (f.entriesOffset() - f.bitmapOffset()) * 8;
    for (uint32_t bit = 0; bit < bits; ++bit) {
        if (!((page[f.bitmapOffset() + bit / 8] >> (bit % 8)) & 1)) {
            continue;
        }
        if (bit <= start || bit > f.usable()) {
            return Result<std::vector<Bytes>>(ErrorCode::Corrupt,
                                              pageName(number) + " has an entry that overruns");
        }
        Bytes entry;
        if (!out.empty() && prefix > 0) {
            if (prefix > out.front().size()) {
                return Result<std::vector<Bytes>>(ErrorCode::Corrupt,
                                                  pageName(number) + " has a bad prefix length");
            }
            entry.assign(out.front().begin(), out.front().begin() + prefix);
        }
        const uint8_t* data = page + f.entriesOffset();
        entry.insert(entry.end(), data + start, data + bit);
        out.push_back(std::move(entry));
        start = bit;
    }
    return out;
}

IndexEntry leafEntry(const Bytes& bytes) {
    IndexEntry entry;
    entry.key.assign(bytes.begin(), bytes.end() - 4);
    const uint8_t* p = bytes.data() + bytes.size() - 4;
    entry.page = (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
    entry.row = p[3];
    return entry;
}

class TreeReader {
  public:
    TreeReader(const PageImage& image, uint32_t tdefPage)
        : image_(image), format_{image.pageSize(), image.jet3()}, tdef_(tdefPage) {}

    // Reads the subtree at `number`; `last` receives its last entry's bytes.
    Status walk(uint32_t number, int depth, Bytes& last) {
        if (depth > kMaxDepth || number == 0 || number >= image_.pageCount() ||
            !seen_.insert(number).second) {
            return {ErrorCode::Corrupt, pageName(number) + " is out of place in its index"};
        }
        const uint8_t* page = image_.page(number);
        if ((page[0] != kNodePage && page[0] != kLeafPage) || le32(page + 4) != tdef_) {
            return {ErrorCode::Corrupt, pageName(number) + " is not a page of this index"};
        }
        tree_.pages.push_back(number);
        auto entries = pageEntries(page, format_, number);
        if (!entries) {
            return entries.status();
        }
        return page[0] == kLeafPage ? readLeaf(number, *entries, last)
                                    : readNode(number, page, *entries, depth, last);
    }

    IndexTree take() { return std::move(tree_); }

  private:
    Status readLeaf(uint32_t number, const std::vector<Bytes>& entries, Bytes& last) {
        tree_.leaves.push_back(number);
        for (const Bytes& bytes : entries) {
            if (bytes.size() < 5) {
                return {ErrorCode::Corrupt, pageName(number) + " has a short entry"};
            }
            tree_.entries.push_back(leafEntry(bytes));
        }
        last = entries.empty() ? Bytes() : entries.back();
        return Status::ok();
    }

    Status readNode(uint32_t number, const uint8_t* page, const std::vector<Bytes>& entries,
                    int depth, Bytes& last) {
        std::set<uint32_t> children;
        for (const Bytes& bytes : entries) {
            if (bytes.size() < 9) {
                return {ErrorCode::Corrupt, pageName(number) + " has a short entry"};
            }
            const uint32_t child = be32(bytes.data() + bytes.size() - 4);
            children.insert(child);
            if (Status status = walk(child, depth + 1, last); !status) {
                return status;
            }
            if (!std::equal(bytes.begin(), bytes.end() - 4, last.begin(), last.end())) {
                tree_.defects.push_back(pageName(number) +
                                        ": an entry differs from the last "
                                        "entry of its child " +
                                        std::to_string(child));
            }
        }
        const uint32_t tail = le32(page + format_.tailOffset());
        if (tail != 0 && !children.count(tail)) {
            return walk(tail, depth + 1, last);
        }
        if (entries.size() >= 2 && tail == 0) {
            tree_.defects.push_back(pageName(number) + " has several children and no tail");
        }
        return Status::ok();
    }

    const PageImage& image_;
    IndexPageFormat format_;
    uint32_t tdef_;
    std::set<uint32_t> seen_;
    IndexTree tree_;
};

void checkLeafChain(const PageImage& image, IndexTree& tree) {
    const IndexPageFormat f{image.pageSize(), image.jet3()};
    for (size_t i = 0; i < tree.leaves.size(); ++i) {
        const uint8_t* page = image.page(tree.leaves[i]);
        const uint32_t prev = i == 0 ? 0 : tree.leaves[i - 1];
        const uint32_t next = i + 1 == tree.leaves.size() ? 0 : tree.leaves[i + 1];
        if (tree.leaves.size() > 1 &&
            (le32(page + f.prevOffset()) != prev || le32(page + f.nextOffset()) != next)) {
            tree.defects.push_back(pageName(tree.leaves[i]) + " is not linked to its neighbours");
        }
    }
    for (size_t i = 1; i < tree.entries.size(); ++i) {
        if (!(tree.entries[i - 1] < tree.entries[i])) {
            tree.defects.push_back("index entries " + std::to_string(i - 1) + " and " +
                                   std::to_string(i) + " are out of order");
        }
    }
}

}  // namespace

std::vector<uint8_t> IndexEntry::bytes() const {
    Bytes out = key;
    out.push_back(static_cast<uint8_t>(page >> 16));
    out.push_back(static_cast<uint8_t>(page >> 8));
    out.push_back(static_cast<uint8_t>(page));
    out.push_back(row);
    return out;
}

Result<IndexTree> readIndexTree(const PageImage& image, uint32_t rootPage, uint32_t tdefPage) {
    TreeReader reader(image, tdefPage);
    Bytes last;
    if (Status status = reader.walk(rootPage, 0, last); !status) {
        return status;
    }
    IndexTree tree = reader.take();
    checkLeafChain(image, tree);
    return tree;
}

}  // namespace jet::write
