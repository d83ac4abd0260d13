// Every file of the modern test data (complex, calculated, extended-date and
// unsupported columns, a linking front-end) opens and each of its local
// tables reads whole: every value, every complex cell, every attachment.
#include <gtest/gtest.h>

#include <filesystem>

#include "jet/database.h"
#include "test_files.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> modernFiles() {
    std::vector<std::string> files;
    const fs::path root = fs::path(TABLESCOPE_TESTDATA) / ".." / "testdata-modern";
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file() && e.path().extension() == ".accdb")
            files.push_back(fs::relative(e.path(), TABLESCOPE_TESTDATA).string());
    std::sort(files.begin(), files.end());
    return files;
}

// Reads every row, value and complex cell; the number of values read.
uint64_t readWhole(const jet::Database& db, const jet::TableDef& t) {
    auto cursor = db.openTable(t);
    EXPECT_TRUE(cursor.isOk()) << t.name << ": " << cursor.status().message();
    if (!cursor)
        return 0;
    jet::TableCursor& c = **cursor;
    uint64_t values = 0;
    while (c.next()) {
        for (size_t i = 0; i < c.columnCount(); ++i, ++values) {
            c.get(i);
            const jet::ComplexCell* cell = c.complexCell(i);
            for (size_t a = 0; cell && a < cell->attachments.size(); ++a) {
                auto data = db.attachmentData(cell->attachments[a]);
                EXPECT_TRUE(data.isOk()) << t.name << ": " << data.status().message();
            }
        }
    }
    EXPECT_TRUE(c.status().isOk()) << t.name << ": " << c.status().message();
    return values;
}

TEST(ModernFiles, EveryLocalTableReadsWhole) {
    const std::vector<std::string> files = modernFiles();
    EXPECT_GE(files.size(), 6u);
    for (const std::string& rel : files) {
        SCOPED_TRACE(rel);
        auto db = jet::Database::open(jettest::testFile(rel));
        ASSERT_TRUE(db.isOk()) << db.status().message();
        uint64_t values = 0;
        for (const jet::TableDef& t : (*db)->tables())
            if (!t.isLinked())
                values += readWhole(**db, t);
        EXPECT_GT(values, 0u);
    }
}

}  // namespace
