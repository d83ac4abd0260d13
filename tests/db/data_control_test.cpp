// Data1: database, record source, refresh into the bound sink, and a bound
// record set in place of the record source.
#include <gtest/gtest.h>

#include "db/data_control.h"
#include "db/database.h"
#include "jet/query_writer.h"
#include "test_files.h"

namespace {

// Keeps what a refresh handed over.
class RecordingSink : public db::RecordsetSink {
  public:
    Outcome load(jet::Recordset& records, uint64_t expectedRows) override {
        ++loads;
        expected = expectedRows;
        fields.clear();
        rows.clear();
        for (const auto& f : records.fields()) {
            fields.push_back(f.name);
        }
        while (records.next()) {
            rows.push_back(records.text(0));
        }
        return {records.status(), true};
    }

    int loads = 0;
    uint64_t expected = 0;
    std::vector<std::string> fields;
    std::vector<std::string> rows;
};

std::shared_ptr<db::Database> open(const std::string& path) {
    auto opened = db::Database::open(path, 2);
    EXPECT_TRUE(opened.isOk()) << opened.status().message();
    return opened.isOk() ? opened.value() : nullptr;
}

TEST(DataControl, RefreshWithoutDatabaseFailsAndLeavesTheSinkAlone) {
    db::DataControl data;
    RecordingSink sink;
    data.bind(&sink);
    data.setRecordSource("Table1");
    const auto outcome = data.refresh();
    EXPECT_FALSE(outcome.status.isOk());
    EXPECT_FALSE(outcome.replaced);
    EXPECT_EQ(outcome.status.message(), "No database is open.");
    EXPECT_EQ(sink.loads, 0);
    EXPECT_EQ(data.databaseName(), "");
}

TEST(DataControl, TableNameFillsTheSinkWithFieldsAndRows) {
    db::DataControl data;
    RecordingSink sink;
    data.bind(&sink);
    data.setDatabase(open(testfiles::path("mdb-reader/V2003/test.mdb")));
    EXPECT_EQ(data.databaseName(), testfiles::path("mdb-reader/V2003/test.mdb"));
    data.setRecordSource("Table1");
    const auto outcome = data.refresh();
    ASSERT_TRUE(outcome.status.isOk()) << outcome.status.message();
    EXPECT_TRUE(outcome.replaced);
    EXPECT_EQ(sink.fields, (std::vector<std::string>{"A", "B", "C", "D", "E", "F", "G", "H", "I"}));
    EXPECT_EQ(sink.rows, (std::vector<std::string>{"abcdefg", "a"}));
    EXPECT_EQ(sink.expected, 2u);
}

TEST(DataControl, BadSourceReportsTheEngineAndLeavesTheSinkAlone) {
    db::DataControl data;
    RecordingSink sink;
    data.bind(&sink);
    data.setDatabase(open(testfiles::path("mdb-reader/V2003/test.mdb")));
    for (const char* source :
         {"NoSuchTable", "SELECT FROM WHERE", "SELECT Nope FROM Table1", "DELETE FROM Table1"}) {
        data.setRecordSource(source);
        const auto outcome = data.refresh();
        EXPECT_FALSE(outcome.status.isOk()) << source;
        EXPECT_FALSE(outcome.replaced) << source;
        EXPECT_FALSE(outcome.status.message().empty()) << source;
        EXPECT_EQ(data.recordSource(), source);
    }
    EXPECT_EQ(sink.loads, 0);
}

TEST(DataControl, EmptyRecordSourceIsAnError) {
    db::DataControl data;
    RecordingSink sink;
    data.bind(&sink);
    data.setDatabase(open(testfiles::path("mdb-reader/V2003/test.mdb")));
    const auto outcome = data.refresh();
    EXPECT_FALSE(outcome.status.isOk());
    EXPECT_EQ(sink.loads, 0);
}

TEST(DataControl, BoundRecordsetShowsOnceThenTheQueryRunsAgainWithTheSameValues) {
    const std::string file = testfiles::copy("jackcess/V2000/queryTestV2000.mdb", "bound.mdb");
    const jet::Status stored =
        jet::createQueryDef(file, "ByName", "SELECT TOP 1 [Which] AS Echo FROM MSysObjects;");
    ASSERT_TRUE(stored.isOk()) << stored.message();
    auto database = open(file);
    ASSERT_TRUE(database);
    db::DataControl data;
    RecordingSink sink;
    data.bind(&sink);
    data.setDatabase(database);
    auto records = database->openRecordset("ByName", {{"Which", "a"}});
    ASSERT_TRUE(records.isOk()) << records.status().message();
    data.setRecordset(std::move(records).value(), "ByName", {{"Which", "a"}});
    ASSERT_TRUE(data.refresh().status.isOk());
    EXPECT_EQ(sink.rows, (std::vector<std::string>{"a"}));
    ASSERT_TRUE(data.refresh().status.isOk());
    EXPECT_EQ(sink.rows, (std::vector<std::string>{"a"}));
    EXPECT_EQ(sink.loads, 2);
    data.setRecordSource("ByName");  // a plain name again: no values
    EXPECT_FALSE(data.refresh().status.isOk());
}

TEST(DataControl, ClosedDatabaseRefusesToRefresh) {
    db::DataControl data;
    RecordingSink sink;
    data.bind(&sink);
    auto database = open(testfiles::path("mdb-reader/V2003/test.mdb"));
    data.setDatabase(database);
    data.setRecordSource("Table1");
    database->close();
    EXPECT_FALSE(data.refresh().status.isOk());
    EXPECT_EQ(sink.loads, 0);
}

}  // namespace
