// ACE complex columns: attachments, multi-value lists and version history
// read through their hidden value tables; attachment data unwrapped and
// inflated under a cap; the CLI's JSON forms and attachment extraction.
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>

#include "complex/attachment_data.h"
#include "jet/database.h"
#include "jet/sql_session.h"
#include "jet/sql_value_text.h"
#include "test_files.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kComplexFile = "../testdata-modern/V2010/complexDataTestV2010.accdb";

std::unique_ptr<jet::Database> open(const std::string& rel) {
    auto db = jet::Database::open(jettest::testFile(rel));
    EXPECT_TRUE(db.isOk()) << rel << ": " << db.status().message();
    return db ? std::move(db.value()) : nullptr;
}

struct TableRead {
    std::vector<std::vector<jet::Value>> rows;
    std::vector<std::vector<const jet::ComplexCell*>> cells;
};

TableRead readTable(const jet::Database& db, const std::string& table) {
    TableRead read;
    auto cursor = db.openTable(table);
    EXPECT_TRUE(cursor.isOk()) << cursor.status().message();
    if (!cursor)
        return read;
    jet::TableCursor& c = **cursor;
    while (c.next()) {
        read.rows.emplace_back();
        read.cells.emplace_back();
        for (size_t i = 0; i < c.columnCount(); ++i) {
            read.rows.back().push_back(c.value(i));
            read.cells.back().push_back(c.complexCell(i));
        }
    }
    EXPECT_TRUE(c.status().isOk()) << c.status().message();
    return read;
}

std::string text(const jet::Value& v) {
    return v.isNull() ? "<null>" : v.data();
}

// Access's datasheet: attachments' names joined by "; ", multi-values by
// ", ", an append-only memo's history as its newest text; no values: Null.
TEST(ComplexColumns, CellsShowTheJoinedTextAccessShows) {
    auto db = open(kComplexFile);
    ASSERT_TRUE(db);
    const TableRead read = readTable(*db, "Table1");
    ASSERT_EQ(read.rows.size(), 4u);
    const std::vector<std::vector<std::string>> expected = {
        {"row1", "<null>", "<null>", "<null>", "<null>", "<null>"},
        {"row2", "row2-memo", "row2-memo", "row2-memo", "value1, value4",
         "test_data.txt; test_data2.txt"},
        {"row3", "row3-memo-again", "row3-memo", "row3-memo-again",
         "value1, value2, value3, value4", "<null>"},
        {"row4", "row4-memo", "row4-memo", "row4-memo", "<null>", "test_data2.txt"},
    };
    for (size_t r = 0; r < read.rows.size(); ++r) {
        std::vector<std::string> got;
        for (const jet::Value& v : read.rows[r])
            got.push_back(text(v));
        EXPECT_EQ(got, expected[r]) << "row " << r + 1;
    }
}

TEST(ComplexColumns, CellsCarryKindsValuesAndAttachmentFields) {
    auto db = open(kComplexFile);
    ASSERT_TRUE(db);
    const TableRead read = readTable(*db, "Table1");
    ASSERT_EQ(read.cells.size(), 4u);
    EXPECT_EQ(read.cells[0][5], nullptr);  // no attachments
    EXPECT_EQ(read.cells[0][2], nullptr);  // not a complex column
    const jet::ComplexCell* history = read.cells[2][1];
    const jet::ComplexCell* list = read.cells[2][4];
    const jet::ComplexCell* files = read.cells[1][5];
    ASSERT_TRUE(history && list && files);
    EXPECT_EQ(history->kind, jet::ComplexKind::VersionHistory);
    ASSERT_EQ(history->values.size(), 3u);  // row3's three versions, oldest first
    EXPECT_EQ(history->values[0].data(), "row3-memo");
    EXPECT_EQ(history->values[1].data(), "row3-memo-revised");
    EXPECT_EQ(list->kind, jet::ComplexKind::MultiValue);
    ASSERT_EQ(list->values.size(), 4u);
    EXPECT_EQ(list->values[0].type(), jet::ValueType::Text);
    EXPECT_EQ(files->kind, jet::ComplexKind::Attachment);
    ASSERT_EQ(files->attachments.size(), 2u);
    const jet::Attachment& a = files->attachments[0];
    EXPECT_EQ(a.name, "test_data.txt");
    EXPECT_EQ(a.type, "txt");
    EXPECT_EQ(a.url, "");
    EXPECT_TRUE(a.timeStamp.isNull());
    EXPECT_TRUE(a.flags.isNull());
    auto data = db->attachmentData(a);
    ASSERT_TRUE(data.isOk()) << data.status().message();
    EXPECT_EQ(*data, "this is some test data for attachment.");
    auto size = db->attachmentSize(files->attachments[1]);
    ASSERT_TRUE(size.isOk()) << size.status().message();
    EXPECT_EQ(*size, 43u);
    EXPECT_EQ(*db->attachmentData(files->attachments[1]),
              "this is some more test data for attachment.");
}

// A multi-value list over a type no reader knows gives one clear value per
// entry, never the raw key.
TEST(ComplexColumns, UnknownValueTypeReadsAsBinaryPerValue) {
    auto db = open("../testdata-modern/V2007/unsupportedFieldsTestV2007.accdb");
    ASSERT_TRUE(db);
    const TableRead read = readTable(*db, "Test");
    ASSERT_EQ(read.rows.size(), 3u);
    ASSERT_TRUE(read.cells[1][3]);
    EXPECT_EQ(read.cells[1][3]->values.size(), 2u);
    EXPECT_EQ(read.rows[1][3].data(), "Long binary data, Long binary data");
    EXPECT_TRUE(read.rows[2][3].isNull());
}

std::string le32(uint32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
}

// Access's stored form: wrapper (kind, content length), then the content:
// header length, a flag, the extension's length, the extension, the file.
std::string storedForm(const std::string& file, bool compress, uint32_t declared = 0) {
    const std::string ext("t\0x\0t\0\0\0", 8);
    const std::string content = le32(12 + ext.size()) + le32(1) + le32(4) + ext + file;
    std::string body = content;
    if (compress) {
        uLongf size = compressBound(content.size());
        body.assign(size, '\0');
        compress2(reinterpret_cast<Bytef*>(body.data()), &size,
                  reinterpret_cast<const Bytef*>(content.data()), content.size(), 6);
        body.resize(size);
    }
    return le32(compress ? 1 : 0) +
           le32(declared ? declared : static_cast<uint32_t>(content.size())) + body;
}

TEST(AttachmentData, RawAndCompressedDecodeByteExact) {
    std::string file;
    for (int i = 0; i < 5000; ++i)
        file += static_cast<char>(i * 7);
    for (bool compress : {false, true}) {
        const std::string stored = storedForm(file, compress);
        auto data = jet::decodeAttachmentData(stored);
        ASSERT_TRUE(data.isOk()) << data.status().message();
        EXPECT_EQ(*data, file);
        auto size = jet::attachmentDataSize(stored);
        ASSERT_TRUE(size.isOk()) << size.status().message();
        EXPECT_EQ(*size, file.size());
    }
}

TEST(AttachmentData, BadInputIsRefusedWithAClearError) {
    const std::string file(100000, 'a');
    const std::string good = storedForm(file, true);
    struct Case {
        const char* what;
        std::string stored;
        jet::ErrorCode code;
        const char* message;
    };
    const Case cases[] = {
        {"too short", "\x01\x00", jet::ErrorCode::Corrupt, "too short"},
        {"unknown kind", le32(7) + le32(10) + "xxxxxxxxxx", jet::ErrorCode::Corrupt,
         "unknown kind"},
        // Compresses to a few hundred bytes but says it holds 1000: an
        // inflation bomb is stopped at its declared length.
        {"inflates past", storedForm(file, true, 1000), jet::ErrorCode::Corrupt,
         "inflates past its declared length"},
        {"gigabytes", le32(1) + le32(0xF0000000u) + good.substr(8), jet::ErrorCode::Unsupported,
         "more than the 256 MB"},
        {"damaged stream", good.substr(0, 8) + std::string(64, '\x55'), jet::ErrorCode::Corrupt,
         "damaged"},
        {"cut short", good.substr(0, good.size() / 2), jet::ErrorCode::Corrupt, ""},
        {"header length", le32(0) + le32(20) + le32(5000) + std::string(16, 'x'),
         jet::ErrorCode::Corrupt, "header length"},
    };
    for (const Case& c : cases) {
        auto data = jet::decodeAttachmentData(c.stored);
        ASSERT_FALSE(data.isOk()) << c.what;
        EXPECT_EQ(data.status().code(), c.code) << c.what;
        EXPECT_NE(data.status().message().find(c.message), std::string::npos)
            << c.what << ": " << data.status().message();
    }
}

// Rows of an SQL statement as display texts ("<null>" for Null).
std::vector<std::vector<std::string>> sqlRows(const jet::Database& db, const std::string& sql) {
    std::vector<std::vector<std::string>> rows;
    auto session = jet::SqlSession::open(db);
    EXPECT_TRUE(session.isOk());
    if (!session)
        return rows;
    auto rs = (*session)->openRecordset(sql);
    EXPECT_TRUE(rs.isOk()) << sql << ": " << rs.status().message();
    if (!rs)
        return rows;
    while ((*rs)->next()) {
        rows.emplace_back();
        for (size_t i = 0; i < (*rs)->fields().size(); ++i) {
            const jet::Value& v = (*rs)->value(i);
            rows.back().push_back(v.isNull() ? "<null>" : jet::displayText(v));
        }
    }
    EXPECT_TRUE((*rs)->status().isOk()) << (*rs)->status().message();
    return rows;
}

using Rows = std::vector<std::vector<std::string>>;

// Subfields flatten as Access does: a row per attachment or value, and one
// row with Null subfields for a row that has none.
TEST(ComplexColumnsSql, SubfieldsFlattenTheRows) {
    auto db = open(kComplexFile);
    ASSERT_TRUE(db);
    EXPECT_EQ(sqlRows(*db,
                      "SELECT id, [attach-data].FileName, Table1.[attach-data].FileType "
                      "FROM Table1"),
              (Rows{{"row1", "<null>", "<null>"},
                    {"row2", "test_data.txt", "txt"},
                    {"row2", "test_data2.txt", "txt"},
                    {"row3", "<null>", "<null>"},
                    {"row4", "test_data2.txt", "txt"}}));
    EXPECT_EQ(sqlRows(*db,
                      "SELECT T.[multi-value-data].Value FROM Table1 AS T WHERE T.id = 'row3' "
                      "ORDER BY 1 DESC"),
              (Rows{{"value4"}, {"value3"}, {"value2"}, {"value1"}}));
    auto session = jet::SqlSession::open(*db);
    ASSERT_TRUE(session.isOk());
    auto rs = (*session)->openRecordset(
        "SELECT Table1.[attach-data].FileData, [attach-data].FileURL FROM Table1 "
        "WHERE [attach-data].FileName = 'test_data.txt'");
    ASSERT_TRUE(rs.isOk()) << rs.status().message();
    ASSERT_TRUE((*rs)->next());
    EXPECT_EQ((*rs)->value(0).data(), "this is some test data for attachment.");
    EXPECT_TRUE((*rs)->value(1).isNull());
    EXPECT_FALSE((*rs)->next());
}

TEST(ComplexColumnsSql, BareColumnGivesTheJoinedTextAndRowsStayWhole) {
    auto db = open(kComplexFile);
    ASSERT_TRUE(db);
    EXPECT_EQ(sqlRows(*db,
                      "SELECT id, [attach-data], [multi-value-data] FROM Table1 "
                      "WHERE id IN ('row2', 'row3')"),
              (Rows{{"row2", "test_data.txt; test_data2.txt", "value1, value4"},
                    {"row3", "<null>", "value1, value2, value3, value4"}}));
    EXPECT_EQ(sqlRows(*db, "SELECT Count(*) FROM Table1"), (Rows{{"4"}}));
    const Rows all = sqlRows(*db, "SELECT * FROM Table1");
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0].size(), 6u);
}

std::string runCli(const std::string& arguments, int& exitCode) {
    return jettest::runCommand(std::string(TABLESCOPE_CLI) + " " + arguments + " 2>&1", exitCode);
}

TEST(ComplexColumnsCli, JsonLinesGiveArraysCsvTheJoinedText) {
    const std::string file = jettest::shellQuote(jettest::testFile(kComplexFile));
    int code = 0;
    const std::string jsonl = runCli("export " + file + " Table1 --format jsonl", code);
    ASSERT_EQ(code, 0) << jsonl;
    EXPECT_NE(jsonl.find("\"multi-value-data\":[\"value1\",\"value4\"],\"attach-data\":[{\"name\":"
                         "\"test_data.txt\",\"type\":\"txt\",\"size\":38},{\"name\":\"test_data2."
                         "txt\",\"type\":\"txt\",\"size\":43}]}"),
              std::string::npos)
        << jsonl;
    EXPECT_NE(jsonl.find("\"VersionHistory_F5F8918F-0A3F-4DA9-AE71-184EE5012880\":\"row3-memo-"
                         "again\""),
              std::string::npos);
    const std::string csv = runCli("export " + file + " Table1", code);
    ASSERT_EQ(code, 0) << csv;
    EXPECT_NE(csv.find("row2,row2-memo,row2-memo,row2-memo,\"value1, value4\",test_data.txt; "
                       "test_data2.txt\r\n"),
              std::string::npos)
        << csv;
}

TEST(ComplexColumnsCli, AttachmentsListAndExtractWithoutOverwriting) {
    const std::string file = jettest::shellQuote(jettest::testFile(kComplexFile));
    int code = 0;
    const std::string list = runCli("attachments " + file + " Table1", code);
    ASSERT_EQ(code, 0) << list;
    EXPECT_EQ(list,
              "row2\tattach-data\ttest_data.txt\ttxt\t38\n"
              "row2\tattach-data\ttest_data2.txt\ttxt\t43\n"
              "row4\tattach-data\ttest_data2.txt\ttxt\t43\n");
    const std::string dir = jettest::makeTempDir() + "/out";
    const std::string extracted = runCli("attachments " + file + " Table1 --out " + dir, code);
    ASSERT_EQ(code, 0) << extracted;
    std::ifstream clash(dir + "/test_data2 (2).txt", std::ios::binary);
    const std::string second((std::istreambuf_iterator<char>(clash)), {});
    EXPECT_EQ(second, "this is some more test data for attachment.");
    EXPECT_EQ(fs::file_size(dir + "/test_data.txt"), 38u);
    std::ofstream(dir + "/test_data.txt") << "keep";
    const std::string refused = runCli("attachments " + file + " Table1 --out " + dir, code);
    EXPECT_EQ(code, 3);
    EXPECT_NE(refused.find("exists (use --force to replace it)"), std::string::npos) << refused;
    EXPECT_EQ(fs::file_size(dir + "/test_data.txt"), 4u);
    runCli("attachments " + file + " Table1 --out " + dir + " --force", code);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(fs::file_size(dir + "/test_data.txt"), 38u);
}

}  // namespace
