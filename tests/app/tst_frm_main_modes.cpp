// Mouse modes, drag mode, the pop-up menu and the "Rows" and "Cols" boxes in
// the real main window: F6/F7/F8 pressed on the sheet, right-clicks on it,
// Enter in the boxes and clicks on their spin buttons. Checks the menus'
// marks, the buttons' looks, status panels 3 and 4, the selection and the
// sheet's size, and that refused box texts leave the sheet as it was.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QToolButton>

#include <memory>

#include "sheet/grid.h"
#include "sheet_driving.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/size_boxes.h"
#include "ui/spin_buttons.h"
#include "ui/status_panels.h"
#include "window_fixture.h"

namespace {

// A click with any button; a plain left click is the shared clickCell.
void clickCell(sheet::Grid& grid, int row, int col, Qt::MouseButton button,
               Qt::KeyboardModifiers keys = {}) {
    QTest::mouseClick(grid.viewport(), button, keys, cellCentre(grid, row, col));
}

}  // namespace

class FrmMainModesTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    // Mouse modes.
    void f7SwitchesToBlockAndEdit();
    void f6SelectsTheWholeCurrentRow();
    void modeEntryAlreadyCheckedStaysChecked();
    // Drag mode.
    void f8TogglesDragModeAndPanel4();
    void dragModeSurvivesMouseModeChanges();
    void dragCarriesTheSelectionAsPlainText();
    // Pop-up menu.
    void popupHidesSetFlagWithoutFlagColumn();
    void popupOffersSetFlagByMouseMode();
    void leftClickOpensNoPopup();
    // Rows box.
    void rowsEnterSetsTheDataRows();
    void resizedSheetIsShownInStep();
    void rowsEmptyBoxGivesOneRow();
    void rowsSpinDownStopsAtOne();
    void rowsSpinUpStopsAbove200000();
    void rowsZeroLeavesTheTitleRowOnly();
    // Cols box.
    void colsEnterIsNotBoundBySpinLimit();
    void colsSpinUpStopsAt201();
    void colsSpinDownStopsAtOneAndEmptyBoxGivesOne();
    void shrinkingDropsContents();
    // Refusals.
    void refusedTextLeavesTheSheet_data();
    void refusedTextLeavesTheSheet();
    void tooManyIsRefusedWithAMessage_data();
    void tooManyIsRefusedWithAMessage();
    void largestCountsAreAccepted();

  private:
    QAction* entry(const char* name) const { return w_->menus().action(QString::fromLatin1(name)); }
    QLineEdit* rowsBox() const { return w_->controls().toolbar->sizeBoxes()->rowsBox; }
    QLineEdit* colsBox() const { return w_->controls().toolbar->sizeBoxes()->colsBox; }
    void typeInto(QLineEdit* box, const QString& text);
    void spin(ui::SpinButtons* buttons, bool up);
    void addFlagColumn();
    QMenu* rightClickCell(int row, int col);

    std::unique_ptr<ToolbarWindowRun> window_;
    app::MainWindow* w_ = nullptr;
};

void FrmMainModesTest::init() {
    window_ = std::make_unique<ToolbarWindowRun>();
    w_ = &window_->window();
    QVERIFY(QTest::qWaitForWindowExposed(w_));
    w_->controls().dataSheet->setRows(11);  // ten data rows
    fillSheet(*w_->controls().dataSheet, w_->controls().dataSheet->rows() - 1);
}

void FrmMainModesTest::cleanup() {
    if (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
    }
    window_.reset();
}

// Replaces the box's text as a user does and presses Enter in it.
void FrmMainModesTest::typeInto(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

void FrmMainModesTest::spin(ui::SpinButtons* buttons, bool up) {
    QToolButton* b = up ? buttons->upButton() : buttons->downButton();
    QVERIFY(b->isVisible());
    QTest::mouseClick(b, Qt::LeftButton);
}

void FrmMainModesTest::addFlagColumn() {
    entry("mnuAddFlagCol")->trigger();
    QVERIFY(w_->sheetState().flagColumnPresent);
}

QMenu* FrmMainModesTest::rightClickCell(int row, int col) {
    clickCell(*w_->controls().dataSheet, row, col, Qt::RightButton);
    QMenu* popup = w_->menus().gridPopup();
    return popup->isVisible() ? popup : nullptr;
}

void FrmMainModesTest::f7SwitchesToBlockAndEdit() {
    clickCell(*w_->controls().dataSheet, 3, 2);
    QTest::keyClick(w_->controls().dataSheet, Qt::Key_F7);
    QVERIFY(entry("mnuMouseMode(1)")->isChecked());
    QVERIFY(!entry("mnuMouseMode(0)")->isChecked());
    QVERIFY(w_->controls().toolbar->isPressed("BlockMode"));
    QVERIFY(!w_->controls().toolbar->isPressed("RowMode"));
    QCOMPARE(w_->controls().statusPanels->panelText(3), QStringLiteral("EDIT"));
    QCOMPARE(w_->controls().dataSheet->selectionModeCode(), int(sheet::Grid::SelectFree));
    QCOMPARE(w_->controls().dataSheet->autoSearch(), 0);
    QVERIFY(!entry("mnuPUSetFlag")->isEnabled());
    // A block of single cells can now be chosen.
    clickCell(*w_->controls().dataSheet, 2, 1);
    clickCell(*w_->controls().dataSheet, 4, 3, Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(w_->controls().dataSheet->clip(),
             QStringLiteral("r2c1\tr2c2\tr2c3\rr3c1\tr3c2\tr3c3\rr4c1\tr4c2\tr4c3"));
}

void FrmMainModesTest::f6SelectsTheWholeCurrentRow() {
    QTest::keyClick(w_->controls().dataSheet, Qt::Key_F7);
    clickCell(*w_->controls().dataSheet, 5, 4);
    QTest::keyClick(w_->controls().dataSheet, Qt::Key_F6);
    QVERIFY(entry("mnuMouseMode(0)")->isChecked());
    QVERIFY(!entry("mnuMouseMode(1)")->isChecked());
    QVERIFY(w_->controls().toolbar->isPressed("RowMode"));
    QVERIFY(!w_->controls().toolbar->isPressed("BlockMode"));
    QCOMPARE(w_->controls().statusPanels->panelText(3), QString());
    QCOMPARE(w_->controls().dataSheet->selectionModeCode(), int(sheet::Grid::SelectListBox));
    QCOMPARE(w_->controls().dataSheet->autoSearch(), 2);
    QVERIFY(entry("mnuPUSetFlag")->isEnabled());
    QCOMPARE(w_->controls().dataSheet->selectedRows(), 1);
    QCOMPARE(w_->controls().dataSheet->selectedRow(0), 5);
    QCOMPARE(w_->controls().dataSheet->row(), 5);
    QCOMPARE(w_->controls().dataSheet->clip().split(QLatin1Char('\t')).size(),
             w_->controls().dataSheet->cols());
    QVERIFY(w_->controls().dataSheet->clip().startsWith(QStringLiteral("r5c0\t")));
}

// A checkable entry unticks itself on a click; the mode puts the tick back.
void FrmMainModesTest::modeEntryAlreadyCheckedStaysChecked() {
    QVERIFY(entry("mnuMouseMode(0)")->isChecked());
    entry("mnuMouseMode(0)")->trigger();
    QVERIFY(entry("mnuMouseMode(0)")->isChecked());
    QVERIFY(!entry("mnuMouseMode(1)")->isChecked());
    QTest::keyClick(w_->controls().dataSheet, Qt::Key_F7);
    QTest::keyClick(w_->controls().dataSheet, Qt::Key_F7);
    QVERIFY(entry("mnuMouseMode(1)")->isChecked());
    QVERIFY(w_->controls().toolbar->isPressed("BlockMode"));
    QCOMPARE(w_->controls().statusPanels->panelText(3), QStringLiteral("EDIT"));
}

void FrmMainModesTest::f8TogglesDragModeAndPanel4() {
    QVERIFY(!entry("mnuDragDrop")->isChecked());
    QCOMPARE(w_->controls().dataSheet->oleDragMode(), 0);
    QCOMPARE(w_->controls().statusPanels->panelText(4), QString());
    QTest::keyClick(w_->controls().dataSheet, Qt::Key_F8);
    QVERIFY(entry("mnuDragDrop")->isChecked());
    QVERIFY(w_->controls().toolbar->isPressed("DragMode"));
    QCOMPARE(w_->controls().dataSheet->oleDragMode(), 1);
    QCOMPARE(w_->controls().statusPanels->panelText(4), QStringLiteral("DRAG"));
    QTest::keyClick(w_->controls().dataSheet, Qt::Key_F8);
    QVERIFY(!entry("mnuDragDrop")->isChecked());
    QVERIFY(!w_->controls().toolbar->isPressed("DragMode"));
    QCOMPARE(w_->controls().dataSheet->oleDragMode(), 0);
    QCOMPARE(w_->controls().statusPanels->panelText(4), QString());
    QVERIFY(!entry("mnuDragNo")->isVisible());
}

void FrmMainModesTest::dragModeSurvivesMouseModeChanges() {
    QTest::keyClick(w_->controls().dataSheet, Qt::Key_F8);
    QTest::keyClick(w_->controls().dataSheet, Qt::Key_F7);
    QCOMPARE(w_->controls().dataSheet->oleDragMode(), 1);
    QCOMPARE(w_->controls().statusPanels->panelText(4), QStringLiteral("DRAG"));
    QCOMPARE(w_->controls().statusPanels->panelText(3), QStringLiteral("EDIT"));
    QTest::keyClick(w_->controls().dataSheet, Qt::Key_F6);
    QCOMPARE(w_->controls().dataSheet->oleDragMode(), 1);
    QVERIFY(entry("mnuDragDrop")->isChecked());
    QTest::keyClick(w_->controls().dataSheet, Qt::Key_F8);
    QVERIFY(entry("mnuMouseMode(0)")->isChecked());
    QCOMPARE(w_->controls().statusPanels->panelText(3), QString());
}

// What another program receives: the selected block as plain text, cells
// separated by tabs and rows by carriage returns; nothing without drag mode.
void FrmMainModesTest::dragCarriesTheSelectionAsPlainText() {
    QTest::keyClick(w_->controls().dataSheet, Qt::Key_F7);
    clickCell(*w_->controls().dataSheet, 2, 1);
    clickCell(*w_->controls().dataSheet, 3, 2, Qt::LeftButton, Qt::ShiftModifier);
    const QModelIndexList picked = w_->controls().dataSheet->selectionModel()->selectedIndexes();
    const QModelIndex first = picked.value(0);
    QVERIFY(!(w_->controls().dataSheet->model()->flags(first) & Qt::ItemIsDragEnabled));
    QVERIFY(!w_->controls().dataSheet->dragEnabled());
    QTest::keyClick(w_->controls().dataSheet, Qt::Key_F8);
    QVERIFY(w_->controls().dataSheet->dragEnabled());
    QVERIFY(w_->controls().dataSheet->model()->flags(first) & Qt::ItemIsDragEnabled);
    std::unique_ptr<QMimeData> mime(w_->controls().dataSheet->model()->mimeData(picked));
    QVERIFY(mime);
    QCOMPARE(mime->text(), QStringLiteral("r2c1\tr2c2\nr3c1\tr3c2"));
    QVERIFY(mime->hasText());
    QVERIFY(mime->formats().contains(QStringLiteral("text/tab-separated-values")));
}

void FrmMainModesTest::popupHidesSetFlagWithoutFlagColumn() {
    QVERIFY(entry("mnuAddFlagCol")->isEnabled());
    QMenu* popup = rightClickCell(2, 1);
    QVERIFY2(popup, "right button opens the pop-up menu");
    QVERIFY(!entry("mnuPUSetFlag")->isVisible());
    QVERIFY(!entry("mnuPUSpace3")->isVisible());
    QVERIFY(entry("mnuPUCopy")->isVisible());
    popup->close();
    addFlagColumn();
    popup = rightClickCell(2, 1);
    QVERIFY(popup);
    QVERIFY(entry("mnuPUSetFlag")->isVisible());
    QVERIFY(entry("mnuPUSpace3")->isVisible());
    QVERIFY(entry("mnuPUSetFlag")->isEnabled());
    // The menu opens where the button was let go.
    const QPoint at = w_->controls().dataSheet->viewport()->mapToGlobal(
        cellCentre(*w_->controls().dataSheet, 2, 1));
    QVERIFY((popup->geometry().topLeft() - at).manhattanLength() < 40);
}

void FrmMainModesTest::popupOffersSetFlagByMouseMode() {
    addFlagColumn();
    QTest::keyClick(w_->controls().dataSheet, Qt::Key_F7);
    QMenu* popup = rightClickCell(3, 2);
    QVERIFY(popup);
    QVERIFY(entry("mnuPUSetFlag")->isVisible());
    QVERIFY(!entry("mnuPUSetFlag")->isEnabled());
    popup->close();
    QTest::keyClick(w_->controls().dataSheet, Qt::Key_F6);
    popup = rightClickCell(3, 2);
    QVERIFY(popup);
    QVERIFY(entry("mnuPUSetFlag")->isEnabled());
    // The entry flags the selected row: the current row 3.
    entry("mnuPUSetFlag")->trigger();
    popup->close();
    QCOMPARE(w_->controls().dataSheet->textMatrix(3, w_->sheetState().flagColumn),
             QStringLiteral(" "));
    QCOMPARE(w_->controls().dataSheet->textMatrix(2, w_->sheetState().flagColumn), QString());
}

void FrmMainModesTest::leftClickOpensNoPopup() {
    clickCell(*w_->controls().dataSheet, 2, 2);
    QVERIFY(!w_->menus().gridPopup()->isVisible());
}

void FrmMainModesTest::rowsEnterSetsTheDataRows() {
    typeInto(rowsBox(), QStringLiteral("120"));
    QCOMPARE(w_->controls().dataSheet->rows(), 121);
    QCOMPARE(rowsBox()->text(), QStringLiteral("120"));
    QCOMPARE(w_->controls().dataSheet->textMatrix(10, 3), QStringLiteral("r10c3"));  // kept
    QCOMPARE(w_->controls().dataSheet->textMatrix(11, 3), QString());                // added empty
}

// The status bar and the form view follow a resize, as after any reshaping.
void FrmMainModesTest::resizedSheetIsShownInStep() {
    clickCell(*w_->controls().dataSheet, 3, 2);
    typeInto(rowsBox(), QStringLiteral("120"));
    QCOMPARE(w_->controls().statusPanels->panelText(5), QStringLiteral("3 / 120"));
    typeInto(rowsBox(), QStringLiteral("2"));
    QCOMPARE(w_->controls().statusPanels->panelText(5),
             QStringLiteral("%1 / 2").arg(w_->controls().dataSheet->row()));
    QVERIFY(w_->controls().dataSheet->row() <= 2);
    typeInto(colsBox(), QStringLiteral("3"));
    QCOMPARE(w_->controls().formView->rows(), 4);
    QCOMPARE(w_->controls().formView->textMatrix(3, 0), w_->controls().dataSheet->textMatrix(0, 2));
}

void FrmMainModesTest::rowsEmptyBoxGivesOneRow() {
    typeInto(rowsBox(), QString());
    QCOMPARE(w_->controls().dataSheet->rows(), 2);
    QCOMPARE(rowsBox()->text(), QStringLiteral("1"));
    QCOMPARE(w_->controls().dataSheet->textMatrix(1, 0), QStringLiteral("r1c0"));
}

void FrmMainModesTest::rowsSpinDownStopsAtOne() {
    ui::SpinButtons* spinner = w_->controls().toolbar->sizeBoxes()->rowsSpin;
    typeInto(rowsBox(), QStringLiteral("2"));
    spin(spinner, false);
    QCOMPARE(rowsBox()->text(), QStringLiteral("1"));
    QCOMPARE(w_->controls().dataSheet->rows(), 2);
    spin(spinner, false);
    QCOMPARE(rowsBox()->text(), QStringLiteral("1"));
    QCOMPARE(w_->controls().dataSheet->rows(), 2);
    // An emptied box spun down is applied like Enter: one row.
    rowsBox()->clear();
    spin(spinner, false);
    QCOMPARE(rowsBox()->text(), QStringLiteral("1"));
    QCOMPARE(w_->controls().dataSheet->rows(), 2);
}

// The spin button tests the box before raising it, so it goes one past its
// top: 200000 becomes 200001, which then stays.
void FrmMainModesTest::rowsSpinUpStopsAbove200000() {
    ui::SpinButtons* spinner = w_->controls().toolbar->sizeBoxes()->rowsSpin;
    typeInto(rowsBox(), QStringLiteral("199999"));
    spin(spinner, true);
    QCOMPARE(rowsBox()->text(), QStringLiteral("200000"));
    QCOMPARE(w_->controls().dataSheet->rows(), 200001);
    spin(spinner, true);
    QCOMPARE(rowsBox()->text(), QStringLiteral("200001"));
    QCOMPARE(w_->controls().dataSheet->rows(), 200002);
    spin(spinner, true);
    QCOMPARE(rowsBox()->text(), QStringLiteral("200001"));
    QCOMPARE(w_->controls().dataSheet->rows(), 200002);
    spin(spinner, false);
    QCOMPARE(w_->controls().dataSheet->rows(), 200001);
}

void FrmMainModesTest::rowsZeroLeavesTheTitleRowOnly() {
    typeInto(rowsBox(), QStringLiteral("0"));
    QCOMPARE(w_->controls().dataSheet->rows(), 1);
    QCOMPARE(w_->controls().dataSheet->textMatrix(0, 2), QStringLiteral("Title2"));
    typeInto(rowsBox(), QStringLiteral("3"));
    QCOMPARE(w_->controls().dataSheet->rows(), 4);
    QCOMPARE(w_->controls().dataSheet->textMatrix(1, 2), QString());
}

void FrmMainModesTest::colsEnterIsNotBoundBySpinLimit() {
    typeInto(colsBox(), QStringLiteral("500"));
    QCOMPARE(w_->controls().dataSheet->cols(), 500);
    QCOMPARE(w_->controls().formView->rows(), 501);
    QCOMPARE(colsBox()->text(), QStringLiteral("500"));
    // The spin button does not raise a typed count beyond its top, but
    // applies it.
    spin(w_->controls().toolbar->sizeBoxes()->colsSpin, true);
    QCOMPARE(colsBox()->text(), QStringLiteral("500"));
    QCOMPARE(w_->controls().dataSheet->cols(), 500);
}

void FrmMainModesTest::colsSpinUpStopsAt201() {
    ui::SpinButtons* spinner = w_->controls().toolbar->sizeBoxes()->colsSpin;
    typeInto(colsBox(), QStringLiteral("200"));
    spin(spinner, true);
    QCOMPARE(colsBox()->text(), QStringLiteral("201"));
    QCOMPARE(w_->controls().dataSheet->cols(), 201);
    QCOMPARE(w_->controls().formView->rows(), 202);
    spin(spinner, true);
    QCOMPARE(colsBox()->text(), QStringLiteral("201"));
    QCOMPARE(w_->controls().dataSheet->cols(), 201);
}

void FrmMainModesTest::colsSpinDownStopsAtOneAndEmptyBoxGivesOne() {
    ui::SpinButtons* spinner = w_->controls().toolbar->sizeBoxes()->colsSpin;
    typeInto(colsBox(), QStringLiteral("2"));
    spin(spinner, false);
    QCOMPARE(w_->controls().dataSheet->cols(), 1);
    QCOMPARE(w_->controls().formView->rows(), 2);
    spin(spinner, false);
    QCOMPARE(colsBox()->text(), QStringLiteral("1"));
    QCOMPARE(w_->controls().dataSheet->cols(), 1);
    typeInto(colsBox(), QStringLiteral("4"));
    QCOMPARE(w_->controls().dataSheet->cols(), 4);
    colsBox()->clear();
    spin(spinner, false);  // never a sheet without columns
    QCOMPARE(colsBox()->text(), QStringLiteral("1"));
    QCOMPARE(w_->controls().dataSheet->cols(), 1);
    typeInto(colsBox(), QString());
    QCOMPARE(colsBox()->text(), QStringLiteral("1"));
    QCOMPARE(w_->controls().dataSheet->cols(), 1);
    QCOMPARE(w_->controls().formView->rows(), 2);
}

void FrmMainModesTest::shrinkingDropsContents() {
    const int cols = w_->controls().dataSheet->cols();
    typeInto(colsBox(), QString::number(cols - 1));
    typeInto(colsBox(), QString::number(cols));
    QCOMPARE(w_->controls().dataSheet->textMatrix(0, cols - 1), QString());
    QCOMPARE(w_->controls().dataSheet->textMatrix(3, cols - 1), QString());
    QCOMPARE(w_->controls().dataSheet->textMatrix(3, cols - 2),
             QStringLiteral("r3c%1").arg(cols - 2));
    typeInto(rowsBox(), QStringLiteral("5"));
    typeInto(rowsBox(), QStringLiteral("10"));
    QCOMPARE(w_->controls().dataSheet->textMatrix(5, 0), QStringLiteral("r5c0"));
    QCOMPARE(w_->controls().dataSheet->textMatrix(6, 0), QString());
}

void FrmMainModesTest::refusedTextLeavesTheSheet_data() {
    QTest::addColumn<bool>("isRowsBox");
    QTest::addColumn<QString>("text");
    QTest::newRow("rows negative") << true << "-5";
    QTest::newRow("rows word") << true << "many";
    QTest::newRow("rows fraction") << true << "3.5";
    QTest::newRow("cols zero") << false << "0";
    QTest::newRow("cols negative") << false << "-1";
    QTest::newRow("cols word") << false << "x12";
}

void FrmMainModesTest::refusedTextLeavesTheSheet() {
    QFETCH(bool, isRowsBox);
    QFETCH(QString, text);
    QLineEdit* box = isRowsBox ? rowsBox() : colsBox();
    const int rows = w_->controls().dataSheet->rows();
    const int cols = w_->controls().dataSheet->cols();
    const int formRows = w_->controls().formView->rows();
    typeInto(box, text);
    QCOMPARE(w_->controls().dataSheet->rows(), rows);
    QCOMPARE(w_->controls().dataSheet->cols(), cols);
    QCOMPARE(w_->controls().formView->rows(), formRows);
    QCOMPARE(box->text(), QString::number(isRowsBox ? rows - 1 : cols));
    QVERIFY(window_->run.dialogs.asked.isEmpty());
    // The spin buttons do not step such text either.
    box->setText(text);
    spin(isRowsBox ? w_->controls().toolbar->sizeBoxes()->rowsSpin
                   : w_->controls().toolbar->sizeBoxes()->colsSpin,
         false);
    QCOMPARE(w_->controls().dataSheet->rows(), rows);
    QCOMPARE(w_->controls().dataSheet->cols(), cols);
    QCOMPARE(box->text(), QString::number(isRowsBox ? rows - 1 : cols));
}

void FrmMainModesTest::tooManyIsRefusedWithAMessage_data() {
    QTest::addColumn<bool>("isRowsBox");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("limit");
    QTest::newRow("rows") << true << "10000001"
                          << "10,000,000";
    QTest::newRow("rows at the box's length") << true << "999999999"
                                              << "10,000,000";
    QTest::newRow("cols") << false << "16385"
                          << "16,384";
    QTest::newRow("cols huge") << false << "400000000"
                               << "16,384";
}

void FrmMainModesTest::tooManyIsRefusedWithAMessage() {
    QFETCH(bool, isRowsBox);
    QFETCH(QString, text);
    QFETCH(QString, limit);
    QLineEdit* box = isRowsBox ? rowsBox() : colsBox();
    const int rows = w_->controls().dataSheet->rows();
    const int cols = w_->controls().dataSheet->cols();
    typeInto(box, text);
    QCOMPARE(window_->run.dialogs.asked.size(), 1);
    const ui::ScriptedDialogs::Asked& asked = window_->run.dialogs.asked.first();
    QCOMPARE(asked.kind, QStringLiteral("message"));
    QCOMPARE(asked.title, isRowsBox ? QStringLiteral("Rows") : QStringLiteral("Cols"));
    QCOMPARE(asked.icon, ui::Dialogs::Icon::Exclamation);
    QVERIFY2(asked.text.contains(limit), qPrintable(asked.text));
    QCOMPARE(w_->controls().dataSheet->rows(), rows);
    QCOMPARE(w_->controls().dataSheet->cols(), cols);
    QCOMPARE(box->text(), QString::number(isRowsBox ? rows - 1 : cols));
    QCOMPARE(w_->controls().dataSheet->textMatrix(4, 4), QStringLiteral("r4c4"));
}

void FrmMainModesTest::largestCountsAreAccepted() {
    typeInto(rowsBox(), QStringLiteral("10000000"));
    QCOMPARE(w_->controls().dataSheet->rows(), 10'000'001);
    typeInto(rowsBox(), QStringLiteral("10"));
    typeInto(colsBox(), QStringLiteral("16384"));
    QCOMPARE(w_->controls().dataSheet->cols(), 16384);
    QCOMPARE(w_->controls().formView->rows(), 16385);
    QVERIFY(window_->run.dialogs.asked.isEmpty());
    QCOMPARE(w_->controls().dataSheet->textMatrix(10, 3), QStringLiteral("r10c3"));
}

QTEST_MAIN(FrmMainModesTest)
#include "tst_frm_main_modes.moc"
