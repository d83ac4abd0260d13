// The tree's keys, texts and images, and the rules the browser reads from
// keys and names, without a window.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "db/database.h"
#include "db/database_tree.h"
#include "db/tree_images.h"
#include "db/tree_keys.h"
#include "jet/database.h"
#include "test_files.h"

class DatabaseTreeTest : public QObject {
    Q_OBJECT
  private slots:
    void kindOfKey_data();
    void kindOfKey();
    void keysAreBuiltWithoutPadding();
    void fileNodeText_data();
    void fileNodeText();
    void systemTablesByCaseSensitivePrefix_data();
    void systemTablesByCaseSensitivePrefix();
    void buildsNodesInOrderWithImages();
    void fourthNodeIsFirstQueryWithoutTables();
    void imagesDifferPerPosition();
    void unreadableDefinitionIsListedAndMarked();
};

void DatabaseTreeTest::kindOfKey_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("kind");
    using K = db::TreeKeys::Kind;
    QTest::newRow("database") << "N0" << int(K::Branch);
    QTest::newRow("tables") << "N1" << int(K::Branch);
    QTest::newRow("queries") << "N2" << int(K::Branch);
    QTest::newRow("table") << "T6" << int(K::Table);
    QTest::newRow("table field") << "TF6-0" << int(K::Field);
    QTest::newRow("query") << "Q0" << int(K::Query);
    QTest::newRow("query field") << "QF12-3" << int(K::Field);
    QTest::newRow("saved query node") << "QMyQuery" << int(K::Query);
    QTest::newRow("saved query named F") << "QFoo" << int(K::Field);
}

void DatabaseTreeTest::kindOfKey() {
    QFETCH(QString, key);
    QFETCH(int, kind);
    QCOMPARE(int(db::TreeKeys::kindOf(key)), kind);
}

void DatabaseTreeTest::keysAreBuiltWithoutPadding() {
    QCOMPARE(db::TreeKeys::table(6), QStringLiteral("T6"));
    QCOMPARE(db::TreeKeys::tableField(10, 0), QStringLiteral("TF10-0"));
    QCOMPARE(db::TreeKeys::query(0), QStringLiteral("Q0"));
    QCOMPARE(db::TreeKeys::queryField(3, 12), QStringLiteral("QF3-12"));
}

void DatabaseTreeTest::fileNodeText_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("text");
    QTest::newRow("unix") << "/data/sales/orders.mdb"
                          << "orders.mdb";
    QTest::newRow("windows") << "C:\\data\\orders.mdb"
                             << "orders.mdb";
    QTest::newRow("mixed, last wins") << "C:\\data/sub\\x.mdb"
                                      << "x.mdb";
    QTest::newRow("no separator") << "orders.mdb"
                                  << "";
    QTest::newRow("trailing separator") << "/data/"
                                        << "";
}

void DatabaseTreeTest::fileNodeText() {
    QFETCH(QString, path);
    QFETCH(QString, text);
    QCOMPARE(db::DatabaseTree::fileNodeText(path), text);
}

void DatabaseTreeTest::systemTablesByCaseSensitivePrefix_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("skipped");
    QTest::newRow("MSysObjects") << "MSysObjects" << true;
    QTest::newRow("MSys alone") << "MSys" << true;
    QTest::newRow("msysLocal") << "msysLocal" << false;
    QTest::newRow("MSYSX") << "MSYSX" << false;
    QTest::newRow("short") << "MSy" << false;
    QTest::newRow("user table") << "Table1" << false;
}

void DatabaseTreeTest::systemTablesByCaseSensitivePrefix() {
    QFETCH(QString, name);
    QFETCH(bool, skipped);
    QCOMPARE(db::DatabaseTree::isSkipped(name), skipped);
}

void DatabaseTreeTest::buildsNodesInOrderWithImages() {
    auto opened = db::Database::open(testfiles::path("mdb-reader/V2003/test.mdb"), 2);
    QVERIFY(opened.isOk());
    QTreeWidget tree;
    db::DatabaseTree::build(tree, **opened, QStringLiteral("/x/test.mdb"));
    QTreeWidgetItem* root = tree.topLevelItem(0);
    QCOMPARE(tree.topLevelItemCount(), 1);
    QCOMPARE(db::DatabaseTree::key(root), QStringLiteral("N0"));
    QCOMPARE(root->text(0), QStringLiteral("test.mdb"));
    QCOMPARE(db::DatabaseTree::image(root), 1);
    QCOMPARE(root->childCount(), 2);
    QTreeWidgetItem* tables = root->child(0);
    QTreeWidgetItem* queries = root->child(1);
    QCOMPARE(db::DatabaseTree::key(tables), QStringLiteral("N1"));
    QCOMPARE(tables->text(0), QStringLiteral("Tables"));
    QCOMPARE(db::DatabaseTree::image(tables), 2);
    QCOMPARE(db::DatabaseTree::selectedImage(tables), 2);
    QCOMPARE(db::DatabaseTree::key(queries), QStringLiteral("N2"));
    QCOMPARE(queries->text(0), QStringLiteral("Queries"));
    QCOMPARE(db::DatabaseTree::image(queries), 5);
    QCOMPARE(tables->childCount(), 4);
    QTreeWidgetItem* first = tables->child(0);
    QCOMPARE(first->text(0), QStringLiteral("Table1"));
    QCOMPARE(db::DatabaseTree::image(first), 2);
    QCOMPARE(db::DatabaseTree::selectedImage(first), 3);
    QCOMPARE(first->childCount(), 9);
    QCOMPARE(first->child(8)->text(0), QStringLiteral("I"));
    QCOMPARE(db::DatabaseTree::image(first->child(8)), 4);
    QCOMPARE(db::DatabaseTree::selectedImage(first->child(8)), 4);
    QCOMPARE(db::DatabaseTree::fourthNode(tree), first);
    QCOMPARE(db::DatabaseTree::find(tree, db::DatabaseTree::key(first)), first);
    QCOMPARE(db::DatabaseTree::find(tree, QStringLiteral("T99")), nullptr);
}

void DatabaseTreeTest::fourthNodeIsFirstQueryWithoutTables() {
    QTreeWidget tree;
    db::DatabaseTree::add(tree, QString(), QStringLiteral("N0"), QStringLiteral("x.mdb"), 1, 1);
    db::DatabaseTree::add(tree, QStringLiteral("N0"), QStringLiteral("N1"),
                          QStringLiteral("Tables"), 2, 2);
    db::DatabaseTree::add(tree, QStringLiteral("N0"), QStringLiteral("N2"),
                          QStringLiteral("Queries"), 5, 5);
    QCOMPARE(db::DatabaseTree::fourthNode(tree), nullptr);
    QTreeWidgetItem* query = db::DatabaseTree::add(tree, QStringLiteral("N2"), QStringLiteral("Q0"),
                                                   QStringLiteral("Q"), 5, 6);
    QCOMPARE(db::DatabaseTree::fourthNode(tree), query);
    QCOMPARE(db::DatabaseTree::add(tree, QStringLiteral("N9"), QStringLiteral("Q1"),
                                   QStringLiteral("lost"), 5, 6),
             nullptr);
}

void DatabaseTreeTest::imagesDifferPerPosition() {
    const QImage table = db::TreeImages::picture(db::TreeImages::kTable).toImage();
    const QImage selected = db::TreeImages::picture(db::TreeImages::kTableSelected).toImage();
    const QImage query = db::TreeImages::picture(db::TreeImages::kQuery).toImage();
    QVERIFY(table != selected);
    QVERIFY(table != query);
    QCOMPARE(table.size(), QSize(16, 16));
}

// A table whose definition cannot be read is still listed, marked, with the
// reason as its tip; the other tables keep their fields.
void DatabaseTreeTest::unreadableDefinitionIsListedAndMarked() {
    const std::string source = testfiles::path("mdb-reader/V2003/test.mdb");
    auto engine = jet::Database::open(source);
    QVERIFY(engine.isOk());
    const uint32_t tdef = (*engine)->findTable("Table1")->tdefPage;
    QFile in(QString::fromStdString(source));
    QVERIFY(in.open(QIODevice::ReadOnly));
    QByteArray bytes = in.readAll();
    bytes[qsizetype(tdef) * 4096] = 0;  // no longer a definition page
    QTemporaryDir dir;
    const QString damaged = dir.filePath(QStringLiteral("damaged.mdb"));
    QFile out(damaged);
    QVERIFY(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
    out.close();

    auto opened = db::Database::open(damaged.toStdString());
    QVERIFY2(opened.isOk(), opened.isOk() ? "" : opened.status().message().c_str());
    QTreeWidget tree;
    db::DatabaseTree::build(tree, **opened, damaged);
    QTreeWidgetItem* tables = tree.topLevelItem(0)->child(0);
    QCOMPARE(tables->childCount(), 4);
    QTreeWidgetItem* first = tables->child(0);
    QCOMPARE(first->text(0), QStringLiteral("Table1"));
    QCOMPARE(first->childCount(), 0);
    QCOMPARE(first->foreground(0).color(), QColor(Qt::red));
    QVERIFY(first->toolTip(0).startsWith(QStringLiteral("Table 'Table1'")));
    QCOMPARE(tables->child(1)->foreground(0).style(), Qt::NoBrush);
    QVERIFY(tables->child(1)->childCount() > 0);
}

QTEST_MAIN(DatabaseTreeTest)
#include "tst_database_tree.moc"
