// Editing in the real main window, driven through the Edit menu and the
// sheet's pop-up entries: the clipboard text of a copied block and of the
// other panes, pasting text from other programs cell for cell, cut, Select
// All, inserting and deleting rows and columns with the size boxes, the form
// view and the analysis commands following, the flag column kept right as
// columns shift, Column Title, Set As Column Header Row and Edit Cell.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>

#include "sheet/grid.h"
#include "sheet_driving.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/size_boxes.h"
#include "ui/status_panels.h"
#include "ui/tab_strip.h"
#include "window_fixture.h"

using sheet::CellSetting;

namespace {

constexpr int kDataRows = 9;
constexpr int kCols = 6;

}  // namespace

class FrmMainEditTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    // Clipboard.
    void copiedRowsRunTogetherInLinuxEditors();
    void popupCopyTakesTheSheetWhateverPaneWasActive();
    void copyFromTheOtherPanes();
    void pasteFromSpreadsheetFillsCellForCell_data();
    void pasteFromSpreadsheetFillsCellForCell();
    void pasteBeyondTheSheetIsClippedAtItsEdge();
    void pasteIntoSqlBoxReplacesTheStatement();
    void cutEmptiesTextButKeepsStyles();
    void cutWithFormViewActiveDoesNothing();
    void selectAllTakesDataRowsAndEveryColumn();
    void sqlBoxShortcutsChangedTheSheet_data();
    void sqlBoxShortcutsChangedTheSheet();
    // Rows and columns.
    void insertRowPutsAnEmptyRowAtTheCurrentRow();
    void insertRowOnTitlesOnlyKeepsTheTitles();
    void insertColumnShiftsColumnsRight();
    void deleteSelectedRowsInRowMode();
    void deleteRowsInBlockModeTakesTheBlocksRows();
    void deleteRowWithoutSelectionTakesTheCurrentRow();
    void deleteColumnShiftsColumnsLeft();
    void shapeChangesResetTheAnalysisCommands();
    void statisticsStayWithTheirColumns();
    void flagColumnFollowsInsertAndDelete();
    void deletingTheFlagColumnEndsTheFlagState();
    // Titles and cells.
    void columnTitleFromTheInputBox();
    void setAsColumnHeaderRowPromotesTheCurrentRow();
    void setAsColumnHeaderRowKeepsTheFlagTitle();
    void editCellOpensTheEditor();

  private:
    void clickCell(int row, int col, Qt::KeyboardModifiers keys = {});
    void doubleClickCell(int row, int col);
    void focusSheet();
    void blockMode();
    void addFlagColumn();
    QString clipboard() const { return QGuiApplication::clipboard()->text(); }
    QString rowsBox() const { return w_->controls().toolbar->sizeBoxes()->rowsBox->text(); }
    QString colsBox() const { return w_->controls().toolbar->sizeBoxes()->colsBox->text(); }
    QAction* entry(const char* name) const { return w_->menus().action(QString::fromLatin1(name)); }

    std::unique_ptr<ToolbarWindowRun> window_;
    app::MainWindow* w_ = nullptr;
    sheet::Grid* fa_ = nullptr;
};

void FrmMainEditTest::init() {
    window_ = std::make_unique<ToolbarWindowRun>();
    w_ = &window_->window();
    QVERIFY(QTest::qWaitForWindowExposed(w_));
    fa_ = w_->controls().dataSheet;
    fa_->setRows(kDataRows + 1);
    fa_->setCols(kCols);
    fillSheet(*fa_, kDataRows, QStringLiteral("T"));
    QGuiApplication::clipboard()->clear();
}

void FrmMainEditTest::cleanup() {
    window_.reset();
}

void FrmMainEditTest::clickCell(int row, int col, Qt::KeyboardModifiers keys) {
    ::clickCell(*fa_, row, col, keys);
}

void FrmMainEditTest::doubleClickCell(int row, int col) {
    ::doubleClickCell(*fa_, row, col);
}

void FrmMainEditTest::focusSheet() {
    fa_->setFocus();
    QTRY_COMPARE(int(w_->sheetState().lastFocusedPane), 1);
}

void FrmMainEditTest::blockMode() {
    entry("mnuMouseMode(1)")->trigger();
    QVERIFY(w_->controls().toolbar->isPressed(QStringLiteral("BlockMode")));
}

void FrmMainEditTest::addFlagColumn() {
    entry("mnuAddFlagCol")->trigger();
    QVERIFY(w_->sheetState().flagColumnPresent);
    QCOMPARE(w_->sheetState().flagColumn, 0);
}

// ---- clipboard ----

// Regression: rows went to the clipboard separated by a bare carriage
// return, so pasted into an editor or a terminal they ran together.
void FrmMainEditTest::copiedRowsRunTogetherInLinuxEditors() {
    blockMode();
    fa_->setTextMatrix(1, 0, QStringLiteral("a1"));
    fa_->setTextMatrix(1, 1, QStringLiteral("b1"));
    fa_->setTextMatrix(2, 0, QStringLiteral("a2"));
    fa_->setTextMatrix(2, 1, QStringLiteral("b2"));
    focusSheet();
    clickCell(1, 0);
    clickCell(2, 1, Qt::ShiftModifier);
    entry("mnuEditCopy")->trigger();
    QCOMPARE(clipboard(), QStringLiteral("a1\tb1\na2\tb2"));
    QCOMPARE(
        QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("text/tab-separated-values")),
        QByteArray("a1\tb1\na2\tb2"));
    // Ctrl+C on the sheet runs the same command, not the view's own copy.
    QGuiApplication::clipboard()->clear();
    QTest::keySequence(fa_, QKeySequence(QStringLiteral("Ctrl+C")));
    QCOMPARE(clipboard(), QStringLiteral("a1\tb1\na2\tb2"));
}

void FrmMainEditTest::popupCopyTakesTheSheetWhateverPaneWasActive() {
    blockMode();
    clickCell(3, 2);
    clickCell(3, 3, Qt::ShiftModifier);
    w_->controls().formView->setFocus();
    QTRY_COMPARE(int(w_->sheetState().lastFocusedPane), 2);
    entry("mnuPUCopy")->trigger();
    QCOMPARE(clipboard(), cellText(3, 2) + u'\t' + cellText(3, 3));
}

void FrmMainEditTest::copyFromTheOtherPanes() {
    // The tree: the last clicked node's name, bracketed and spaced.
    auto* node = new QTreeWidgetItem(w_->controls().databaseTree, {QStringLiteral("CustomerName")});
    w_->browser().onNodeClicked(node);
    w_->controls().databaseTree->show();
    w_->controls().databaseTree->setFocus();
    QTRY_COMPARE(int(w_->sheetState().lastFocusedPane), 4);
    entry("mnuEditCopy")->trigger();
    QCOMPARE(clipboard(), QStringLiteral(" [CustomerName] "));

    // The SQL box: its selected text, line breaks as CR LF.
    w_->sqlWorkbench().setText(QStringLiteral("SELECT *\r\nFROM T"));
    w_->controls().sqlBox->selectAll();
    w_->sheetState().lastFocusedPane = sheet::FocusedPane::SqlBox;
    entry("mnuEditCopy")->trigger();
    QCOMPARE(clipboard(), QStringLiteral("SELECT *\r\nFROM T"));

    // The form view: its selected block.
    w_->runSheetUpdate();
    w_->controls().formView->setFocus();
    QTRY_COMPARE(int(w_->sheetState().lastFocusedPane), 2);
    w_->controls().formView->select(1, 0, 2, 1);
    entry("mnuEditCopy")->trigger();
    QCOMPARE(clipboard(), QStringLiteral("T0\t%1\nT1\t%2").arg(cellText(1, 0), cellText(1, 1)));
}

void FrmMainEditTest::pasteFromSpreadsheetFillsCellForCell_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("spreadsheet, CR LF") << QStringLiteral("x1\ty1\r\nx2\ty2\r\n");
    QTest::newRow("Linux, LF") << QStringLiteral("x1\ty1\nx2\ty2\n");
    QTest::newRow("own, CR") << QStringLiteral("x1\ty1\rx2\ty2");
}

void FrmMainEditTest::pasteFromSpreadsheetFillsCellForCell() {
    QFETCH(QString, text);
    blockMode();
    focusSheet();
    clickCell(3, 2);
    QGuiApplication::clipboard()->setText(text);
    entry("mnuEditPaste")->trigger();
    QCOMPARE(fa_->textMatrix(3, 2), QStringLiteral("x1"));
    QCOMPARE(fa_->textMatrix(3, 3), QStringLiteral("y1"));
    QCOMPARE(fa_->textMatrix(4, 2), QStringLiteral("x2"));
    QCOMPARE(fa_->textMatrix(4, 3), QStringLiteral("y2"));
    // No stray empty line from the trailing break, nothing beside the block.
    QCOMPARE(fa_->textMatrix(5, 2), cellText(5, 2));
    QCOMPARE(fa_->textMatrix(3, 4), cellText(3, 4));
    QCOMPARE(fa_->textMatrix(3, 1), cellText(3, 1));
    QCOMPARE(fa_->rows(), kDataRows + 1);
}

void FrmMainEditTest::pasteBeyondTheSheetIsClippedAtItsEdge() {
    blockMode();
    clickCell(kDataRows, kCols - 1);
    w_->controls().databaseTree->setFocus();  // the pop-up entry pastes into the sheet all the same
    QTRY_COMPARE(int(w_->sheetState().lastFocusedPane), 4);
    QGuiApplication::clipboard()->setText(QStringLiteral("p\tq\r\ns\tt"));
    entry("mnuPUPaste")->trigger();
    QCOMPARE(fa_->textMatrix(kDataRows, kCols - 1), QStringLiteral("p"));
    QCOMPARE(fa_->rows(), kDataRows + 1);
    QCOMPARE(fa_->cols(), kCols);
    QCOMPARE(fa_->textMatrix(kDataRows, kCols - 2), cellText(kDataRows, kCols - 2));
}

void FrmMainEditTest::pasteIntoSqlBoxReplacesTheStatement() {
    w_->sqlWorkbench().setText(QStringLiteral("SELECT * FROM Old"));
    w_->sheetState().lastFocusedPane = sheet::FocusedPane::SqlBox;
    QGuiApplication::clipboard()->setText(QStringLiteral("SELECT Name\nFROM New"));
    const QString sheetBefore = fa_->textMatrix(1, 0);
    entry("mnuEditPaste")->trigger();
    QCOMPARE(w_->sqlWorkbench().text(), QStringLiteral("SELECT Name\r\nFROM New"));
    QCOMPARE(fa_->textMatrix(1, 0), sheetBefore);
    // An empty clipboard pastes nothing: the statement stays.
    QGuiApplication::clipboard()->clear();
    entry("mnuEditPaste")->trigger();
    QCOMPARE(w_->sqlWorkbench().text(), QStringLiteral("SELECT Name\r\nFROM New"));
}

void FrmMainEditTest::cutEmptiesTextButKeepsStyles() {
    blockMode();
    fa_->setCell(CellSetting::Bold, 2, 2, true);
    focusSheet();
    clickCell(2, 2);
    clickCell(3, 3, Qt::ShiftModifier);
    QVERIFY(entry("mnuEditCut")->isEnabled());
    entry("mnuEditCut")->trigger();
    QCOMPARE(clipboard(), QStringLiteral("%1\t%2\n%3\t%4")
                              .arg(cellText(2, 2), cellText(2, 3), cellText(3, 2), cellText(3, 3)));
    for (int r : {2, 3}) {
        for (int c : {2, 3}) {
            QCOMPARE(fa_->textMatrix(r, c), QString());
        }
    }
    QVERIFY(fa_->cell(CellSetting::Bold, 2, 2).toBool());
    QCOMPARE(fa_->textMatrix(2, 1), cellText(2, 1));
    QCOMPARE(fa_->textMatrix(4, 2), cellText(4, 2));
}

void FrmMainEditTest::cutWithFormViewActiveDoesNothing() {
    blockMode();
    clickCell(2, 2);
    w_->controls().formView->setFocus();
    QTRY_COMPARE(int(w_->sheetState().lastFocusedPane), 2);
    QVERIFY(!entry("mnuEditCut")->isEnabled());
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    entry("mnuPUCut")->trigger();  // the pop-up twin runs the same rule
    QCOMPARE(fa_->textMatrix(2, 2), cellText(2, 2));
    QCOMPARE(clipboard(), QStringLiteral("kept"));
}

void FrmMainEditTest::selectAllTakesDataRowsAndEveryColumn() {
    w_->controls().formView->setFocus();
    QTRY_COMPARE(int(w_->sheetState().lastFocusedPane), 2);
    entry("mnuSelectAll")->trigger();
    QCOMPARE(int(w_->sheetState().lastFocusedPane), 1);
    entry("mnuEditCopy")->trigger();
    const QStringList lines = clipboard().split(u'\n');
    QCOMPARE(lines.size(), kDataRows);
    QCOMPARE(lines.first().split(u'\t').size(), kCols);
    QCOMPARE(lines.first().split(u'\t').first(), cellText(1, 0));
    QCOMPARE(lines.last().split(u'\t').last(), cellText(kDataRows, kCols - 1));
}

void FrmMainEditTest::sqlBoxShortcutsChangedTheSheet_data() {
    QTest::addColumn<QKeySequence>("keys");
    QTest::newRow("select all") << QKeySequence(QStringLiteral("Ctrl+A"));
    QTest::newRow("delete rows") << QKeySequence(QStringLiteral("Shift+Del"));
    QTest::newRow("delete col") << QKeySequence(QStringLiteral("Ctrl+D"));
    QTest::newRow("insert row") << QKeySequence(QStringLiteral("Shift+Ins"));
    QTest::newRow("insert col") << QKeySequence(QStringLiteral("Ctrl+Ins"));
}

// Regression: typed in the SQL box, Ctrl+A selected the sheet, Shift+Del
// deleted a sheet row and Ctrl+D a sheet column, with no way back.
void FrmMainEditTest::sqlBoxShortcutsChangedTheSheet() {
    QFETCH(QKeySequence, keys);
    focusSheet();
    clickCell(3, 2);
    const int rows = fa_->rows(), cols = fa_->cols(), selected = fa_->selectedRows();
    QPlainTextEdit* sqlBox = w_->controls().sqlBox;
    sqlBox->setPlainText(QStringLiteral("SELECT * FROM T"));
    w_->controls().tabStrip->setTabVisible(ui::TabStrip::Sql, true);
    w_->controls().tabStrip->setCurrentPage(ui::TabStrip::Sql);
    sqlBox->setFocus();
    QTRY_COMPARE(int(w_->sheetState().lastFocusedPane), 3);
    QTest::keySequence(sqlBox, keys);
    QCOMPARE(fa_->rows(), rows);
    QCOMPARE(fa_->cols(), cols);
    QCOMPARE(fa_->textMatrix(3, 2), cellText(3, 2));
    QCOMPARE(fa_->row(), 3);
    QCOMPARE(sqlBox->toPlainText(), QStringLiteral("SELECT * FROM T"));
    if (keys == QKeySequence(QStringLiteral("Ctrl+A"))) {
        QCOMPARE(sqlBox->textCursor().selectedText(), QStringLiteral("SELECT * FROM T"));
        QCOMPARE(fa_->selectedRows(), selected);
        QCOMPARE(int(w_->sheetState().lastFocusedPane), 3);
    }
}

// ---- rows and columns ----

void FrmMainEditTest::insertRowPutsAnEmptyRowAtTheCurrentRow() {
    clickCell(4, 1);
    entry("mnuInsertRow")->trigger();
    QCOMPARE(fa_->rows(), kDataRows + 2);
    for (int c = 0; c < kCols; ++c) {
        QCOMPARE(fa_->textMatrix(4, c), QString());
    }
    QCOMPARE(fa_->textMatrix(3, 1), cellText(3, 1));
    QCOMPARE(fa_->textMatrix(5, 1), cellText(4, 1));
    QCOMPARE(fa_->textMatrix(kDataRows + 1, 1), cellText(kDataRows, 1));
    QCOMPARE(fa_->row(), 4);
    QCOMPARE(rowsBox(), QString::number(kDataRows + 1));
    QCOMPARE(w_->controls().statusPanels->panelText(5),
             QStringLiteral("4 / %1").arg(kDataRows + 1));
    // A second insert goes above the same place, not below the moved row.
    entry("mnuPUInsertRow")->trigger();
    QCOMPARE(fa_->textMatrix(6, 1), cellText(4, 1));
}

void FrmMainEditTest::insertRowOnTitlesOnlyKeepsTheTitles() {
    fa_->setRows(1);
    entry("mnuInsertRow")->trigger();
    QCOMPARE(fa_->rows(), 2);
    QCOMPARE(fa_->textMatrix(0, 2), QStringLiteral("T2"));
    QCOMPARE(fa_->textMatrix(1, 2), QString());
    QCOMPARE(rowsBox(), QStringLiteral("1"));
}

void FrmMainEditTest::insertColumnShiftsColumnsRight() {
    clickCell(1, 2);
    entry("mnuPUInsertCol")->trigger();
    QCOMPARE(fa_->cols(), kCols + 1);
    QCOMPARE(fa_->textMatrix(0, 2), QString());
    QCOMPARE(fa_->textMatrix(5, 2), QString());
    QCOMPARE(fa_->textMatrix(0, 3), QStringLiteral("T2"));
    QCOMPARE(fa_->textMatrix(5, 3), cellText(5, 2));
    QCOMPARE(fa_->col(), 2);
    QCOMPARE(colsBox(), QString::number(kCols + 1));
    // The form view lists the columns in their new order.
    QCOMPARE(w_->controls().formView->rows(), kCols + 2);
    QCOMPARE(w_->controls().formView->textMatrix(3, 0), QString());
    QCOMPARE(w_->controls().formView->textMatrix(4, 0), QStringLiteral("T2"));
}

void FrmMainEditTest::deleteSelectedRowsInRowMode() {
    clickCell(3, 1);
    clickCell(7, 1, Qt::ControlModifier);
    QCOMPARE(fa_->selectedRows(), 2);
    entry("mnuDeleteRow")->trigger();
    QCOMPARE(fa_->rows(), kDataRows - 1);
    const int expected[] = {1, 2, 4, 5, 6, 8, 9};
    for (int r = 1; r <= kDataRows - 2; ++r) {
        QCOMPARE(fa_->textMatrix(r, 0), cellText(expected[r - 1], 0));
    }
    QCOMPARE(fa_->textMatrix(6, 3), cellText(8, 3));
    QCOMPARE(rowsBox(), QString::number(kDataRows - 2));
    QCOMPARE(fa_->textMatrix(0, 0), QStringLiteral("T0"));
}

void FrmMainEditTest::deleteRowsInBlockModeTakesTheBlocksRows() {
    blockMode();
    clickCell(2, 1);
    clickCell(4, 3, Qt::ShiftModifier);
    entry("mnuPUDeleteRow")->trigger();
    QCOMPARE(fa_->rows(), kDataRows + 1 - 3);
    QCOMPARE(fa_->textMatrix(1, 0), cellText(1, 0));
    QCOMPARE(fa_->textMatrix(2, 0), cellText(5, 0));
    QCOMPARE(fa_->textMatrix(2, 5), cellText(5, 5));  // whole rows, not the block's cells
    QCOMPARE(rowsBox(), QString::number(kDataRows - 3));
}

void FrmMainEditTest::deleteRowWithoutSelectionTakesTheCurrentRow() {
    clickCell(5, 0);
    fa_->selectionModel()->clearSelection();
    QCOMPARE(fa_->selectedRows(), 0);
    entry("mnuDeleteRow")->trigger();
    QCOMPARE(fa_->rows(), kDataRows);
    QCOMPARE(fa_->textMatrix(5, 0), cellText(6, 0));
    QCOMPARE(fa_->textMatrix(4, 0), cellText(4, 0));
    // The title row stays however often the last data rows go.
    for (int i = 0; i < kDataRows + 2; ++i) {
        entry("mnuDeleteRow")->trigger();
    }
    QCOMPARE(fa_->rows(), 1);
    QCOMPARE(fa_->textMatrix(0, 0), QStringLiteral("T0"));
    QCOMPARE(rowsBox(), QStringLiteral("0"));
}

void FrmMainEditTest::deleteColumnShiftsColumnsLeft() {
    clickCell(2, 1);
    entry("mnuDeleteCol")->trigger();
    QCOMPARE(fa_->cols(), kCols - 1);
    QCOMPARE(fa_->textMatrix(0, 1), QStringLiteral("T2"));
    QCOMPARE(fa_->textMatrix(2, 1), cellText(2, 2));
    QCOMPARE(fa_->textMatrix(2, 0), cellText(2, 0));
    QCOMPARE(colsBox(), QString::number(kCols - 1));
    QCOMPARE(w_->controls().formView->rows(), kCols);
    QCOMPARE(w_->controls().formView->textMatrix(2, 0), QStringLiteral("T2"));
    // The last column deleted: the current cell stays on the sheet.
    clickCell(2, kCols - 2);
    entry("mnuPUDeleteCol")->trigger();
    QCOMPARE(fa_->cols(), kCols - 2);
    QCOMPARE(fa_->col(), kCols - 3);
}

void FrmMainEditTest::shapeChangesResetTheAnalysisCommands() {
    const char* const commands[] = {"mnuInsertRow", "mnuInsertCol", "mnuDeleteRow", "mnuDeleteCol",
                                    "mnuSetColHeaderRow"};
    for (const char* command : commands) {
        for (int r = 1; r < fa_->rows(); ++r) {
            fa_->setTextMatrix(r, 1, QString::number(r));  // a numeric column to chart
        }
        clickCell(2, 1);
        entry("mnuAnalysis")->trigger();
        QVERIFY(!entry("mnuAnalysis")->isEnabled());
        QVERIFY(w_->controls().toolbar->isPressed(QStringLiteral("Statistics")));
        QVERIFY(entry("mnuBarChart")->isEnabled());
        QVERIFY(w_->controls().toolbar->button(QStringLiteral("Barchart"))->isVisible());
        entry(command)->trigger();
        QVERIFY2(entry("mnuAnalysis")->isEnabled(), command);
        QVERIFY2(!entry("mnuBarChart")->isEnabled(), command);
        QVERIFY2(!w_->controls().toolbar->isPressed(QStringLiteral("Statistics")), command);
        QVERIFY2(!w_->controls().toolbar->button(QStringLiteral("Barchart"))->isVisible(), command);
    }
}

void FrmMainEditTest::statisticsStayWithTheirColumns() {
    for (int r = 1; r <= kDataRows; ++r) {
        fa_->setTextMatrix(r, 1, QString::number(r));
        fa_->setTextMatrix(r, 3, QString::number(100 + r));
    }
    clickCell(2, 1);
    entry("mnuAnalysis")->trigger();
    QCOMPARE(w_->statistics().store().entry(1)->maximum, 9.0f);
    QCOMPARE(w_->statistics().store().entry(3)->maximum, 109.0f);
    clickCell(2, 0);
    entry("mnuInsertCol")->trigger();
    QCOMPARE(w_->statistics().store().entry(2)->maximum, 9.0f);
    QCOMPARE(w_->statistics().store().entry(4)->maximum, 109.0f);
    clickCell(2, 2);
    entry("mnuDeleteCol")->trigger();
    QCOMPARE(w_->statistics().store().entry(3)->maximum, 109.0f);
    QVERIFY(w_->statistics().store().entry(2)->maximum != 9.0f);  // the deleted column's are gone
}

void FrmMainEditTest::flagColumnFollowsInsertAndDelete() {
    addFlagColumn();
    clickCell(3, 0);
    entry("mnuInsertCol")->trigger();  // a new column before the flag column
    QCOMPARE(fa_->textMatrix(0, 1), QStringLiteral("Flag"));
    QCOMPARE(w_->sheetState().flagColumn, 1);
    doubleClickCell(4, 3);
    QCOMPARE(fa_->textMatrix(4, 1), QStringLiteral(" "));
    QCOMPARE(fa_->textMatrix(4, 0), QString());  // the new column stays empty
    clickCell(2, 0);
    entry("mnuDeleteCol")->trigger();
    QCOMPARE(w_->sheetState().flagColumn, 0);
    QVERIFY(w_->sheetState().flagColumnPresent);
    QCOMPARE(fa_->textMatrix(4, 0), QStringLiteral(" "));
}

void FrmMainEditTest::deletingTheFlagColumnEndsTheFlagState() {
    addFlagColumn();
    QVERIFY(w_->controls().toolbar->button(QStringLiteral("Flag"))->isVisible());
    clickCell(2, 0);
    entry("mnuDeleteCol")->trigger();
    QCOMPARE(fa_->cols(), kCols);
    QCOMPARE(fa_->textMatrix(0, 0), QStringLiteral("T0"));
    QVERIFY(!w_->sheetState().flagColumnPresent);
    QVERIFY(entry("mnuAddFlagCol")->isEnabled());
    QVERIFY(!w_->controls().toolbar->button(QStringLiteral("Flag"))->isVisible());
    // Flag commands no longer write into the column now at the old index.
    doubleClickCell(3, 0);
    entry("mnuPUSetFlag")->trigger();
    QCOMPARE(fa_->textMatrix(3, 0), cellText(3, 0));
    // And the flag column can be added again.
    addFlagColumn();
    QCOMPARE(fa_->cols(), kCols + 1);
}

// ---- titles and cells ----

void FrmMainEditTest::columnTitleFromTheInputBox() {
    clickCell(2, 3);
    window_->run.dialogs.texts.enqueue(QStringLiteral("Price"));
    entry("mnuEditColTitle")->trigger();
    QCOMPARE(window_->run.dialogs.asked.size(), 1);
    QCOMPARE(window_->run.dialogs.asked[0].kind, QStringLiteral("input"));
    QCOMPARE(window_->run.dialogs.asked[0].title, QStringLiteral("Column Title"));
    QCOMPARE(window_->run.dialogs.asked[0].text,
             QStringLiteral("Enter New Column Title (Header):"));
    QCOMPARE(fa_->textMatrix(0, 3), QStringLiteral("Price"));
    QCOMPARE(w_->controls().formView->textMatrix(4, 0), QStringLiteral("Price"));
    // Cancel (an empty answer) changes nothing.
    entry("mnuPUColTitle")->trigger();
    QCOMPARE(window_->run.dialogs.asked.size(), 2);
    QCOMPARE(fa_->textMatrix(0, 3), QStringLiteral("Price"));
}

void FrmMainEditTest::setAsColumnHeaderRowPromotesTheCurrentRow() {
    clickCell(1, 2);
    entry("mnuSetColHeaderRow")->trigger();
    for (int c = 0; c < kCols; ++c) {
        QCOMPARE(fa_->textMatrix(0, c), cellText(1, c));
    }
    QCOMPARE(fa_->rows(), kDataRows);
    QCOMPARE(fa_->textMatrix(1, 0), cellText(2, 0));
    QCOMPARE(rowsBox(), QString::number(kDataRows - 1));
    QCOMPARE(w_->controls().formView->textMatrix(1, 0), cellText(1, 0));
    QCOMPARE(w_->controls().statusPanels->panelText(5),
             QStringLiteral("1 / %1").arg(kDataRows - 1));
}

void FrmMainEditTest::setAsColumnHeaderRowKeepsTheFlagTitle() {
    addFlagColumn();
    clickCell(4, 2);
    entry("mnuPUColHeader")->trigger();
    QCOMPARE(fa_->textMatrix(0, 0), QStringLiteral("Flag"));
    QCOMPARE(fa_->textMatrix(0, 1), cellText(4, 0));
    QCOMPARE(fa_->rows(), kDataRows);
    QCOMPARE(fa_->textMatrix(4, 1), cellText(5, 0));
}

void FrmMainEditTest::editCellOpensTheEditor() {
    blockMode();
    clickCell(3, 2);
    entry("mnuPUEditCell")->trigger();
    auto* editor = fa_->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor && editor->isVisible());
    editor->setText(QStringLiteral("typed"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(fa_->textMatrix(3, 2), QStringLiteral("typed"));  // committed once queued
}

QTEST_MAIN(FrmMainEditTest)
#include "tst_frm_main_edit.moc"
