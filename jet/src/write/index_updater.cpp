#include "write/index_updater.h"

#include <algorithm>
#include <string>

#include "write/index_key.h"
#include "write/index_tree.h"
#include "write/usage_map_editor.h"

namespace jet::write {
namespace {

Status mismatch(const SystemTable& table, const std::string& why) {
    return {ErrorCode::Unsupported, "an index of " + table.def.name + " " + why +
                                        "; compact and repair the database in Access first"};
}

Status updateOne(PageImage& image, PageAllocator& allocator, const SystemTable& table,
                 size_t indexNumber, const std::vector<AddedRow>& added,
                 const std::set<uint32_t>& removed) {
    const RealIndex& index = table.layout.indexes[indexNumber];
    auto tree = readIndexTree(image, index.rootPage, table.layout.tdefPage);
    if (!tree) {
        return mismatch(table, "cannot be read (" + tree.status().message() + ")");
    }
    if (!tree->defects.empty()) {
        return mismatch(table, "is not in order (" + tree->defects.front() + ")");
    }
    if (tree->entries.size() != table.rows.size()) {
        return mismatch(table, "lists " + std::to_string(tree->entries.size()) +
                                   " rows, the table has " + std::to_string(table.rows.size()));
    }
    std::vector<IndexEntry> entries;
    std::set<std::vector<uint8_t>> keys;
    for (const IndexEntry& entry : tree->entries) {
        if (!removed.count((entry.page << 8) | entry.row)) {
            entries.push_back(entry);
            keys.insert(entry.key);
        }
    }
    for (const AddedRow& row : added) {
        auto key = indexKey(index, table.def, row.values, table.collation);
        if (!key) {
            return key.status();
        }
        if (!keys.insert(*key).second && index.unique()) {
            return {ErrorCode::Invalid,
                    "the new entry would duplicate a unique key of " + table.def.name};
        }
        bumpUniqueCount(image, table.layout, indexNumber);
        entries.push_back(IndexEntry{std::move(*key), row.pointer >> 8,
                                     static_cast<uint8_t>(row.pointer & 0xFF)});
    }
    std::sort(entries.begin(), entries.end());
    auto allocate = [&]() -> Result<uint32_t> {
        auto map = UsageMapEditor::open(image, index.mapPointer);
        if (!map) {
            return map.status();
        }
        auto page = allocator.allocate();
        if (page) {
            if (Status s = allocator.addToMap(*map, *page); !s) {
                return s;
            }
        }
        return page;
    };
    auto unused = writeIndexTree(image, index.rootPage, table.layout.tdefPage, entries, tree->pages,
                                 allocate);
    if (!unused) {
        return unused.status();
    }
    for (uint32_t page : *unused) {
        auto map = UsageMapEditor::open(image, index.mapPointer);
        if (!map) {
            return map.status();
        }
        if (Status s = map->set(page, false); !s) {
            return s;
        }
        if (Status s = allocator.release(page); !s) {
            return s;
        }
    }
    return Status::ok();
}

}  // namespace

Status updateIndexes(PageImage& image, PageAllocator& allocator, const SystemTable& table,
                     const std::vector<AddedRow>& added, const std::set<uint32_t>& removed) {
    for (size_t i = 0; i < table.layout.indexes.size(); ++i) {
        if (Status status = updateOne(image, allocator, table, i, added, removed); !status) {
            return status;
        }
    }
    return Status::ok();
}

}  // namespace jet::write
