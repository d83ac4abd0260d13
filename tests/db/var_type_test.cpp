// The data type a sheet column gets from its field's engine type.
#include <gtest/gtest.h>

#include "db/var_type.h"

namespace {

struct TypeCase {
    jet::ValueType type;
    int varType;
};

class VarTypeOf : public testing::TestWithParam<TypeCase> {};

TEST_P(VarTypeOf, MatchesTheVarTypeCode) {
    EXPECT_EQ(db::VarType::of(GetParam().type), GetParam().varType);
}

using T = jet::ValueType;
INSTANTIATE_TEST_SUITE_P(Cases, VarTypeOf,
                         testing::Values(TypeCase{T::Boolean, 11}, TypeCase{T::Byte, 17},
                                         TypeCase{T::Integer, 2}, TypeCase{T::Long, 3},
                                         TypeCase{T::Single, 4}, TypeCase{T::Double, 5},
                                         TypeCase{T::Currency, 6}, TypeCase{T::DateTime, 7},
                                         TypeCase{T::Text, 8}, TypeCase{T::Guid, 8},
                                         TypeCase{T::Decimal, 14}, TypeCase{T::BigInt, 20},
                                         TypeCase{T::Binary, 8209}, TypeCase{T::Null, 8},
                                         TypeCase{T::Unsupported, 8209}));

}  // namespace
