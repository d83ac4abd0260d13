// Rows and index keys of a saved query, byte for byte as they stand in a
// real Jet 4 file (the qryOrders example: Id 0x80000012 under the Tables
// container 0x0F000001, owner C9 9E).
#include <gtest/gtest.h>

#include <cstring>

#include "database_file.h"
#include "jet/database.h"
#include "temp_copy.h"
#include "write/index_key.h"
#include "write/row_encoder.h"
#include "write/system_rows.h"
#include "write/table_layout.h"

namespace jet::write {
namespace {

using Bytes = std::vector<uint8_t>;

class Jet4Vectors : public ::testing::Test {
  protected:
    void SetUp() override {
        auto db = Database::open(testing::testDataPath("jackcess/V2000/queryTestV2000.mdb"));
        ASSERT_TRUE(db) << db.status().message();
        db_ = std::move(*db);
        RealFileSystemBytes();
    }
    void RealFileSystemBytes() {
        const std::string bytes = testing::fileBytes(db_->path());
        auto image = PageImage::fromFile(Bytes(bytes.begin(), bytes.end()), 4096, false, nullptr);
        ASSERT_TRUE(image);
        image_.emplace(std::move(*image));
    }
    SystemTable table(const char* name) {
        auto t = readSystemTable(*db_, *image_, name, {});
        EXPECT_TRUE(t) << t.status().message();
        return t ? std::move(*t) : SystemTable{};
    }
    static Value longValue(int64_t v) { return Value::integer(ValueType::Long, v); }
    static Value dateValue() {
        const uint8_t raw[8] = {0, 0, 0, 0, 0x70, 0x9e, 0xe3, 0x40};
        double d;
        std::memcpy(&d, raw, 8);
        return Value::real(ValueType::DateTime, d);
    }

    std::unique_ptr<Database> db_;
    std::optional<PageImage> image_;
};

TEST_F(Jet4Vectors, ObjectRowAndItsKeys) {
    SystemTable objects = table("MSysObjects");
    std::vector<Value> v(objects.def.maxColumns);
    v[objects.number("Id")] = longValue(int32_t(0x80000012));
    v[objects.number("ParentId")] = longValue(0x0F000001);
    v[objects.number("Name")] = Value::text("qryOrders");
    v[objects.number("Type")] = Value::integer(ValueType::Integer, 5);
    v[objects.number("DateCreate")] = dateValue();
    v[objects.number("DateUpdate")] = dateValue();
    v[objects.number("Owner")] = Value::binary("\xc9\x9e");
    v[objects.number("Flags")] = longValue(0);
    auto row = RowEncoder(objects.def, false, db_->file().codePage()).encode(v);
    ASSERT_TRUE(row) << row.status().message();
    const Bytes expected = {0x11, 0x00, 0x12, 0x00, 0x00, 0x80, 0x01, 0x00, 0x00, 0x0f, 0x05, 0x00,
                            0x00, 0x00, 0x00, 0x00, 0x70, 0x9e, 0xe3, 0x40, 0x00, 0x00, 0x00, 0x00,
                            0x70, 0x9e, 0xe3, 0x40, 0x00, 0x00, 0x00, 0x00, 0x71, 0x00, 0x72, 0x00,
                            0x79, 0x00, 0x4f, 0x00, 0x72, 0x00, 0x64, 0x00, 0x65, 0x00, 0x72, 0x00,
                            0x73, 0x00, 0xc9, 0x9e, 0x34, 0x00, 0x34, 0x00, 0x34, 0x00, 0x34, 0x00,
                            0x34, 0x00, 0x34, 0x00, 0x34, 0x00, 0x34, 0x00, 0x34, 0x00, 0x34, 0x00,
                            0x32, 0x00, 0x20, 0x00, 0x0b, 0x00, 0xff, 0x00, 0x00};
    EXPECT_EQ(*row, expected);

    std::map<std::string, Bytes> keys;
    for (const RealIndex& index : objects.layout.indexes) {
        auto key = indexKey(index, objects.def, v, false);
        ASSERT_TRUE(key);
        keys[index.columns.size() == 2 ? "ParentIdName" : "Id"] = *key;
    }
    EXPECT_EQ(keys["ParentIdName"], (Bytes{0x7f, 0x8f, 0x00, 0x00, 0x01, 0x7f, 0x68, 0x69, 0x76,
                                           0x64, 0x69, 0x4f, 0x51, 0x69, 0x6b, 0x01, 0x00}));
    EXPECT_EQ(keys["Id"], (Bytes{0x7f, 0x00, 0x00, 0x00, 0x12}));
}

TEST_F(Jet4Vectors, QueryRowsAndTheirKey) {
    SystemTable queries = table("MSysQueries");
    std::vector<Value> v(queries.def.maxColumns);
    v[queries.number("ObjectId")] = longValue(int32_t(0x80000012));
    v[queries.number("Attribute")] = Value::integer(ValueType::Byte, 0);
    v[queries.number("Order")] = Value::binary(std::string("\0\0\0\1", 4));
    v[queries.number("Flag")] = Value::integer(ValueType::Integer, 0);
    RowEncoder encoder(queries.def, false, db_->file().codePage());
    auto start = encoder.encode(v);
    ASSERT_TRUE(start);
    EXPECT_EQ(*start, (Bytes{0x08, 0x00, 0x12, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00,
                             0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x11, 0x00, 0x11,
                             0x00, 0x11, 0x00, 0x11, 0x00, 0x0d, 0x00, 0x04, 0x00, 0x47}));
    ASSERT_EQ(queries.layout.indexes.size(), 1u);
    auto key = indexKey(queries.layout.indexes[0], queries.def, v, false);
    ASSERT_TRUE(key);
    EXPECT_EQ(*key, (Bytes{0x7f, 0x00, 0x00, 0x00, 0x12, 0x7f, 0x00, 0x7f, 0x00, 0x00, 0x00, 0x01,
                           0x00, 0x00, 0x00, 0x00, 0x04}));

    // A WHERE row with its expression inline (Flag NULL: zeros in its slot).
    v[queries.number("Attribute")] = Value::integer(ValueType::Byte, 8);
    v[queries.number("Flag")] = Value();
    std::string text;
    ASSERT_TRUE(utf8ToUcs2le("Orders.Freight > 10", text));
    std::string field("\x26\x00\x00\x80\0\0\0\0\0\0\0\0", 12);
    v[queries.number("Expression")] = Value::binary(field + text);
    auto where = encoder.encode(v);
    ASSERT_TRUE(where);
    ASSERT_EQ(where->size(), 80u);
    EXPECT_EQ(where->back(), 0x27);
    EXPECT_EQ(Bytes(where->begin() + 17, where->begin() + 29), Bytes(field.begin(), field.end()));
}

}  // namespace
}  // namespace jet::write
