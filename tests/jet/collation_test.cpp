// Jet's name order: case-insensitive, punctuation before digits before letters,
// accents sort with their base letter.
#include "jet/collation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "jet/database.h"

namespace {

struct OrderCase {
    jet::FileFormat format;
    const char* before;
    const char* after;
};

TEST(Collation, PairsSortAsJetDoes) {
    using F = jet::FileFormat;
    const OrderCase cases[] = {
        {F::Jet4, "Order Details", "Order Subtotals"},
        {F::Jet4, "Order Subtotals", "Orders"},
        {F::Jet4, "Table_1", "Table1"},
        {F::Jet4, "MSysAccessObjects", "MSysACEs"},
        {F::Jet4, "Products Above Average Price", "Products by Category"},
        {F::Jet4, "Ten Most Expensive Products", "Umsätze"},
        {F::Jet4, "Umsätze", "Umsb"},
        {F::Jet4, "a.b", "a+b"},
        {F::Jet4, "~TMPCLP1", "f_1"},
        {F::Jet4, "Zürich", "Zz"},
        {F::Jet4, "coop", "copy"},
        {F::Jet4, "co-op", "copy"},
        {F::Jet3, "a+b", "a-b"},
        {F::Jet3, "a-b", "a.b"},
        {F::Jet3, "a~", "a0"},
        {F::Jet3, "Table1", "table2"},
        {F::Jet3, "MSysACEs", "MSysModules"},
    };
    for (const OrderCase& c : cases) {
        EXPECT_LT(jet::compareJetText(c.before, c.after, c.format), 0)
            << c.before << " < " << c.after;
        EXPECT_GT(jet::compareJetText(c.after, c.before, c.format), 0)
            << c.after << " > " << c.before;
    }
}

TEST(Collation, HyphenAndApostropheAreIgnoredFirstInJet4) {
    std::vector<std::string> names = {"copy", "coop", "co-op", "cop"};
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return jet::compareJetText(a, b, jet::FileFormat::Jet4) < 0;
    });
    // "co-op" and "coop" share a first-level key, so they stay neighbours.
    EXPECT_EQ(names, (std::vector<std::string>{"co-op", "coop", "cop", "copy"}));
}

TEST(Collation, NamesMatchIgnoringCase) {
    EXPECT_TRUE(jet::jetNamesEqual("Table1", "TABLE1"));
    EXPECT_TRUE(jet::jetNamesEqual("Zürich", "ZÜRICH"));
    EXPECT_FALSE(jet::jetNamesEqual("Table1", "Table2"));
    EXPECT_FALSE(jet::jetNamesEqual("Table", "Table1"));
    EXPECT_EQ(jet::compareJetText("abc", "abc", jet::FileFormat::Jet4), 0);
}

}  // namespace
