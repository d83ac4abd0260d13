#include "analysis/column_kind.h"

#include <gtest/gtest.h>

namespace analysis {
namespace {

struct KindCase {
    int dataType;
    bool flagColumn;
    bool numeric;
};

class ColumnKind : public ::testing::TestWithParam<KindCase> {};

TEST_P(ColumnKind, TextDateBooleanAndFlagAreNotNumeric) {
    EXPECT_EQ(isNumericColumn(GetParam().dataType, GetParam().flagColumn), GetParam().numeric);
}

INSTANTIATE_TEST_SUITE_P(Table, ColumnKind,
                         ::testing::Values(KindCase{kTextType, false, false},
                                           KindCase{kDateType, false, false},
                                           KindCase{kBooleanType, false, false},
                                           KindCase{0, false, true},   // no type: delimited text
                                           KindCase{3, false, true},   // long integer
                                           KindCase{5, false, true},   // double
                                           KindCase{6, false, true},   // currency
                                           KindCase{12, false, true},  // other types count too
                                           KindCase{3, true, false}, KindCase{0, true, false}));

}  // namespace
}  // namespace analysis
