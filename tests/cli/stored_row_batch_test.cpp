// Rows in the form SQLite stores them: every value type arrives as the
// integer, double, text or bytes SQLite is to store, and each value's bytes
// stay its own however many values follow.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "jet/value.h"
#include "jet/value_format.h"
#include "stored_row_batch.h"

namespace {

using cli::StoredRowBatch;
using Kind = StoredRowBatch::Kind;
using T = jet::ValueType;

jet::ValueRef number(T type, int64_t i) {
    jet::ValueRef v;
    v.type = type;
    v.i = i;
    return v;
}

jet::ValueRef real(T type, double d) {
    jet::ValueRef v;
    v.type = type;
    v.d = d;
    return v;
}

jet::ValueRef bytes(T type, std::string_view data) {
    jet::ValueRef v;
    v.type = type;
    v.data = data;
    return v;
}

TEST(StoredRowBatch, EveryTypeTakesTheFormSqliteStores) {
    StoredRowBatch batch(1);
    const std::string guid("\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f", 16);
    const std::string ole("\x00\xff\x10", 3);
    jet::ValueRef decimal;
    decimal.type = T::Decimal;
    decimal.dec = jet::Decimal{0, 12345, 2, 10, true};
    const jet::ValueRef values[] = {
        jet::ValueRef{},
        number(T::Boolean, 1),
        number(T::Boolean, 0),
        number(T::Byte, 255),
        number(T::Integer, -32768),
        number(T::Long, 2147483647),
        number(T::BigInt, INT64_MIN),
        number(T::Currency, -35000),
        real(T::Single, static_cast<float>(0.1)),
        real(T::Double, 0.1 + 0.2),
        real(T::DateTime, 36526.0 + 1.0 / 86400),
        real(T::DateTime, -1.75),
        bytes(T::Text, "Grüße"),
        bytes(T::Text, ""),
        bytes(T::Binary, ole),
        bytes(T::Guid, guid),
        decimal,
        bytes(T::Unsupported, "raw"),
    };
    for (const jet::ValueRef& v : values) {
        batch.append(v);
        batch.endRow();
    }
    ASSERT_EQ(batch.rows(), std::size(values));
    const Kind kinds[] = {Kind::Null,    Kind::Integer, Kind::Integer, Kind::Integer, Kind::Integer,
                          Kind::Integer, Kind::Integer, Kind::Text,    Kind::Real,    Kind::Real,
                          Kind::Text,    Kind::Text,    Kind::Text,    Kind::Text,    Kind::Blob,
                          Kind::Text,    Kind::Text,    Kind::Blob};
    for (size_t r = 0; r < batch.rows(); ++r)
        EXPECT_EQ(batch.row(r).kind(0), kinds[r]) << "row " << r;
    const int64_t integers[] = {1, 0, 255, -32768, 2147483647, INT64_MIN};
    for (size_t r = 1; r <= 6; ++r)
        EXPECT_EQ(batch.row(r).integer(0), integers[r - 1]) << "row " << r;
    EXPECT_EQ(batch.row(7).bytes(0), "-3.5000");
    EXPECT_EQ(batch.row(8).real(0), 0.1);  // the float's shortest decimal, read as a double
    EXPECT_EQ(batch.row(9).real(0), 0.1 + 0.2);
    EXPECT_EQ(batch.row(10).bytes(0), "2000-01-01 00:00:01");
    EXPECT_EQ(batch.row(11).bytes(0), "1899-12-29 18:00:00");
    EXPECT_EQ(batch.row(12).bytes(0), "Grüße");
    EXPECT_EQ(batch.row(13).bytes(0), "");
    EXPECT_EQ(batch.row(14).bytes(0), ole);
    EXPECT_EQ(batch.row(15).bytes(0), "{03020100-0504-0706-0809-0A0B0C0D0E0F}");
    EXPECT_EQ(batch.row(16).bytes(0), "-123.45");
    EXPECT_EQ(batch.row(17).bytes(0), "raw");
}

// The buffer grows many times over (a megabyte text, thousands of dates
// written in place): every value still reads as it was appended.
TEST(StoredRowBatch, ValuesKeepTheirBytesAsTheBatchGrows) {
    StoredRowBatch batch(3);
    const std::string big(1 << 20, 'x');
    int rows = 0;
    while (!batch.full() || rows < 20000) {
        batch.append(number(T::Long, rows));
        batch.append(rows == 777 ? bytes(T::Text, big) : real(T::DateTime, rows));
        batch.append(number(T::Currency, rows));
        batch.endRow();
        ++rows;
    }
    ASSERT_EQ(batch.rows(), static_cast<size_t>(rows));
    EXPECT_EQ(batch.row(777).bytes(1), big);
    EXPECT_EQ(batch.row(0).bytes(1), "1899-12-30 00:00:00");
    EXPECT_EQ(batch.row(19999).bytes(1), "1954-10-02 00:00:00");
    for (int r = 0; r < rows; ++r) {
        ASSERT_EQ(batch.row(r).integer(0), r);
        ASSERT_EQ(batch.row(r).bytes(2), jet::formatCurrency(r)) << "row " << r;
    }
}

// A row cut short by a failed value leaves no values and no bytes behind:
// the next row's values and bytes follow the last complete row.
TEST(StoredRowBatch, APartialRowIsForgottenWithItsBytes) {
    StoredRowBatch batch(3);
    batch.append(bytes(T::Text, "kept"));
    batch.append(real(T::DateTime, 0));
    batch.append(jet::ValueRef{});
    batch.endRow();
    batch.append(number(T::Long, 5));
    batch.append(bytes(T::Text, "dropped"));
    batch.dropPartialRow();
    batch.append(bytes(T::Text, "next"));
    batch.append(number(T::Long, 6));
    batch.append(bytes(T::Binary, "b"));
    batch.endRow();
    ASSERT_EQ(batch.rows(), 2u);
    EXPECT_EQ(batch.row(0).bytes(0), "kept");
    EXPECT_EQ(batch.row(0).bytes(1), "1899-12-30 00:00:00");
    EXPECT_EQ(batch.row(0).kind(2), Kind::Null);
    EXPECT_EQ(batch.row(1).bytes(0), "next");
    EXPECT_EQ(batch.row(1).bytes(0).data(), batch.row(0).bytes(1).data() + 19);
    EXPECT_EQ(batch.row(1).integer(1), 6);
    EXPECT_EQ(batch.row(1).bytes(2), "b");
    batch.clear();
    EXPECT_EQ(batch.rows(), 0u);
    EXPECT_FALSE(batch.full());
}

// A row wider than a batch's usual count of values still fits.
TEST(StoredRowBatch, ARowOfManyValuesFits) {
    StoredRowBatch batch(20000);
    for (int k = 0; k < 20000; ++k)
        batch.append(k % 2 ? number(T::Integer, k) : bytes(T::Text, std::to_string(k)));
    batch.endRow();
    EXPECT_TRUE(batch.full());
    for (int k = 0; k < 20000; ++k) {
        if (k % 2)
            ASSERT_EQ(batch.row(0).integer(k), k);
        else
            ASSERT_EQ(batch.row(0).bytes(k), std::to_string(k));
    }
}

}  // namespace
