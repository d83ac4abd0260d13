// Index trees written from sorted entries and read back: one leaf, two and
// three levels, and shrinking back (pages handed back for freeing).
#include <gtest/gtest.h>

#include <set>

#include "write/index_tree.h"

namespace jet::write {
namespace {

constexpr uint32_t kTdef = 2;
constexpr uint32_t kRoot = 3;

std::vector<IndexEntry> makeEntries(size_t count, size_t keySize) {
    std::vector<IndexEntry> entries;
    for (size_t i = 0; i < count; ++i) {
        IndexEntry e;
        e.key.assign(keySize, 0x41);
        e.key[0] = 0x7F;
        for (int b = 0; b < 4; ++b) {
            e.key[keySize - 1 - b] = static_cast<uint8_t>(i >> (8 * b));
        }
        e.page = 100 + static_cast<uint32_t>(i / 200);
        e.row = static_cast<uint8_t>(i % 200);
        entries.push_back(e);
    }
    return entries;
}

struct Params {
    bool jet3;
    size_t count, keySize;
    int minimumPages;
};

class IndexTreeRoundTrip : public ::testing::TestWithParam<Params> {};

TEST_P(IndexTreeRoundTrip, ReadsBackWhatWasWritten) {
    const Params p = GetParam();
    const uint32_t pageSize = p.jet3 ? 2048 : 4096;
    auto image = PageImage::fromFile(std::vector<uint8_t>(size_t(4) * pageSize, 0), pageSize,
                                     p.jet3, nullptr);
    ASSERT_TRUE(image);
    auto allocate = [&]() -> Result<uint32_t> { return image->appendPage(); };
    const auto entries = makeEntries(p.count, p.keySize);
    auto unused = writeIndexTree(*image, kRoot, kTdef, entries, {}, allocate);
    ASSERT_TRUE(unused) << unused.status().message();
    auto tree = readIndexTree(*image, kRoot, kTdef);
    ASSERT_TRUE(tree) << tree.status().message();
    EXPECT_TRUE(tree->defects.empty()) << tree->defects.front();
    EXPECT_EQ(tree->entries, entries);
    EXPECT_GE(static_cast<int>(tree->pages.size()), p.minimumPages);
    EXPECT_EQ(std::set<uint32_t>(tree->pages.begin(), tree->pages.end()).size(),
              tree->pages.size());

    // Fewer entries again: the same root, pages left over for the caller.
    const auto fewer = makeEntries(p.count / 10, p.keySize);
    auto left = writeIndexTree(*image, kRoot, kTdef, fewer, tree->pages, allocate);
    ASSERT_TRUE(left);
    auto smaller = readIndexTree(*image, kRoot, kTdef);
    ASSERT_TRUE(smaller);
    EXPECT_TRUE(smaller->defects.empty());
    EXPECT_EQ(smaller->entries, fewer);
    EXPECT_EQ(smaller->pages.size() + left->size(), tree->pages.size());
}

INSTANTIATE_TEST_SUITE_P(Shapes, IndexTreeRoundTrip,
                         ::testing::Values(Params{false, 50, 17, 1},        // root is the leaf
                                           Params{false, 3000, 17, 10},     // two levels
                                           Params{false, 20000, 100, 500},  // three levels
                                           Params{true, 50, 12, 1}, Params{true, 3000, 12, 20},
                                           Params{true, 8000, 100, 400}));

TEST(IndexTree, RefusesAPageOfAnotherTable) {
    auto image = PageImage::fromFile(std::vector<uint8_t>(4 * 4096, 0), 4096, false, nullptr);
    ASSERT_TRUE(image);
    auto allocate = [&]() -> Result<uint32_t> { return image->appendPage(); };
    ASSERT_TRUE(writeIndexTree(*image, kRoot, kTdef, makeEntries(5, 9), {}, allocate));
    EXPECT_FALSE(readIndexTree(*image, kRoot, kTdef + 1));
    image->mutablePage(kRoot)[0] = 0x01;  // not an index page any more
    EXPECT_FALSE(readIndexTree(*image, kRoot, kTdef));
}

}  // namespace
}  // namespace jet::write
