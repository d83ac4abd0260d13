// Opening files (formats, passwords, bad files) and the catalog: order, flags,
// descriptor order of fields, row counts from the pages, saved queries.
#include "jet/database.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "jet/value_format.h"
#include "test_files.h"

namespace {

namespace fs = std::filesystem;

std::unique_ptr<jet::Database> open(const std::string& rel, const std::string& password = "") {
    const std::string path = jettest::testFile(rel);
    auto db = jet::Database::open(path, password);
    EXPECT_TRUE(db.isOk()) << rel << ": " << db.status().message();
    return db ? std::move(db.value()) : nullptr;
}

std::vector<std::string> tableNames(const jet::Database& db) {
    std::vector<std::string> names;
    for (const jet::TableDef& t : db.tables())
        names.push_back(t.name);
    return names;
}

TEST(DatabaseOpen, FormatsAndPageSizes) {
    struct Case {
        const char* file;
        jet::FileFormat format;
        uint32_t pageSize;
    };
    const Case cases[] = {
        {"mdb-reader/V1997/test.mdb", jet::FileFormat::Jet3, 2048},
        {"mdb-reader/V2000/test.mdb", jet::FileFormat::Jet4, 4096},
        {"mdb-reader/V2003/test.mdb", jet::FileFormat::Jet4, 4096},
        {"mdb-reader/V2007/test.accdb", jet::FileFormat::Ace, 4096},
        {"mdb-reader/V2016/bigint.accdb", jet::FileFormat::Ace, 4096},
    };
    for (const Case& c : cases) {
        auto db = open(c.file);
        ASSERT_TRUE(db) << c.file;
        EXPECT_EQ(db->format(), c.format) << c.file;
        EXPECT_EQ(db->pageSize(), c.pageSize) << c.file;
        EXPECT_EQ(db->codePage(), 1252) << c.file;
        EXPECT_FALSE(db->hasPassword()) << c.file;
    }
}

TEST(DatabaseOpen, Passwords) {
    struct Case {
        const char* file;
        const char* password;
        jet::ErrorCode expected;
    };
    const Case cases[] = {
        {"mdb-reader/password/V2000_with-password.mdb", "", jet::ErrorCode::BadPassword},
        {"mdb-reader/password/V2000_with-password.mdb", "Password", jet::ErrorCode::BadPassword},
        {"mdb-reader/password/V2000_with-password.mdb", "password", jet::ErrorCode::Ok},
        {"mdb-reader/password/V2003_with-password.mdb", "wrong", jet::ErrorCode::BadPassword},
        {"mdb-reader/password/V2003_with-password.mdb", "password", jet::ErrorCode::Ok},
        {"mdb-reader/password/V2010_with-password.accdb", "", jet::ErrorCode::BadPassword},
        {"mdb-reader/password/V2010_with-password.accdb", "password", jet::ErrorCode::Ok},
        {"mdb-reader/password/V1997_no-password.mdb", "anything", jet::ErrorCode::Ok},
    };
    for (const Case& c : cases) {
        auto db = jet::Database::open(jettest::testFile(c.file), c.password);
        EXPECT_EQ(db.status().code(), c.expected) << c.file << " with '" << c.password << "'";
        if (c.expected == jet::ErrorCode::BadPassword) {
            EXPECT_EQ(db.status().message(), "Not a valid password.");
        }
        if (db && std::string(c.file).ends_with(".mdb") && *c.password) {
            EXPECT_EQ((*db)->hasPassword(), std::string(c.file).find("with-") != std::string::npos);
        }
    }
}

TEST(DatabaseOpen, BadFilesGiveClearErrors) {
    const std::string dir = jettest::makeTempDir();
    ASSERT_FALSE(dir.empty());
    const std::string text = dir + "/notes.mdb";
    std::ofstream(text) << std::string(5000, 'x');
    auto r = jet::Database::open(text);
    EXPECT_EQ(r.status().code(), jet::ErrorCode::Unrecognized);
    EXPECT_EQ(r.status().message(), "Unrecognized database format 'notes.mdb'.");

    auto missing = jet::Database::open(dir + "/missing.mdb");
    EXPECT_EQ(missing.status().code(), jet::ErrorCode::NotFound);

    // A file cut after its first pages: the catalog cannot be read.
    const std::string cut = dir + "/cut.mdb";
    fs::copy_file(jettest::testFile("mdb-reader/V2000/test.mdb"), cut);
    fs::resize_file(cut, 4096 * 2 + 100);
    auto truncated = jet::Database::open(cut);
    EXPECT_EQ(truncated.status().code(), jet::ErrorCode::Corrupt);
    EXPECT_NE(truncated.status().message().find("page 2"), std::string::npos)
        << truncated.status().message();

    fs::resize_file(cut, 1000);
    EXPECT_EQ(jet::Database::open(cut).status().code(), jet::ErrorCode::Unrecognized);
    fs::remove_all(dir);
}

TEST(DatabaseCatalog, TablesInJetOrderWithSystemFlags) {
    auto db = open("mdb-reader/V1997/test.mdb");
    ASSERT_TRUE(db);
    EXPECT_EQ(tableNames(*db),
              (std::vector<std::string>{"MSysACEs", "MSysModules", "MSysModules2", "MSysObjects",
                                        "MSysQueries", "MSysRelationships", "Table1", "Table2",
                                        "Table3", "Table4"}));
    EXPECT_TRUE(db->findTable("msysobjects")->isSystem());
    EXPECT_FALSE(db->findTable("Table1")->isSystem());
    EXPECT_EQ(db->findTable("nothing"), nullptr);
    EXPECT_EQ(db->openTable("nothing").status().code(), jet::ErrorCode::NotFound);
}

TEST(DatabaseCatalog, FieldsInDescriptorOrder) {
    // Jet 4 stores the engine's own descriptors alphabetically, Jet 3 in
    // creation order; the column numbers follow creation order in both.
    auto jet4 = open("mdb-reader/V2000/test.mdb");
    auto jet3 = open("mdb-reader/V1997/test.mdb");
    ASSERT_TRUE(jet4 && jet3);
    const jet::TableDef* o4 = jet4->findTable("MSysObjects");
    const jet::TableDef* o3 = jet3->findTable("MSysObjects");
    EXPECT_EQ(o4->columns.front().name, "Connect");
    EXPECT_EQ(o4->findColumn("Id")->number, 0);
    EXPECT_EQ(o3->columns.front().name, "Id");
    const jet::TableDef* t = jet4->findTable("Table1");
    std::vector<std::string> names;
    for (const jet::Column& c : t->columns)
        names.push_back(std::string(c.name) + ":" + std::string(c.typeName()));
    EXPECT_EQ(names,
              (std::vector<std::string>{"A:Text", "B:Text", "C:Byte", "D:Integer", "E:Long Integer",
                                        "F:Double", "G:Date/Time", "H:Currency", "I:Yes/No"}));
    EXPECT_EQ(t->findColumn("A")->size(false), 50);
}

TEST(DatabaseCatalog, DeletedColumnsLeaveGaps) {
    auto db = open("jackcess/V2000/delColTestV2000.mdb");
    ASSERT_TRUE(db);
    const jet::TableDef* t = db->findTable("Table1");
    ASSERT_NE(t, nullptr);
    std::vector<int> numbers;
    for (const jet::Column& c : t->columns)
        numbers.push_back(c.number);
    EXPECT_EQ(numbers, (std::vector<int>{0, 2, 3, 5}));
    EXPECT_EQ(t->maxColumns, 6);
    EXPECT_EQ(t->findColumn("id2")->fixedOffset, 8) << "offset 4 belonged to the deleted column";
    EXPECT_EQ(t->findColumn("data2")->varIndex, 2);
}

TEST(DatabaseCatalog, RowCountsComeFromThePagesEverywhere) {
    // Every table of every file: the count agrees with a full scan, and the
    // cursor gives the same rows again after rewind.
    for (const std::string& rel : jettest::allTestFiles()) {
        auto db = open(rel, jettest::passwordFor(rel));
        ASSERT_TRUE(db) << rel;
        for (const jet::TableDef& t : db->tables()) {
            auto count = db->countRows(t);
            ASSERT_TRUE(count.isOk()) << rel << " " << t.name << ": " << count.status().message();
            auto cursor = db->openTable(t);
            ASSERT_TRUE(cursor.isOk());
            uint64_t first = 0, second = 0;
            while ((*cursor)->next())
                ++first;
            (*cursor)->rewind();
            while ((*cursor)->next())
                ++second;
            EXPECT_EQ(first, *count) << rel << " " << t.name;
            EXPECT_EQ(second, *count) << rel << " " << t.name;
        }
    }
}

TEST(DatabaseCatalog, SavedQueriesAreListedAndRebuilt) {
    for (const char* file :
         {"jackcess/V1997/queryTestV1997.mdb", "jackcess/V2000/queryTestV2000.mdb"}) {
        auto db = open(file);
        ASSERT_TRUE(db);
        std::vector<std::string> names;
        for (const jet::QueryDef& q : db->queries()) {
            names.push_back(q.name);
            EXPECT_TRUE(q.status.isOk()) << file << " " << q.name << ": " << q.status.message();
            EXPECT_FALSE(q.info.sql.empty()) << q.name;
        }
        EXPECT_EQ(names,
                  (std::vector<std::string>{"AppendQuery", "CrosstabQuery", "DataDefinitionQuery",
                                            "DeleteQuery", "MakeTableQuery", "PassthroughQuery",
                                            "SelectQuery", "UnionQuery", "UpdateQuery"}))
            << file;
        EXPECT_EQ(db->findQuery("selectquery")->info.kind, jet::QueryKind::Select);
        EXPECT_EQ(db->findQuery("UnionQuery")->info.kind, jet::QueryKind::Union);
        EXPECT_TRUE(db->findQuery("UpdateQuery")
                        ->info.sql.starts_with("PARAMETERS [User Name] Text;\r\nUPDATE "));
    }
}

TEST(DatabaseCatalog, ReloadReadsTheCatalogAgain) {
    auto db = open("mdb-reader/V2003/test.mdb");
    ASSERT_TRUE(db);
    const std::vector<std::string> before = tableNames(*db);
    ASSERT_TRUE(db->reload().isOk());
    EXPECT_EQ(tableNames(*db), before);
}

TEST(DatabaseRows, AccessDatesBeforeAndAfter1900) {
    auto db = open("mdbtestdata/DateTestDatabase.mdb");
    ASSERT_TRUE(db);
    auto cursor = db->openTable("DateTest");
    ASSERT_TRUE(cursor.isOk());
    std::vector<std::string> years;
    while ((*cursor)->next()) {
        for (size_t col = 1; col <= 3; ++col) {
            const jet::ValueRef v = (*cursor)->get(col);
            ASSERT_EQ(v.type, jet::ValueType::DateTime);
            years.push_back(std::to_string(jet::dateTimeParts(v.d).year));
        }
    }
    ASSERT_GE(years.size(), 12u);
    EXPECT_EQ(std::vector<std::string>(years.begin() + 3, years.begin() + 12),
              (std::vector<std::string>{"9999", "9999", "9999", "1898", "1899", "1900", "632",
                                        "633", "634"}));
}

}  // namespace
