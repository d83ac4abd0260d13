#include "write/row_placer.h"

#include <string>

#include "byte_reader.h"
#include "write/data_page_editor.h"
#include "write/usage_map_editor.h"

namespace jet::write {

Result<uint32_t> RowPlacer::place(uint32_t owner, uint32_t ownedMap, uint32_t freeMap,
                                  std::span<const uint8_t> row) {
    auto free = UsageMapEditor::open(image_, freeMap, MapKind::FreeSpace);
    auto owned = UsageMapEditor::open(image_, ownedMap, MapKind::Owned);
    if (!free || !owned) {
        return free ? owned.status() : free.status();
    }
    std::vector<uint32_t> pages = free->pages();
    for (auto it = pages.rbegin(); it != pages.rend(); ++it) {
        const uint32_t number = *it;
        if (number == 0 || number >= image_.pageCount() || !owned->contains(number)) {
            continue;
        }
        const uint8_t* page = image_.page(number);
        DataPageEditor reader(const_cast<uint8_t*>(page), image_.pageSize(), image_.jet3());
        if (page[0] != 0x01 || le32(page + 4) != owner ||
            !reader.fits(static_cast<uint32_t>(row.size()))) {
            continue;
        }
        DataPageEditor editor(image_.mutablePage(number), image_.pageSize(), image_.jet3());
        auto slot = editor.addRow(row);
        if (!slot) {
            return slot.status();
        }
        return (number << 8) | *slot;
    }
    auto number = newPage(owner, ownedMap, freeMap);
    if (!number) {
        return number;
    }
    DataPageEditor editor(image_.mutablePage(*number), image_.pageSize(), image_.jet3());
    auto slot = editor.addRow(row);
    if (!slot) {
        return Result<uint32_t>(ErrorCode::Unsupported, "a row of " + std::to_string(row.size()) +
                                                            " bytes does not fit on an empty page");
    }
    return (*number << 8) | *slot;
}

Result<uint32_t> RowPlacer::newPage(uint32_t owner, uint32_t ownedMap, uint32_t freeMap) {
    auto owned = UsageMapEditor::open(image_, ownedMap, MapKind::Owned);
    auto free = UsageMapEditor::open(image_, freeMap, MapKind::FreeSpace);
    if (!owned || !free) {
        return owned ? free.status() : owned.status();
    }
    auto number = allocator_.allocate();
    if (!number) {
        return number;
    }
    DataPageEditor(image_.mutablePage(*number), image_.pageSize(), image_.jet3()).initialize(owner);
    for (UsageMapEditor* map : {&*owned, &*free}) {
        if (Status status = allocator_.addToMap(*map, *number); !status) {
            return status;
        }
    }
    return number;
}

}  // namespace jet::write
