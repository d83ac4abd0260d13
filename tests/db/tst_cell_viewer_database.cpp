// The cell viewer on real Access files: the files of an ACE attachment cell
// are listed with their sizes and saved byte for byte as the engine reads
// them, never over the open database; binary values of a statement's result
// show their size in the sheet and their bytes as hex in the viewer.
#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidgetItem>

#include "app/cell_viewing.h"
#include "browser_window.h"
#include "db/database_tree.h"
#include "jet/database.h"
#include "sheet/grid.h"
#include "test_files.h"
#include "ui/cell_viewer.h"
#include "ui/main_menus.h"

namespace {

const std::string kComplex = "../testdata-modern/V2010/complexDataTestV2010.accdb";
const std::string kShop = std::string(TABLESCOPE_SAMPLES) + "/shop.mdb";

int columnTitled(const sheet::Grid& sheet, const QString& title) {
    for (int c = 0; c < sheet.cols(); ++c) {
        if (sheet.textMatrix(0, c) == title) {
            return c;
        }
    }
    return -1;
}

int rowHolding(const sheet::Grid& sheet, int col, const QString& text) {
    for (int r = 1; r < sheet.rows(); ++r) {
        if (sheet.textMatrix(r, col) == text) {
            return r;
        }
    }
    return -1;
}

// The first attachment of row "row2" of Table1 as the engine reads it.
std::string engineAttachment(const std::string& file) {
    auto database = jet::Database::open(file);
    auto cursor = (*database)->openTable("Table1");
    const auto& columns = (*cursor)->table().columns;
    std::size_t id = 0, attached = 0;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        id = columns[i].name == "id" ? i : id;
        attached = columns[i].name == "attach-data" ? i : attached;
    }
    while ((*cursor)->next()) {
        if ((*cursor)->value(id).data() == "row2") {
            const jet::ComplexCell* cell = (*cursor)->complexCell(attached);
            return *(*database)->attachmentData(cell->attachments.at(0));
        }
    }
    return {};
}

}  // namespace

class CellViewerDatabaseTest : public QObject {
    Q_OBJECT
  private slots:
    void attachmentsAreListedAndSavedAsTheEngineReadsThem();
    void savingOverTheOpenDatabaseIsRefused();
    void binaryValuesOfAStatementShowAsSizeAndHex();

  private:
    // Opens the attachments file, shows Table1 and goes to row2's attachments.
    void showAttachments(BrowserWindow& run);
};

void CellViewerDatabaseTest::showAttachments(BrowserWindow& run) {
    QVERIFY(run.open(testfiles::path(kComplex)));
    for (const QString& key : run.keys()) {
        if (key.startsWith(QLatin1Char('T')) && !key.startsWith(QStringLiteral("TF")) &&
            run.node(key)->text(0) == QStringLiteral("Table1")) {
            run.click(key);
        }
    }
    sheet::Grid& sheet = *run.w().controls().dataSheet;
    const int attached = columnTitled(sheet, QStringLiteral("attach-data"));
    const int row = rowHolding(sheet, columnTitled(sheet, QStringLiteral("id")), "row2");
    QVERIFY(attached >= 0 && row > 0);
    run.w().menus().action(QStringLiteral("mnuCellViewer"))->trigger();
    sheet.goToCell(row, attached);
}

void CellViewerDatabaseTest::attachmentsAreListedAndSavedAsTheEngineReadsThem() {
    BrowserWindow run;
    showAttachments(run);
    const ui::CellViewer& viewer = run.w().cellViewing().viewer();
    QCOMPARE(viewer.page(), ui::CellViewer::Page::Attachments);
    QTableWidget* list = viewer.attachmentList();
    QCOMPARE(list->rowCount(), 2);
    QCOMPARE(list->item(0, 0)->text(), QStringLiteral("test_data.txt"));
    QCOMPARE(list->item(0, 1)->text(), QStringLiteral("38 B"));
    QCOMPARE(list->item(1, 0)->text(), QStringLiteral("test_data2.txt"));
    QCOMPARE(list->item(1, 1)->text(), QStringLiteral("43 B"));
    run.dialogs.texts.enqueue(QStringLiteral("/out/first.txt"));
    QTest::mouseClick(list->findChild<QPushButton*>(QStringLiteral("cmdSaveAttachment(0)")),
                      Qt::LeftButton);
    const QByteArray saved = run.fs.contents(QStringLiteral("/out/first.txt"));
    QCOMPARE(saved.size(), 38);
    QCOMPARE(saved.toStdString(), engineAttachment(testfiles::path(kComplex)));
}

void CellViewerDatabaseTest::savingOverTheOpenDatabaseIsRefused() {
    BrowserWindow run;
    showAttachments(run);
    const int writes = run.fs.writeCount();
    run.dialogs.texts.enqueue(QString::fromStdString(testfiles::path(kComplex)));
    QTest::mouseClick(run.w().cellViewing().viewer().attachmentList()->findChild<QPushButton*>(
                          QStringLiteral("cmdSaveAttachment(1)")),
                      Qt::LeftButton);
    QCOMPARE(run.fs.writeCount(), writes);
    QVERIFY(run.lastMessage().startsWith(QStringLiteral("Save|Unable to save '")));
    QVERIFY(run.lastMessage().endsWith(
        QStringLiteral("It is the open database; choose another name.")));
}

// MSysObjects keeps each object's properties as a binary value that begins
// with "MR2".
void CellViewerDatabaseTest::binaryValuesOfAStatementShowAsSizeAndHex() {
    BrowserWindow run;
    QVERIFY(run.open(kShop));
    run.w().sqlWorkbench().setText(
        QStringLiteral("SELECT Name, LvProp FROM MSysObjects WHERE LvProp IS NOT NULL"));
    run.press("cmdRun");
    sheet::Grid& sheet = *run.w().controls().dataSheet;
    const int col = columnTitled(sheet, QStringLiteral("LvProp"));
    QVERIFY(col >= 0);
    QVERIFY(sheet.rows() > 1);
    QVERIFY(sheet.textMatrix(1, col).startsWith(QStringLiteral("(binary, ")));
    QVERIFY(sheet.textMatrix(1, col).endsWith(QStringLiteral(" B)")));
    run.w().menus().action(QStringLiteral("mnuCellViewer"))->trigger();
    sheet.goToCell(1, col);
    const ui::CellViewer& viewer = run.w().cellViewing().viewer();
    QCOMPARE(viewer.page(), ui::CellViewer::Page::Hex);
    QVERIFY(viewer.hexBox()->toPlainText().startsWith(QStringLiteral("00000000  4D 52 32 00")));
}

QTEST_MAIN(CellViewerDatabaseTest)
#include "tst_cell_viewer_database.moc"
