// Save As JSON lines and SQLite database in the real main window, headless:
// the files are read back with Qt's JSON reader and with SQLite itself.
// Empty cells come back as null, texts with quotes, line breaks and any
// Unicode as they were, number columns as numbers (codes with a leading zero
// stay text), a database result's dates in ISO form and Yes/No as true/false;
// titles become unique keys and column names; the SQLite table is named
// after the sheet's source; a failed write keeps the old file.
#include <sqlite3.h>

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include "app/sqlite_sheet_file.h"
#include "sheet/grid.h"
#include "ui/main_menus.h"
#include "window_fixture.h"

namespace {

const QString kTestMdb = QStringLiteral(TABLESCOPE_TESTDATA "/mdb-reader/V2003/test.mdb");

// Written files stay in memory; the database is read from the test data.
class TestFileSystem : public app::MemoryFileSystem {
  public:
    bool fileExists(const QString& path) const override {
        return MemoryFileSystem::fileExists(path) || QFileInfo(path).isFile();
    }
};

// Titles (one empty, two alike), then data rows, as a user's sheet holds them.
const QList<QStringList> kSheet{
    {QStringLiteral("Name"), QStringLiteral("Amount"), QString(), QStringLiteral("name"),
     QStringLiteral("Code"), QStringLiteral("Mixed")},
    {QStringLiteral("Say \"hi\""), QStringLiteral("12"), QStringLiteral("x"),
     QStringLiteral("two\nlines"), QStringLiteral("01307"), QStringLiteral("5")},
    {QStringLiteral("Zürich 東京 🙂"), QStringLiteral("-3.25"), QString(),
     QStringLiteral("tab\there"), QStringLiteral("2"), QStringLiteral("five")},
    {QString(), QString(), QStringLiteral("back\\slash"), QStringLiteral("\x01"),
     QStringLiteral("3"), QString()},
};

// One row of an SQLite query, each value as "type:text".
QStringList sqliteRows(const QString& file, const QString& sql) {
    sqlite3* db = nullptr;
    QStringList rows;
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        return {QStringLiteral("cannot open")};
    }
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK) {
        rows << QString::fromUtf8(sqlite3_errmsg(db));
    }
    while (statement && sqlite3_step(statement) == SQLITE_ROW) {
        QStringList values;
        for (int c = 0; c < sqlite3_column_count(statement); ++c) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
            const char* type = sqlite3_column_type(statement, c) == SQLITE_INTEGER ? "integer"
                               : sqlite3_column_type(statement, c) == SQLITE_FLOAT ? "real"
                               : sqlite3_column_type(statement, c) == SQLITE_TEXT  ? "text"
                                                                                   : "null";
            values << QString::fromLatin1(type) + u':' + QString::fromUtf8(text);
        }
        rows << values.join(u'|');
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

}  // namespace

class TypedSaveWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void jsonLinesComeBackWithTheirTypes();
    void databaseResultAsJsonLines();
    void sqliteComesBackWithItsTypes();
    void sqliteTableIsNamedAfterTheSource();
    void tableNamesAreSanitised_data();
    void tableNamesAreSanitised();
    void failedWriteKeepsTheOldFile();

  private:
    app::MainWindow& w() { return run_->window(); }
    void fillUserSheet();
    void saveThroughDialog(const QString& path);
    void openThroughDialog(const QString& path);
    QStringList messages() const;
    // The saved bytes on disk, for SQLite to read.
    QString onDisk(const QString& path);

    QTemporaryDir folder_;
    TestFileSystem* fs_ = nullptr;
    WindowRun* run_ = nullptr;
};

void TypedSaveWindowTest::init() {
    fs_ = new TestFileSystem;
    run_ = new WindowRun(*fs_);
}

void TypedSaveWindowTest::cleanup() {
    delete run_;
    delete fs_;
}

void TypedSaveWindowTest::fillUserSheet() {
    sheet::Grid& fa = *w().controls().dataSheet;
    fa.setRows(int(kSheet.size()));
    fa.setCols(int(kSheet.first().size()));
    for (int r = 0; r < kSheet.size(); ++r) {
        for (int c = 0; c < kSheet[r].size(); ++c) {
            fa.setTextMatrix(r, c, kSheet[r][c]);
        }
    }
}

void TypedSaveWindowTest::saveThroughDialog(const QString& path) {
    run_->dialogs.texts.enqueue(path);
    w().menus().action(QStringLiteral("mnuSaveAs"))->trigger();
}

void TypedSaveWindowTest::openThroughDialog(const QString& path) {
    run_->dialogs.texts.enqueue(path);
    w().menus().action(QStringLiteral("mnuOpen"))->trigger();
}

QStringList TypedSaveWindowTest::messages() const {
    QStringList found;
    for (const auto& asked : run_->dialogs.asked) {
        if (asked.kind == QLatin1String("message")) {
            found << asked.title + QStringLiteral(": ") + asked.text;
        }
    }
    return found;
}

QString TypedSaveWindowTest::onDisk(const QString& path) {
    const QString file = folder_.filePath(QFileInfo(path).fileName());
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(fs_->contents(path)) < 0) {
        return QString();
    }
    return file;
}

void TypedSaveWindowTest::jsonLinesComeBackWithTheirTypes() {
    fillUserSheet();
    saveThroughDialog(QStringLiteral("/out/sheet.jsonl"));
    QVERIFY2(messages().isEmpty(), qPrintable(messages().join(u'\n')));
    const QByteArray bytes = fs_->contents(QStringLiteral("/out/sheet.jsonl"));
    QVERIFY(bytes.endsWith('\n'));
    const QList<QByteArray> lines = bytes.chopped(1).split('\n');
    QCOMPARE(lines.size(), 3);  // one line per data row: line breaks in texts are escaped
    QList<QJsonObject> rows;
    for (const QByteArray& line : lines) {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
        QVERIFY2(doc.isObject(), qPrintable(error.errorString() + u' ' + QString::fromUtf8(line)));
        rows << doc.object();
    }
    // Keys in column order, made unique, the empty title named by its place.
    QVERIFY(lines[0].startsWith("{\"Name\":"));
    QCOMPARE(rows[0].keys(), (QStringList{QStringLiteral("Amount"), QStringLiteral("Code"),
                                          QStringLiteral("Column3"), QStringLiteral("Mixed"),
                                          QStringLiteral("Name"), QStringLiteral("name_2")}));
    QCOMPARE(rows[0][QStringLiteral("Name")].toString(), QStringLiteral("Say \"hi\""));
    QCOMPARE(rows[1][QStringLiteral("Name")].toString(), QStringLiteral("Zürich 東京 🙂"));
    QVERIFY(rows[2][QStringLiteral("Name")].isNull());
    QCOMPARE(rows[0][QStringLiteral("name_2")].toString(), QStringLiteral("two\nlines"));
    QCOMPARE(rows[1][QStringLiteral("name_2")].toString(), QStringLiteral("tab\there"));
    QCOMPARE(rows[2][QStringLiteral("name_2")].toString(), QStringLiteral("\x01"));
    QCOMPARE(rows[2][QStringLiteral("Column3")].toString(), QStringLiteral("back\\slash"));
    QVERIFY(rows[0][QStringLiteral("Amount")].isDouble());
    QCOMPARE(rows[0][QStringLiteral("Amount")].toDouble(), 12.0);
    QCOMPARE(rows[1][QStringLiteral("Amount")].toDouble(), -3.25);
    QVERIFY(rows[2][QStringLiteral("Amount")].isNull());
    // A code with a leading zero keeps it: the column stays text.
    QCOMPARE(rows[0][QStringLiteral("Code")].toString(), QStringLiteral("01307"));
    QCOMPARE(rows[1][QStringLiteral("Code")].toString(), QStringLiteral("2"));
    // A column never mixes numbers and texts.
    QCOMPARE(rows[0][QStringLiteral("Mixed")].toString(), QStringLiteral("5"));
}

void TypedSaveWindowTest::databaseResultAsJsonLines() {
    openThroughDialog(kTestMdb);
    QVERIFY2(messages().isEmpty(), qPrintable(messages().join(u'\n')));
    saveThroughDialog(QStringLiteral("/out/Table1.jsonl"));
    QVERIFY2(messages().isEmpty(), qPrintable(messages().join(u'\n')));
    const QByteArray bytes = fs_->contents(QStringLiteral("/out/Table1.jsonl"));
    const QByteArray first = bytes.left(bytes.indexOf('\n'));
    // Field order, numbers as numbers, the date in ISO form, Yes/No as a
    // Boolean; the flag column is not saved.
    QCOMPARE(first, QByteArray("{\"A\":\"abcdefg\",\"B\":\"hijklmnop\",\"C\":2,\"D\":222,"
                               "\"E\":333333333,\"F\":444.555,\"G\":\"1974-09-21T00:00:00\","
                               "\"H\":3.5,\"I\":true}"));
    QCOMPARE(bytes.count('\n'), w().controls().dataSheet->rows() - 1);
}

void TypedSaveWindowTest::sqliteComesBackWithItsTypes() {
    fillUserSheet();
    saveThroughDialog(QStringLiteral("/out/sheet.sqlite"));
    QVERIFY2(messages().isEmpty(), qPrintable(messages().join(u'\n')));
    const QString file = onDisk(QStringLiteral("/out/sheet.sqlite"));
    QVERIFY(!file.isEmpty());
    // No file was open: the table takes the program's name for a sheet.
    QCOMPARE(sqliteRows(file, QStringLiteral("SELECT name FROM sqlite_master")),
             QStringList{QStringLiteral("text:Sheet")});
    QCOMPARE(sqliteRows(file, QStringLiteral("SELECT name, type FROM pragma_table_info('Sheet')")),
             (QStringList{"text:Name|text:TEXT", "text:Amount|text:REAL", "text:Column3|text:TEXT",
                          "text:name_2|text:TEXT", "text:Code|text:TEXT", "text:Mixed|text:TEXT"}));
    const QStringList rows = sqliteRows(file, QStringLiteral("SELECT * FROM Sheet ORDER BY rowid"));
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0], QStringLiteral("text:Say \"hi\"|real:12.0|text:x|text:two\nlines|text:01307|"
                                     "text:5"));
    QCOMPARE(rows[1],
             QStringLiteral("text:Zürich 東京 🙂|real:-3.25|null:|text:tab\there|text:2|"
                            "text:five"));
    QCOMPARE(rows[2], QStringLiteral("null:|null:|text:back\\slash|text:\x01|text:3|null:"));
}

void TypedSaveWindowTest::sqliteTableIsNamedAfterTheSource() {
    openThroughDialog(kTestMdb);
    QVERIFY2(messages().isEmpty(), qPrintable(messages().join(u'\n')));
    saveThroughDialog(QStringLiteral("/out/t.sqlite"));
    QVERIFY2(messages().isEmpty(), qPrintable(messages().join(u'\n')));
    const QString file = onDisk(QStringLiteral("/out/t.sqlite"));
    QCOMPARE(sqliteRows(file, QStringLiteral("SELECT name, type FROM pragma_table_info('Table1')")),
             (QStringList{"text:A|text:TEXT", "text:B|text:TEXT", "text:C|text:INTEGER",
                          "text:D|text:INTEGER", "text:E|text:INTEGER", "text:F|text:REAL",
                          "text:G|text:DATETIME", "text:H|text:REAL", "text:I|text:BOOLEAN"}));
    const QStringList first = sqliteRows(file, QStringLiteral("SELECT * FROM Table1 LIMIT 1"));
    QCOMPARE(first, QStringList{QStringLiteral("text:abcdefg|text:hijklmnop|integer:2|integer:222|"
                                               "integer:333333333|real:444.555|"
                                               "text:1974-09-21 00:00:00|real:3.5|integer:1")});
    // A text file's sheet is named after the file.
    fs_->putFile(QStringLiteral("/in/Sales 2024-Q1.csv"), "Region,Total\r\nNorth,10\r\n");
    openThroughDialog(QStringLiteral("/in/Sales 2024-Q1.csv"));
    saveThroughDialog(QStringLiteral("/out/sales.sqlite"));
    QVERIFY2(messages().isEmpty(), qPrintable(messages().join(u'\n')));
    const QString sales = onDisk(QStringLiteral("/out/sales.sqlite"));
    QCOMPARE(sqliteRows(sales, QStringLiteral("SELECT * FROM Sales_2024_Q1")),
             QStringList{QStringLiteral("text:North|integer:10")});
}

void TypedSaveWindowTest::tableNamesAreSanitised_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("table");
    QTest::newRow("plain") << "Orders"
                           << "Orders";
    QTest::newRow("spaces and signs") << " Order Details (2024)! "
                                      << "Order_Details_2024";
    QTest::newRow("digit first") << "2024 sales"
                                 << "T_2024_sales";
    QTest::newRow("SQLite's own") << "sqlite_master"
                                  << "T_sqlite_master";
    QTest::newRow("nothing left") << "***"
                                  << "Sheet";
    QTest::newRow("empty") << ""
                           << "Sheet";
    QTest::newRow("quote") << "a\"; DROP TABLE x; --"
                           << "a_DROP_TABLE_x";
}

void TypedSaveWindowTest::tableNamesAreSanitised() {
    QFETCH(QString, source);
    QFETCH(QString, table);
    QCOMPARE(app::SqliteSheetFile::tableName(source), table);
}

void TypedSaveWindowTest::failedWriteKeepsTheOldFile() {
    fillUserSheet();
    fs_->putFile(QStringLiteral("/out/old.sqlite"), "old bytes");
    fs_->failWritesOf(QStringLiteral("/out/old.sqlite"));
    saveThroughDialog(QStringLiteral("/out/old.sqlite"));
    QCOMPARE(messages().size(), 1);
    QVERIFY2(messages()[0].startsWith(QStringLiteral("Save: Unable to save '/out/old.sqlite'.")),
             qPrintable(messages()[0]));
    QCOMPARE(fs_->contents(QStringLiteral("/out/old.sqlite")), QByteArray("old bytes"));
}

QTEST_MAIN(TypedSaveWindowTest)
#include "tst_typed_save_window.moc"
