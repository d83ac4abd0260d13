// Writing a sorted entry list as a fresh index tree (declared in index_tree.h).
#include <algorithm>
#include <cstring>

#include "write/byte_writer.h"
#include "write/index_tree.h"

namespace jet::write {
namespace {

using Bytes = std::vector<uint8_t>;

// One page to be written: its entries (stored bytes) and links.
struct PagePlan {
    uint32_t number = 0;
    bool leaf = true;
    std::vector<Bytes> entries;
    uint32_t prev = 0, next = 0, tail = 0;
    Bytes last;  // the last leaf entry of the subtree, for the parent's entry
};

size_t sizeOf(const std::vector<Bytes>& entries) {
    size_t total = 0;
    for (const Bytes& e : entries) {
        total += e.size();
    }
    return total;
}

// Cuts `items` into runs of at most `usable` bytes, of about equal size.
std::vector<std::vector<Bytes>> group(const std::vector<Bytes>& items, size_t usable) {
    const size_t total = sizeOf(items);
    const size_t count = std::max<size_t>(1, (total + usable - 1) / usable);
    const size_t target = (total + count - 1) / count;
    std::vector<std::vector<Bytes>> groups(1);
    size_t size = 0;
    for (const Bytes& item : items) {
        if (!groups.back().empty() && (size + item.size() > usable || size >= target)) {
            groups.emplace_back();
            size = 0;
        }
        groups.back().push_back(item);
        size += item.size();
    }
    return groups;
}

void writePage(PageImage& image, uint32_t tdefPage, const PagePlan& plan) {
    const IndexPageFormat f{image.pageSize(), image.jet3()};
    uint8_t* page = image.mutablePage(plan.number);
    std::memset(page, 0, image.pageSize());
    page[0] = plan.leaf ? 0x04 : 0x03;
    page[1] = 0x01;
    putLe32(page + 4, tdefPage);
    putLe32(page + f.prevOffset(), plan.prev);
    putLe32(page + f.nextOffset(), plan.next);
    putLe32(page + f.tailOffset(), plan.tail);
    page[f.markerOffset()] = plan.leaf ? 0 : 1;
    uint32_t at = 0;
    for (const Bytes& entry : plan.entries) {
        std::memcpy(page + f.entriesOffset() + at, entry.data(), entry.size());
        at += static_cast<uint32_t>(entry.size());
        page[f.bitmapOffset() + at / 8] |= static_cast<uint8_t>(1u << (at % 8));
    }
    putLe16(page + 2, image.pageSize() - f.entriesOffset() - at);
}

class TreeBuilder {
  public:
    TreeBuilder(std::vector<uint32_t> reusable, const std::function<Result<uint32_t>()>& allocate)
        : pool_(std::move(reusable)), allocate_(allocate) {
        std::sort(pool_.begin(), pool_.end());
    }

    Result<uint32_t> nextPage() {
        if (used_ < pool_.size()) {
            return pool_[used_++];
        }
        return allocate_();
    }
    std::vector<uint32_t> leftOver() const {
        return std::vector<uint32_t>(pool_.begin() + used_, pool_.end());
    }

  private:
    std::vector<uint32_t> pool_;
    size_t used_ = 0;
    const std::function<Result<uint32_t>()>& allocate_;
};

// Node entries for `children`: every child but the last by its last entry,
// the last one through the tail field.
// A node with one child refers to it by an entry and has no tail.
std::vector<Bytes> nodeEntries(const std::vector<PagePlan>& children) {
    std::vector<Bytes> out;
    const size_t byEntry = children.size() == 1 ? 1 : children.size() - 1;
    for (size_t i = 0; i < byEntry; ++i) {
        Bytes entry = children[i].last;
        entry.resize(entry.size() + 4);
        putBe32(entry.data() + entry.size() - 4, children[i].number);
        out.push_back(std::move(entry));
    }
    return out;
}

// Groups the pages of one level under parents; node entries stay below the
// page capacity because each group leaves its last child to the tail.
std::vector<std::vector<PagePlan>> groupChildren(const std::vector<PagePlan>& level,
                                                 size_t usable) {
    std::vector<std::vector<PagePlan>> groups(1);
    size_t size = 0;
    for (const PagePlan& child : level) {
        const size_t entrySize = child.last.size() + 4;
        if (groups.back().size() >= 2 && size + entrySize > usable) {
            groups.emplace_back();
            size = 0;
        }
        if (!groups.back().empty()) {
            size += groups.back().back().last.size() + 4;
        }
        groups.back().push_back(child);
    }
    return groups;
}

void linkSiblings(std::vector<PagePlan>& pages, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i) {
        pages[i].prev = i == from ? 0 : pages[i - 1].number;
        pages[i].next = i + 1 == to ? 0 : pages[i + 1].number;
    }
}

}  // namespace

Result<std::vector<uint32_t>> writeIndexTree(PageImage& image, uint32_t rootPage, uint32_t tdefPage,
                                             const std::vector<IndexEntry>& sorted,
                                             std::vector<uint32_t> reusable,
                                             const std::function<Result<uint32_t>()>& allocate) {
    const IndexPageFormat f{image.pageSize(), image.jet3()};
    std::vector<Bytes> items;
    for (const IndexEntry& entry : sorted) {
        items.push_back(entry.bytes());
    }
    std::erase(reusable, rootPage);
    TreeBuilder builder(std::move(reusable), allocate);
    std::vector<std::vector<Bytes>> leafGroups = group(items, f.usable());
    if (leafGroups.size() == 1) {
        writePage(image, tdefPage, PagePlan{rootPage, true, leafGroups[0], 0, 0, 0, {}});
        return builder.leftOver();
    }
    std::vector<PagePlan> level;
    for (auto& entries : leafGroups) {
        auto page = builder.nextPage();
        if (!page) {
            return page.status();
        }
        level.push_back(PagePlan{*page, true, entries, 0, 0, 0, entries.back()});
    }
    linkSiblings(level, 0, level.size());
    while (true) {
        std::vector<std::vector<PagePlan>> groups = groupChildren(level, f.usable());
        if (!level.front().leaf) {
            // Node pages are chained only among the children of one parent.
            size_t from = 0;
            for (const auto& children : groups) {
                linkSiblings(level, from, from + children.size());
                from += children.size();
            }
        }
        for (const PagePlan& plan : level) {
            writePage(image, tdefPage, plan);
        }
        std::vector<PagePlan> parents;
        for (const auto& children : groups) {
            const uint32_t tail = children.size() == 1 ? 0 : children.back().number;
            PagePlan parent{0, false, nodeEntries(children), 0, 0, tail, children.back().last};
            if (groups.size() == 1) {
                parent.number = rootPage;
                writePage(image, tdefPage, parent);
                return builder.leftOver();
            }
            auto page = builder.nextPage();
            if (!page) {
                return page.status();
            }
            parent.number = *page;
            parents.push_back(std::move(parent));
        }
        level = std::move(parents);
    }
}

}  // namespace jet::write
