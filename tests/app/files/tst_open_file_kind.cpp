// The kind of a file by the end of its name, for Open and for Save As, and
// the dialog filters in the form Qt's file dialog reads.
#include <QDir>
#include <QTest>

#include "app/open_file_kind.h"

using app::OpenFileKind;

class OpenFileKindTest : public QObject {
    Q_OBJECT

  private slots:
    void kindByNameEnd_data();
    void kindByNameEnd();
    void saveRefusesDatabaseNames();
    void accdbFilesHiddenByFirstFilter();
    void filtersInQtForm();
};

void OpenFileKindTest::kindByNameEnd_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("openFileType");
    QTest::newRow(".mdb") << "/d/shop.mdb" << int(OpenFileKind::Database) << 1;
    QTest::newRow(".MDB") << "/d/SHOP.MDB" << int(OpenFileKind::Database) << 1;
    QTest::newRow(".Mdb") << "/d/shop.Mdb" << int(OpenFileKind::Database) << 1;
    QTest::newRow("mdb without dot") << "/d/shopmdb" << int(OpenFileKind::Database) << 1;
    QTest::newRow(".accdb") << "/d/shop.accdb" << int(OpenFileKind::Database) << 1;
    QTest::newRow(".ACCDB") << "/d/SHOP.ACCDB" << int(OpenFileKind::Database) << 1;
    QTest::newRow(".prs") << "/d/report.prs" << int(OpenFileKind::GridFile) << 2;
    QTest::newRow("prs without dot") << "/d/reportprs" << int(OpenFileKind::GridFile) << 2;
    QTest::newRow(".csv") << "/d/a.CSV" << int(OpenFileKind::CommaText) << 3;
    QTest::newRow(".txt") << "/d/a.txt" << int(OpenFileKind::TabText) << 4;
    QTest::newRow(".doc") << "/d/a.doc" << int(OpenFileKind::NotRecognised) << 0;
    QTest::newRow("short") << "db" << int(OpenFileKind::NotRecognised) << 0;
    QTest::newRow("empty") << "" << int(OpenFileKind::NotRecognised) << 0;
    QTest::newRow(".ccdb") << "/d/a.ccdb" << int(OpenFileKind::NotRecognised) << 0;
}

void OpenFileKindTest::kindByNameEnd() {
    QFETCH(QString, name);
    QFETCH(int, kind);
    QFETCH(int, openFileType);
    QCOMPARE(int(OpenFileKind::of(name)), kind);
    QCOMPARE(int(OpenFileKind::openFileType(OpenFileKind::of(name))), openFileType);
}

void OpenFileKindTest::saveRefusesDatabaseNames() {
    QCOMPARE(OpenFileKind::forSave(QStringLiteral("x.mdb")), OpenFileKind::NotRecognised);
    QCOMPARE(OpenFileKind::forSave(QStringLiteral("x.accdb")), OpenFileKind::NotRecognised);
    QCOMPARE(OpenFileKind::forSave(QStringLiteral("xprs")), OpenFileKind::GridFile);
    QCOMPARE(OpenFileKind::forSave(QStringLiteral("x.txt")), OpenFileKind::TabText);
    // Written, never opened.
    QCOMPARE(OpenFileKind::forSave(QStringLiteral("x.JSONL")), OpenFileKind::JsonLines);
    QCOMPARE(OpenFileKind::forSave(QStringLiteral("x.sqlite")), OpenFileKind::SqliteDatabase);
    QCOMPARE(OpenFileKind::of(QStringLiteral("x.sqlite")), OpenFileKind::NotRecognised);
    QCOMPARE(OpenFileKind::of(QStringLiteral("x.jsonl")), OpenFileKind::NotRecognised);
}

// Regression: the first filter listed only *.mdb, so .accdb files stayed
// hidden until the user picked "All Files".
void OpenFileKindTest::accdbFilesHiddenByFirstFilter() {
    const QString first =
        OpenFileKind::qtFilter(QString::fromLatin1(OpenFileKind::kOpenFilter)).section(";;", 0, 0);
    QCOMPARE(first, QStringLiteral("ACCESS Database Files (*.mdb *.accdb)"));
    QVERIFY(QDir::match(QStringLiteral("*.mdb *.accdb"), QStringLiteral("Northwind.accdb")));
}

void OpenFileKindTest::filtersInQtForm() {
    QCOMPARE(
        OpenFileKind::qtFilter(QString::fromLatin1(OpenFileKind::kOpenFilter)),
        QStringLiteral("ACCESS Database Files (*.mdb *.accdb);;Veltrano Pairsheet Files (*.prs);;"
                       "Comma Delimited Text Files (*.csv);;Tab Delimited Text Files "
                       "(*.txt);;All Files (*)"));
    QCOMPARE(OpenFileKind::qtFilter(QString::fromLatin1(OpenFileKind::kSaveFilter)),
             QStringLiteral("Veltrano Pairsheet Files (*.prs);;Comma Delimited Text Files "
                            "(*.csv);;Tab Delimited Text Files (*.txt);;JSON Lines Files "
                            "(*.jsonl);;SQLite Database Files (*.sqlite);;All Files (*)"));
    QCOMPARE(OpenFileKind::qtFilter(QStringLiteral("Pictures|*.png;*.jpg")),
             QStringLiteral("Pictures (*.png *.jpg)"));
}

QTEST_MAIN(OpenFileKindTest)
#include "tst_open_file_kind.moc"
