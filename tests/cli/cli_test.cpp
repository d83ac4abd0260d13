// tablescope-cli: argument rules, the CSV and JSON-lines forms, exit codes.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "cli_options.h"
#include "csv_options.h"
#include "row_writer.h"
#include "test_files.h"

namespace {

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

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

std::string written(cli::ExportFormat format, const std::vector<jet::Value>& row,
                    const cli::CsvOptions& csv = {}) {
    char* buffer = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&buffer, &size);
    {
        std::vector<std::string> names;
        for (size_t i = 0; i < row.size(); ++i)
            names.push_back(i == 0 ? "a \"b\"" : "c" + std::to_string(i));
        cli::RowWriter writer(out, format, names, csv);
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

struct CsvCase {
    const char* what;
    cli::CsvOptions options;
    std::vector<jet::Value> row;
    std::string expected;
};

TEST(CliRowWriter, CsvOptions) {
    const jet::Value date =
        jet::Value::real(jet::ValueType::DateTime, 45000.75);  // 2023-03-15 18:00
    const jet::Value text = jet::Value::text("a;b");
    const CsvCase cases[] = {
        {"semicolon quotes fields holding it, not commas",
         {.delimiter = ';'},
         {text, jet::Value::text("x,y")},
         "\"a \"\"b\"\"\";c1\r\n\"a;b\";x,y\r\n"},
        {"tab",
         {.delimiter = '\t'},
         {text, jet::Value::null()},
         "\"a \"\"b\"\"\"\tc1\r\na;b\t\r\n"},
        {"byte-order mark before the title line",
         {.bom = true},
         {text},
         "\xEF\xBB\xBF\"a \"\"b\"\"\"\r\na;b\r\n"},
        {"Null marker; a text equal to it is quoted",
         {.nullText = "NULL", .header = false},
         {jet::Value::null(), jet::Value::text("NULL"), jet::Value::text("")},
         "NULL,\"NULL\",\r\n"},
        {"date format",
         {.dateFormat = "%d/%m/%Y %H:%M", .header = false},
         {date},
         "15/03/2023 18:00\r\n"},
        {"weekday and day of year",
         {.dateFormat = "%a %j", .header = false},
         {date},
         "Wed 074\r\n"},
        {"a formatted date holding the delimiter is quoted",
         {.dateFormat = "%d,%m", .header = false},
         {date},
         "\"15,03\"\r\n"},
        {"no title line", {.header = false}, {date}, "2023-03-15T18:00:00\r\n"},
        {"a delimiter met in a plain number",
         {.delimiter = '.', .header = false},
         {jet::Value::real(jet::ValueType::Double, 0.25)},
         "\"0.25\"\r\n"},
    };
    for (const CsvCase& c : cases)
        EXPECT_EQ(written(cli::ExportFormat::Csv, c.row, c.options), c.expected) << c.what;
}

TEST(CliOptions, CsvOptionsAndTheirErrors) {
    struct Case {
        std::vector<std::string> args;
        bool ok;
    };
    const Case cases[] = {
        {{"export", "f.mdb", "T", "--delimiter", ";", "--bom", "--null", "", "--no-header"}, true},
        {{"export", "f.mdb", "T", "--delimiter", "tab", "--date-format", "%Y"}, true},
        {{"export", "f.mdb", "T", "--delimiter", "ab"}, false},
        {{"export", "f.mdb", "T", "--delimiter", "\""}, false},
        {{"export", "f.mdb", "T", "--delimiter"}, false},
        {{"export", "f.mdb", "T", "--date-format", "dd/mm/yyyy"}, false},
        {{"export", "f.mdb", "T", "--format", "jsonl", "--bom"}, false},
        {{"tables", "f.mdb", "--no-header"}, false},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(cli::parseOptions(c.args, error).has_value(), c.ok)
            << testing::PrintToString(c.args) << " " << error;
    }
    std::string error;
    const auto o = cli::parseOptions({"export", "f.mdb", "T", "--delimiter", "tab", "--null", "-",
                                      "--date-format", "iso", "--no-header", "--bom"},
                                     error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->csv.delimiter, '\t');
    EXPECT_EQ(o->csv.nullText, "-");
    EXPECT_TRUE(o->csv.dateFormat.empty());
    EXPECT_FALSE(o->csv.header);
    EXPECT_TRUE(o->csv.bom);
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

// save-query aborted (exit 134, an uncaught std::out_of_range) on a Text
// parameter size beyond int; now it refuses and leaves the file as it was.
TEST(CliProgram, SaveQueryWithOversizedTextParameterRefusesInsteadOfAborting) {
    const std::string dir = jettest::makeTempDir();
    const std::string copy = dir + "/copy.mdb";
    std::filesystem::copy_file(jettest::testFile("mdb-reader/V2000/test.mdb"), copy);
    const auto before = fileBytes(copy);
    int rc = 0;
    const std::string err = jettest::runCommand(
        std::string(TABLESCOPE_CLI) + " save-query " + jettest::shellQuote(copy) +
            " Q1 'PARAMETERS [x] Text(99999999999); SELECT [x] AS A;' 2>&1 >/dev/null",
        rc);
    EXPECT_EQ(rc, 4) << err;
    EXPECT_NE(err.find("Syntax error in PARAMETER clause"), std::string::npos) << err;
    EXPECT_EQ(fileBytes(copy), before);
    std::filesystem::remove_all(dir);
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

// The CSV options reach both the table export and run.
TEST(CliProgram, CsvOptionsOnExportAndRun) {
    const std::string cli = std::string(TABLESCOPE_CLI) + " ";
    const std::string file = jettest::shellQuote(jettest::testFile("mdb-reader/V2000/test.mdb"));
    const std::string options = " --delimiter ';' --no-header --date-format '%d.%m.%Y'";
    int rc = 0;
    const std::string table = jettest::runCommand(cli + "export " + file + " Table1" + options, rc);
    EXPECT_EQ(rc, 0);
    EXPECT_TRUE(
        table.starts_with("abcdefg;hijklmnop;2;222;333333333;444.555;21.09.1974;3.5000;true\r\n"))
        << table;
    const std::string run = jettest::runCommand(
        cli + "run " + file + " 'SELECT A, Null AS N FROM Table1' --null NULL --bom", rc);
    EXPECT_EQ(rc, 0);
    EXPECT_TRUE(
        run.starts_with("\xEF\xBB\xBF"
                        "A,N\r\nabcdefg,NULL\r\n"))
        << run;
    jettest::runCommand(cli + "run " + file + " 'SELECT A FROM Table1' --format jsonl --bom 2>&1",
                        rc);
    EXPECT_EQ(rc, 1);
}

}  // namespace
