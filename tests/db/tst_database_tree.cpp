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
#include "jet/query_writer.h"
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
    void fieldNodesShowTypeAndSize();
    void keyFieldsHaveTheirOwnPictures();
    void relationshipsBranchListsTheFilesRelationships();
    void linkedTableHasItsOwnPicture();
    void hiddenQueriesOnlyWhenAsked();
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
    QTest::newRow("relationships") << "N3" << int(K::Branch);
    QTest::newRow("relationship") << "R12" << int(K::Relationship);
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
    QCOMPARE(root->childCount(), 3);
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
    QCOMPARE(first->child(8)->text(0), QStringLiteral("I  Yes/No"));
    QCOMPARE(db::DatabaseTree::name(first->child(8)), QStringLiteral("I"));
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

namespace {

QStringList childTexts(const QTreeWidgetItem* node) {
    QStringList out;
    for (int i = 0; node && i < node->childCount(); ++i) {
        out.append(node->child(i)->text(0));
    }
    return out;
}

QTreeWidgetItem* tableNode(const QTreeWidget& tree, const QString& name) {
    QTreeWidgetItem* tables = db::DatabaseTree::find(tree, QStringLiteral("N1"));
    for (int i = 0; tables && i < tables->childCount(); ++i) {
        if (tables->child(i)->text(0) == name) {
            return tables->child(i);
        }
    }
    return nullptr;
}

}  // namespace

void DatabaseTreeTest::fieldNodesShowTypeAndSize() {
    auto opened = db::Database::open(testfiles::path("mdb-reader/V2003/test.mdb"), 2);
    QVERIFY(opened.isOk());
    QTreeWidget tree;
    db::DatabaseTree::build(tree, **opened, QStringLiteral("/x/test.mdb"));
    QTreeWidgetItem* table = tableNode(tree, QStringLiteral("Table1"));
    QVERIFY(table);
    QCOMPARE(childTexts(table),
             (QStringList{"A  Text(50)", "B  Text(100)", "C  Byte", "D  Integer", "E  Long Integer",
                          "F  Double", "G  Date/Time", "H  Currency", "I  Yes/No"}));
    QCOMPARE(db::DatabaseTree::name(table->child(0)), QStringLiteral("A"));
    QCOMPARE(db::DatabaseTree::name(table), QStringLiteral("Table1"));

    // Jet 3 sizes are in bytes, AutoNumber and Memo as Access names them.
    auto jet3 = db::Database::open(testfiles::path("jackcess/V1997/queryTestV1997.mdb"), 2);
    QVERIFY(jet3.isOk());
    db::DatabaseTree::build(tree, **jet3, QStringLiteral("/x/q.mdb"));
    const QStringList fields = childTexts(tableNode(tree, QStringLiteral("Table1")));
    QVERIFY2(!fields.isEmpty() && fields.first().contains(QStringLiteral("  ")),
             qPrintable(fields.join(QLatin1Char(','))));

    // ACE: decimal precision and scale, calculated columns with their result.
    auto calculated =
        db::Database::open(testfiles::path("../testdata-modern/V2010/calcFieldTestV2010.accdb"), 2);
    QVERIFY(calculated.isOk());
    db::DatabaseTree::build(tree, **calculated, QStringLiteral("/x/c.accdb"));
    const QStringList calc = childTexts(tableNode(tree, QStringLiteral("Table1")));
    QVERIFY2(calc.contains(QStringLiteral("IsRich  Calculated Yes/No")),
             qPrintable(calc.join(QLatin1Char(','))));
}

namespace {

// "name:image:tool tip" of each field node of `table`.
QStringList fieldMarks(const QTreeWidget& tree, const QString& table) {
    QStringList marks;
    const QTreeWidgetItem* node = tableNode(tree, table);
    for (int j = 0; node && j < node->childCount(); ++j) {
        marks.append(QStringLiteral("%1:%2:%3")
                         .arg(db::DatabaseTree::name(node->child(j)))
                         .arg(db::DatabaseTree::image(node->child(j)))
                         .arg(node->child(j)->toolTip(0)));
    }
    return marks;
}

}  // namespace

void DatabaseTreeTest::keyFieldsHaveTheirOwnPictures() {
    QTreeWidget tree;
    auto opened = db::Database::open(testfiles::path("mdb-reader/V2003/test.mdb"), 2);
    QVERIFY(opened.isOk());
    db::DatabaseTree::build(tree, **opened, QStringLiteral("/x/t.mdb"));
    QCOMPARE(fieldMarks(tree, QStringLiteral("Table1")).mid(0, 3),
             (QStringList{"A:7:Primary key", "B:8:Indexed (Duplicates OK)", "C:4:"}));
    QCOMPARE(tableNode(tree, QStringLiteral("Table3"))->child(0)->text(0),
             QStringLiteral("a  AutoNumber"));
    QVERIFY(childTexts(tableNode(tree, QStringLiteral("Table4")))
                .contains(QStringLiteral("data  AutoNumber(Replication ID)")));

    // Indexes Access makes for relationships mark nothing.
    auto related = db::Database::open(testfiles::path("jackcess/V2000/indexTestV2000.mdb"), 2);
    QVERIFY(related.isOk());
    db::DatabaseTree::build(tree, **related, QStringLiteral("/x/i.mdb"));
    QCOMPARE(
        fieldMarks(tree, QStringLiteral("Table1")),
        (QStringList{"id:7:Primary key", "otherfk1:4:", "otherfk2:4:", "data:4:", "otherfk3:4:"}));

    // Nor do the indexes that tie complex columns to their hidden values.
    auto complex = db::Database::open(
        testfiles::path("../testdata-modern/V2010/complexDataTestV2010.accdb"), 2);
    QVERIFY(complex.isOk());
    db::DatabaseTree::build(tree, **complex, QStringLiteral("/x/c.accdb"));
    const QStringList marks = fieldMarks(tree, QStringLiteral("Table1"));
    QVERIFY(marks.contains(QStringLiteral("id:7:Primary key")));
    QVERIFY2(marks.contains(QStringLiteral("attach-data:4:")), qPrintable(marks.join(',')));
}

void DatabaseTreeTest::relationshipsBranchListsTheFilesRelationships() {
    auto opened = db::Database::open(testfiles::path("jackcess/V2000/indexTestV2000.mdb"), 2);
    QVERIFY(opened.isOk());
    QTreeWidget tree;
    db::DatabaseTree::build(tree, **opened, QStringLiteral("/x/i.mdb"));
    QTreeWidgetItem* branch = db::DatabaseTree::find(tree, QStringLiteral("N3"));
    QVERIFY(branch);
    QCOMPARE(branch->text(0), QStringLiteral("Relationships"));
    QCOMPARE(branch->parent(), tree.topLevelItem(0));
    QCOMPARE(tree.topLevelItem(0)->indexOfChild(branch), 2);
    // Access's relationships between its own system tables are not listed.
    QCOMPARE(childTexts(branch),
             (QStringList{"Table1.otherfk1 -> Table2.id", "Table1.otherfk2 -> Table3.id"}));
    QCOMPARE(branch->child(0)->toolTip(0),
             QStringLiteral("Table2Table1: One-to-many; referential integrity enforced; "
                            "cascade deletes"));
    QCOMPARE(branch->child(1)->toolTip(0),
             QStringLiteral("Table3Table1: One-to-many; referential integrity enforced; "
                            "cascade updates"));
    QCOMPARE(int(db::TreeKeys::kindOf(db::DatabaseTree::key(branch->child(0)))),
             int(db::TreeKeys::Kind::Relationship));
    QCOMPARE(db::DatabaseTree::image(branch->child(0)), db::TreeImages::kRelationship);

    // A file without relationships has the branch, empty.
    auto none = db::Database::open(testfiles::path("mdb-reader/V2003/test.mdb"), 2);
    QVERIFY(none.isOk());
    db::DatabaseTree::build(tree, **none, QStringLiteral("/x/t.mdb"));
    QCOMPARE(db::DatabaseTree::find(tree, QStringLiteral("N3"))->childCount(), 0);
}

void DatabaseTreeTest::linkedTableHasItsOwnPicture() {
    const std::string frontEnd =
        testfiles::copy("../testdata-modern/V2007/linkerTestV2007.accdb", "front.accdb");
    testfiles::copy("../testdata-modern/linkeeTest.accdb", "linkeeTest.accdb");
    auto opened = db::Database::open(frontEnd, 2);
    QVERIFY(opened.isOk());
    QTreeWidget tree;
    db::DatabaseTree::build(tree, **opened, QStringLiteral("/x/front.accdb"));
    QTreeWidgetItem* linked = tableNode(tree, QStringLiteral("Table2"));
    QTreeWidgetItem* local = tableNode(tree, QStringLiteral("Table1"));
    QVERIFY(linked && local);
    QCOMPARE(db::DatabaseTree::image(linked), db::TreeImages::kLinkedTable);
    QCOMPARE(db::DatabaseTree::selectedImage(linked), db::TreeImages::kLinkedTableSelected);
    QCOMPARE(db::DatabaseTree::image(local), db::TreeImages::kTable);
    QCOMPARE(linked->toolTip(0),
             QStringLiteral("Linked table in Z:\\jackcess_test\\linkeeTest.accdb"));
    QVERIFY(linked->icon(0).cacheKey() != local->icon(0).cacheKey());
    const QStringList fields = childTexts(linked);
    QCOMPARE(fields.size(), 2);
    QVERIFY2(fields[1].startsWith(QStringLiteral("Field1  Text(")), qPrintable(fields[1]));
}

void DatabaseTreeTest::hiddenQueriesOnlyWhenAsked() {
    QVERIFY(db::DatabaseTree::isHiddenQuery(QStringLiteral("~sq_fOrders")));
    QVERIFY(db::DatabaseTree::isHiddenQuery(QStringLiteral("~SQ_cList")));
    QVERIFY(!db::DatabaseTree::isHiddenQuery(QStringLiteral("sq_f")));
    QVERIFY(!db::DatabaseTree::isHiddenQuery(QStringLiteral("~TMPCLP1")));
    const std::string file =
        testfiles::copyWithHiddenQuery("jackcess/V2000/queryTestV2000.mdb", "hidden.mdb");
    auto opened = db::Database::open(file, 2);
    QVERIFY(opened.isOk());
    QTreeWidget tree;
    db::DatabaseTree::build(tree, **opened, QStringLiteral("/x/hidden.mdb"));
    QTreeWidgetItem* queries = db::DatabaseTree::find(tree, QStringLiteral("N2"));
    const QStringList shown = childTexts(queries);
    QVERIFY(!shown.contains(QStringLiteral("~sq_fForm1")));
    db::DatabaseTree::build(tree, **opened, QStringLiteral("/x/hidden.mdb"), true);
    queries = db::DatabaseTree::find(tree, QStringLiteral("N2"));
    const QStringList all = childTexts(queries);
    QCOMPARE(all.size(), shown.size() + 1);
    QVERIFY(all.contains(QStringLiteral("~sq_fForm1")));
    // The hidden query keeps its place in the keys when left out.
    const int at = int(all.indexOf(QStringLiteral("~sq_fForm1")));
    const QString key = db::DatabaseTree::key(queries->child(at));
    QVERIFY(at + 1 < all.size());  // "~" sorts before letters: other queries follow
    const QString nextKey = db::DatabaseTree::key(queries->child(at + 1));
    db::DatabaseTree::build(tree, **opened, QStringLiteral("/x/hidden.mdb"));
    QCOMPARE(db::DatabaseTree::find(tree, key), nullptr);
    QCOMPARE(db::DatabaseTree::key(db::DatabaseTree::find(tree, QStringLiteral("N2"))->child(at)),
             nextKey);
}

QTEST_MAIN(DatabaseTreeTest)
#include "tst_database_tree.moc"
