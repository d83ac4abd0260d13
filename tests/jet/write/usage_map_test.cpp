// Usage maps beyond their first reach: an owned map moves its start or
// becomes a reference map, a free-space map forgets far pages, the global map
// grows within its row and becomes a reference map when its page is full,
// and a page past the format's reach is refused. Built on small hand-made
// page images so each case is exact.
#include <gtest/gtest.h>

#include <vector>

#include "write/byte_writer.h"
#include "write/data_page_editor.h"
#include "write/page_image.h"
#include "write/usage_map_editor.h"

namespace jet::write {
namespace {

constexpr uint32_t kPageSize = 4096;

// An inline map row: type 0, start page, 64 bitmap bytes with `pages` set.
std::vector<uint8_t> inlineRow(uint32_t start, const std::vector<uint32_t>& pages) {
    std::vector<uint8_t> row(5 + 64, 0);
    putLe32(row.data() + 1, start);
    for (uint32_t page : pages) {
        row[5 + (page - start) / 8] |= static_cast<uint8_t>(1u << ((page - start) % 8));
    }
    return row;
}

// A Jet 4 image of `count` pages: page 1 holds the global map (pages from
// `count` on free) and an empty second map, page 2 holds `maps` as rows.
PageImage makeImage(uint32_t count, const std::vector<std::vector<uint8_t>>& maps) {
    std::vector<uint8_t> bytes(size_t(count) * kPageSize, 0);
    DataPageEditor first(bytes.data() + kPageSize, kPageSize, false);
    first.initialize(1);
    std::vector<uint32_t> free;
    for (uint32_t page = count; page < 512; ++page) {
        free.push_back(page);
    }
    EXPECT_TRUE(first.addRow(inlineRow(0, free)));
    EXPECT_TRUE(first.addRow(inlineRow(0, {})));
    DataPageEditor second(bytes.data() + 2 * kPageSize, kPageSize, false);
    second.initialize(2);
    for (const auto& map : maps) {
        EXPECT_TRUE(second.addRow(map));
    }
    auto image = PageImage::fromFile(std::move(bytes), kPageSize, false, nullptr);
    EXPECT_TRUE(image);
    return std::move(*image);
}

UsageMapEditor mapAt(PageImage& image, uint32_t pointer, MapKind kind) {
    auto map = UsageMapEditor::open(image, pointer, kind);
    EXPECT_TRUE(map) << map.status().message();
    return *map;
}

// New bitmap pages come from the end of the file, as the allocator gives them.
UsageMapEditor::NewPage appender(PageImage& image) {
    return [&image]() -> Result<uint32_t> { return image.appendPage(); };
}

TEST(UsageMaps, AnOwnedMapMovesItsStartWhileItsPagesFitTheRow) {
    PageImage image = makeImage(3, {inlineRow(0, {})});
    UsageMapEditor owned = mapAt(image, (2u << 8) | 0, MapKind::Owned);
    ASSERT_TRUE(owned.set(700, true, appender(image)));
    ASSERT_TRUE(owned.set(900, true, appender(image)));
    EXPECT_FALSE(owned.isReference());
    EXPECT_EQ(owned.pages(), (std::vector<uint32_t>{700, 900}));
    EXPECT_FALSE(owned.contains(2));
}

TEST(UsageMaps, AnOwnedMapTooWideForItsRowBecomesAReferenceMap) {
    PageImage image = makeImage(3, {inlineRow(0, {2, 100})});
    UsageMapEditor owned = mapAt(image, (2u << 8) | 0, MapKind::Owned);
    ASSERT_TRUE(owned.set(40000, true, appender(image)));
    EXPECT_TRUE(owned.isReference());
    EXPECT_EQ(owned.pages(), (std::vector<uint32_t>{2, 100, 40000}));
    // One bitmap page per 32736 pages, each of type 0x05.
    ASSERT_EQ(owned.bitmapPages().size(), 2u);
    for (uint32_t bitmap : owned.bitmapPages()) {
        EXPECT_EQ(image.page(bitmap)[0], 0x05);
    }
    ASSERT_TRUE(owned.set(100, false));
    EXPECT_EQ(owned.pages(), (std::vector<uint32_t>{2, 40000}));
    // 17 bitmap pages of 32736 pages are all a Jet 4 row of 69 bytes reaches.
    Status beyond = owned.set(17 * 32736, true, appender(image));
    EXPECT_EQ(beyond.code(), ErrorCode::Unsupported);
    EXPECT_NE(beyond.message().find("largest size"), std::string::npos) << beyond.message();
}

TEST(UsageMaps, AFreeSpaceMapForgetsFarPagesAndStaysInline) {
    PageImage image = makeImage(3, {inlineRow(0, {2})});
    UsageMapEditor free = mapAt(image, (2u << 8) | 0, MapKind::FreeSpace);
    ASSERT_TRUE(free.set(5000, true));
    EXPECT_FALSE(free.isReference());
    EXPECT_EQ(free.pages(), (std::vector<uint32_t>{5000}));
}

TEST(UsageMaps, TheGlobalMapGrowsWithinItsRowAsTheFileGrows) {
    PageImage image = makeImage(3, {});
    while (image.pageCount() < 520) {
        image.appendPage();
    }
    UsageMapEditor global = mapAt(image, (1u << 8) | 0, MapKind::Global);
    ASSERT_TRUE(global.set(519, false));
    EXPECT_FALSE(global.isReference());
    EXPECT_FALSE(global.contains(519));  // taken
    EXPECT_FALSE(global.contains(515));  // inside the file, never marked free
    EXPECT_TRUE(global.contains(530));   // past the end of the file: free
    EXPECT_TRUE(global.contains(300));   // free before and still free
    // The second row moved down with the grown first one and still reads.
    EXPECT_TRUE(UsageMapEditor::open(image, (1u << 8) | 1, MapKind::Global));
}

TEST(UsageMaps, AGlobalMapWithoutRoomOnItsPageBecomesAReferenceMap) {
    PageImage image = makeImage(3, {});
    DataPageEditor first(image.mutablePage(1), kPageSize, false);
    ASSERT_TRUE(first.addRow(std::vector<uint8_t>(first.freeSpace() - 4, 0xAA)));
    while (image.pageCount() < 600) {
        image.appendPage();
    }
    UsageMapEditor global = mapAt(image, (1u << 8) | 0, MapKind::Global);
    ASSERT_TRUE(global.set(599, false));
    ASSERT_TRUE(global.isReference());
    EXPECT_FALSE(global.contains(599));
    EXPECT_TRUE(global.contains(300));  // free in the old map
    EXPECT_FALSE(global.contains(550));
    const std::vector<uint32_t> bitmaps = global.bitmapPages();
    ASSERT_EQ(bitmaps.size(), 1u);
    EXPECT_FALSE(global.contains(bitmaps[0]));  // the bitmap page itself is in use
    EXPECT_TRUE(global.contains(image.pageCount()));
    EXPECT_TRUE(global.contains(30000));
}

}  // namespace
}  // namespace jet::write
