// tablescope-cli: argument rules, the CSV and JSON-lines forms, exit codes.
#include <gtest/gtest.h>

#include <cstdio>

#include "cli_options.h"
#include "row_writer.h"
#include "test_files.h"

namespace {

struct ParseCase {
    std::vector<std::string> args;
    bool ok;
};

TEST(CliOptions, AcceptsTheDocumentedForms) {
    const ParseCase cases[] = {
        {{"tables", "f.mdb"}, true},
        {{"tables", "f.mdb", "-S"}, true},
        {{"queries", "f.mdb"}, true},
        {{"sql", "f.mdb", "Q"}, true},
        {{"schema", "f.mdb"}, true},
        {{"schema", "f.mdb", "T"}, true},
        {{"export", "f.mdb", "T", "--format", "jsonl"}, true},
        {{"--password", "pw", "export", "f.mdb", "T"}, true},
        {{}, false},
        {{"tables"}, false},
        {{"sql", "f.mdb"}, false},
        {{"export", "f.mdb", "T", "--format", "xml"}, false},
        {{"export", "f.mdb", "T", "--format"}, false},
        {{"frobnicate", "f.mdb"}, false},
        {{"queries", "f.mdb", "-S"}, false},
        {{"tables", "f.mdb", "--bogus"}, false},
    };
    for (const ParseCase& c : cases) {
        std::string error;
        const auto o = cli::parseOptions(c.args, error);
        EXPECT_EQ(o.has_value(), c.ok) << testing::PrintToString(c.args) << " " << error;
        if (!c.ok) {
            EXPECT_FALSE(error.empty());
        }
    }
    std::string error;
    const auto o =
        cli::parseOptions({"--password", "pw", "export", "f.mdb", "T", "--format", "jsonl"}, error);
    ASSERT_TRUE(o);
    EXPECT_EQ(o->password, "pw");
    EXPECT_EQ(o->format, cli::ExportFormat::JsonLines);
}

std::string written(cli::ExportFormat format, const std::vector<jet::Value>& row) {
    char* buffer = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&buffer, &size);
    {
        std::vector<std::string> names;
        for (size_t i = 0; i < row.size(); ++i)
            names.push_back(i == 0 ? "a \"b\"" : "c" + std::to_string(i));
        cli::RowWriter writer(out, format, names);
        writer.beginRow();
        for (const jet::Value& v : row)
            writer.value(v.ref());
        writer.endRow();
    }
    std::fclose(out);
    std::string text(buffer, size);
    std::free(buffer);
    return text;
}

std::vector<jet::Value> sampleRow() {
    return {jet::Value::text("x,\"y\"\nz"),
            jet::Value::null(),
            jet::Value::boolean(true),
            jet::Value::integer(jet::ValueType::Long, -5),
            jet::Value::integer(jet::ValueType::Currency, 35000),
            jet::Value::real(jet::ValueType::Double, 0.25),
            jet::Value::real(jet::ValueType::DateTime, -1.25),
            jet::Value::binary(std::string("\x01\xab", 2)),
            jet::Value::decimal(jet::Decimal{0, 12345, 2, 10, true})};
}

TEST(CliRowWriter, CsvFollowsRfc4180) {
    EXPECT_EQ(written(cli::ExportFormat::Csv, sampleRow()),
              "\"a \"\"b\"\"\",c1,c2,c3,c4,c5,c6,c7,c8\r\n"
              "\"x,\"\"y\"\"\nz\",,true,-5,3.5000,0.25,1899-12-29T06:00:00,01ab,-123.45\r\n");
}

TEST(CliRowWriter, JsonLinesKeepFieldOrderAndExactForms) {
    EXPECT_EQ(
        written(cli::ExportFormat::JsonLines, sampleRow()),
        "{\"a \\\"b\\\"\":\"x,\\\"y\\\"\\nz\",\"c1\":null,\"c2\":true,\"c3\":-5,\"c4\":\"3.5000\","
        "\"c5\":0.25,\"c6\":\"1899-12-29T06:00:00\",\"c7\":\"01ab\",\"c8\":\"-123.45\"}\n");
}

struct ExitCase {
    std::string args;
    int code;
};

TEST(CliProgram, ExitCodesAndOneLineMessages) {
    const std::string file = jettest::shellQuote(jettest::testFile("mdb-reader/V2000/test.mdb"));
    const std::string locked =
        jettest::shellQuote(jettest::testFile("mdb-reader/password/V2000_with-password.mdb"));
    const ExitCase cases[] = {
        {"tables " + file, 0},
        {"", 1},
        {"tables", 1},
        {"tables /nonexistent/x.mdb", 2},
        {"tables " + locked, 2},
        {"tables " + locked + " --password password", 0},
        {"export " + file + " NoSuchTable", 3},
        {"sql " + file + " NoSuchQuery", 3},
    };
    for (const ExitCase& c : cases) {
        int rc = 0;
        const std::string err = jettest::runCommand(
            std::string(TABLESCOPE_CLI) + " " + c.args + " 2>&1 >/dev/null", rc);
        EXPECT_EQ(rc, c.code) << c.args;
        if (c.code != 0) {
            EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << c.args << ": " << err;
        }
    }
    int rc = 0;
    const std::string out =
        jettest::runCommand(std::string(TABLESCOPE_CLI) + " tables " + locked, rc);
    EXPECT_TRUE(out.empty());
}

TEST(CliProgram, ExportsEveryRow) {
    const std::string file = jettest::shellQuote(jettest::testFile("mdb-reader/V2000/test.mdb"));
    int rc = 0;
    const std::string csv =
        jettest::runCommand(std::string(TABLESCOPE_CLI) + " export " + file + " Table1", rc);
    EXPECT_EQ(rc, 0);
    EXPECT_TRUE(
        csv.starts_with("A,B,C,D,E,F,G,H,I\r\nabcdefg,hijklmnop,2,222,333333333,444.555,"
                        "1974-09-21T00:00:00,3.5000,true\r\n"))
        << csv;
    const std::string tables =
        jettest::runCommand(std::string(TABLESCOPE_CLI) + " tables " + file, rc);
    EXPECT_EQ(tables, "Table1\nTable2\nTable3\nTable4\n");
}

}  // namespace
