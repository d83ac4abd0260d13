// The data sheet in the real main window: a click or a row key brings the
// form view, the style buttons and status panel 5 in step; focus decides the
// last-focused pane; the SQL box leaves the menu's shortcuts to the menu;
// moving the mouse over the panes resets the pointer.
#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include "sheet/column_types.h"
#include "sheet/grid.h"
#include "sheet/grid_model.h"
#include "sheet_driving.h"
#include "ui/caption_panel.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/size_boxes.h"
#include "ui/status_panels.h"
#include "ui/tab_strip.h"
#include "window_fixture.h"

namespace {

QAction* entry(app::MainWindow& w, const char* name) {
    return w.menus().action(QString::fromLatin1(name));
}

}  // namespace

class FrmMainSheetTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void clickBringsFormViewInStep();
    void styleButtonsFollowTheCurrentCell_data();
    void styleButtonsFollowTheCurrentCell();
    void everyCurrentCellChangeRunsTheUpdate();
    void formViewStaleAfterSortOrKeyboardMove();
    void titleOnlySheetShowsZeroRows();
    void emptyResultShowedTitlesAsValues();
    void booleanColumnShowsCheckBoxOnly();
    void pictureCarriesIntoFormView();
    void titlesOfWiderSheetAreNotLost();
    void focusDecidesLastFocusedPane();
    void sqlBoxLeavesMenuShortcutsToTheMenu_data();
    void sqlBoxLeavesMenuShortcutsToTheMenu();
    void rowBoxKeepsItsEditingKeys();
    void mouseMoveResetsThePointer();
    void resizeLaysThePanesOut();
    void mouseModeEntriesSwitchModes();

  private:
    app::MemoryFileSystem* fs_ = nullptr;
    WindowRun* run_ = nullptr;
    app::MainWindow* w_ = nullptr;
};

void FrmMainSheetTest::init() {
    fs_ = new app::MemoryFileSystem;
    run_ = new WindowRun(*fs_);
    w_ = &run_->window();
    QVERIFY(QTest::qWaitForWindowExposed(w_));
    w_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w_));
}

void FrmMainSheetTest::cleanup() {
    delete run_;
    delete fs_;
}

void FrmMainSheetTest::clickBringsFormViewInStep() {
    fillSheet(*w_->controls().dataSheet, 5);
    clickCell(*w_->controls().dataSheet, 3, 2);
    QCOMPARE(w_->controls().dataSheet->row(), 3);
    QCOMPARE(w_->controls().formView->rows(), w_->controls().dataSheet->cols() + 1);
    for (int c = 0; c < w_->controls().dataSheet->cols(); ++c) {
        QCOMPARE(w_->controls().formView->textMatrix(c + 1, 0), QStringLiteral("Title%1").arg(c));
        QCOMPARE(w_->controls().formView->textMatrix(c + 1, 1), QStringLiteral("r3c%1").arg(c));
        QCOMPARE(w_->controls().formView->cell(sheet::CellSetting::Alignment, c + 1, 0).toInt(), 7);
        QCOMPARE(w_->controls().formView->cell(sheet::CellSetting::Alignment, c + 1, 1).toInt(), 1);
    }
    QCOMPARE(w_->controls().statusPanels->panelText(5), QStringLiteral("3 / 49"));
    QVERIFY(w_->sheetState().titlesBuilt);
    clickCell(*w_->controls().dataSheet, 5, 1);
    QCOMPARE(w_->controls().formView->textMatrix(1, 1), QStringLiteral("r5c0"));
    QCOMPARE(w_->controls().statusPanels->panelText(5), QStringLiteral("5 / 49"));
}

void FrmMainSheetTest::styleButtonsFollowTheCurrentCell_data() {
    QTest::addColumn<int>("setting");
    QTest::addColumn<QString>("key");
    QTest::newRow("bold") << int(sheet::CellSetting::Bold) << QStringLiteral("Bold");
    QTest::newRow("italic") << int(sheet::CellSetting::Italic) << QStringLiteral("Italic");
    QTest::newRow("underline") << int(sheet::CellSetting::Underline) << QStringLiteral("Underline");
}

void FrmMainSheetTest::styleButtonsFollowTheCurrentCell() {
    QFETCH(int, setting);
    QFETCH(QString, key);
    fillSheet(*w_->controls().dataSheet, 5);
    w_->controls().dataSheet->setCell(sheet::CellSetting(setting), 2, 3, true);
    clickCell(*w_->controls().dataSheet, 2, 3);
    QVERIFY(w_->controls().toolbar->isPressed(key));
    const bool* state = key == "Bold"     ? &w_->sheetState().boldState
                        : key == "Italic" ? &w_->sheetState().italicState
                                          : &w_->sheetState().underlineState;
    QVERIFY(*state);
    for (const char* other : {"Bold", "Italic", "Underline"}) {
        if (key != QLatin1String(other)) {
            QVERIFY2(!w_->controls().toolbar->isPressed(other), other);
        }
    }
    clickCell(*w_->controls().dataSheet, 2, 4);
    QVERIFY(!w_->controls().toolbar->isPressed(key));
    QVERIFY(!*state);
}

void FrmMainSheetTest::everyCurrentCellChangeRunsTheUpdate() {
    fillSheet(*w_->controls().dataSheet, 5);
    w_->controls().dataSheet->setCell(sheet::CellSetting::Bold, 2, 2, true);
    clickCell(*w_->controls().dataSheet, 2, 1);
    QVERIFY(!w_->controls().toolbar->isPressed("Bold"));
    w_->controls().dataSheet->setFocus();
    QTest::keyClick(w_->controls().dataSheet, Qt::Key_Right);
    QCOMPARE(w_->controls().dataSheet->col(), 2);
    QVERIFY2(w_->controls().toolbar->isPressed("Bold"), "Right runs the update too");
    QCOMPARE(w_->controls().statusPanels->panelText(5), QStringLiteral("2 / 49"));
    QTest::keyClick(w_->controls().dataSheet, Qt::Key_Down);
    QCOMPARE(w_->controls().dataSheet->row(), 3);
    QCOMPARE(w_->controls().statusPanels->panelText(5), QStringLiteral("3 / 49"));
    QCOMPARE(w_->controls().formView->textMatrix(3, 1), QStringLiteral("r3c2"));
    QVERIFY(!w_->controls().toolbar->isPressed("Bold"));
    QTest::keyClick(w_->controls().dataSheet, Qt::Key_Up);
    QVERIFY2(w_->controls().toolbar->isPressed("Bold"), "Up runs the update after the move");
    QCOMPARE(w_->controls().statusPanels->panelText(5), QStringLiteral("2 / 49"));
}

// Regression: Ctrl+End on a big sheet left "4 / N" and row 4 in the form
// view, and a sort left the form view showing the row that had moved away.
void FrmMainSheetTest::formViewStaleAfterSortOrKeyboardMove() {
    sheet::Grid& sheet = *w_->controls().dataSheet;
    fillSheet(sheet, sheet.rows() - 1);
    clickCell(sheet, 4, 0);
    sheet.setFocus();
    QTest::keyClick(&sheet, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(sheet.row(), sheet.rows() - 1);
    QCOMPARE(w_->controls().statusPanels->panelText(5),
             QStringLiteral("%1 / %1").arg(sheet.rows() - 1));
    QCOMPARE(w_->controls().formView->textMatrix(1, 1), sheet.textMatrix(sheet.rows() - 1, 0));
    QTest::keyClick(&sheet, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(w_->controls().statusPanels->panelText(5),
             QStringLiteral("1 / %1").arg(sheet.rows() - 1));
    const QString before = w_->controls().formView->textMatrix(1, 1);
    QHeaderView* titles = sheet.horizontalHeader();
    const QPoint title(titles->sectionViewportPosition(0) + titles->sectionSize(0) / 2,
                       titles->height() / 2);
    // Both directions: one of them brings another row under the current cell.
    bool moved = false;
    for (int click = 0; click < 2; ++click) {
        QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, title);
        moved = moved || sheet.textMatrix(sheet.row(), 0) != before;
        QCOMPARE(w_->controls().formView->textMatrix(1, 1), sheet.textMatrix(sheet.row(), 0));
    }
    QVERIFY(moved);
    QCOMPARE(w_->controls().formView->textMatrix(2, 1), sheet.textMatrix(sheet.row(), 1));
}

void FrmMainSheetTest::titleOnlySheetShowsZeroRows() {
    w_->controls().dataSheet->setRows(1);
    w_->runSheetUpdate();
    QVERIFY(w_->controls().statusPanels->panelText(5).endsWith(QStringLiteral(" / 0")));
}

// Regression: a result without rows showed the column names as the values
// of the form view.
void FrmMainSheetTest::emptyResultShowedTitlesAsValues() {
    sheet::Grid& sheet = *w_->controls().dataSheet;
    fillSheet(sheet, 2);
    sheet.setColDataType(1, sheet::kBooleanType);
    clickCell(sheet, 2, 0);
    sheet.setRows(1);  // the title row only, as an empty result leaves it
    w_->runSheetUpdate();
    sheet::Grid& form = *w_->controls().formView;
    for (int c = 0; c < sheet.cols(); ++c) {
        QCOMPARE(form.textMatrix(c + 1, 0), QStringLiteral("Title%1").arg(c));
        QCOMPARE(form.textMatrix(c + 1, 1), QString());
    }
    QCOMPARE(form.cell(sheet::CellSetting::Checked, 2, 1).toInt(), 0);  // no check box
}

void FrmMainSheetTest::booleanColumnShowsCheckBoxOnly() {
    fillSheet(*w_->controls().dataSheet, 5);
    w_->controls().dataSheet->setColDataType(4, sheet::kBooleanType);
    w_->controls().dataSheet->setTextMatrix(2, 4, QStringLiteral("True"));
    w_->controls().dataSheet->setTextMatrix(3, 4, QStringLiteral("False"));
    clickCell(*w_->controls().dataSheet, 2, 1);
    QCOMPARE(w_->controls().formView->textMatrix(5, 1), QString());
    QCOMPARE(w_->controls().formView->cell(sheet::CellSetting::Checked, 5, 1).toInt(), 1);
    QCOMPARE(w_->controls().formView->cell(sheet::CellSetting::Checked, 4, 1).toInt(), 0);
    clickCell(*w_->controls().dataSheet, 3, 1);
    QCOMPARE(w_->controls().formView->cell(sheet::CellSetting::Checked, 5, 1).toInt(), 2);
}

void FrmMainSheetTest::pictureCarriesIntoFormView() {
    fillSheet(*w_->controls().dataSheet, 5);
    w_->controls().dataSheet->setCellPicture(2, 0, 2, 0, w_->controls().pictures.flag);
    clickCell(*w_->controls().dataSheet, 2, 1);
    QCOMPARE(w_->controls().formView->cellPicture(1, 1).toImage(),
             w_->controls().pictures.flag.toImage());
    clickCell(*w_->controls().dataSheet, 3, 1);
    QCOMPARE(w_->controls().formView->cellPicture(1, 1).toImage(),
             w_->controls().pictures.blank.toImage());
}

void FrmMainSheetTest::titlesOfWiderSheetAreNotLost() {
    w_->controls().dataSheet->setCols(20);
    fillSheet(*w_->controls().dataSheet, 5);
    w_->sheetState().titlesChanged = true;
    w_->controls().dataSheet->setRow(4);
    w_->runSheetUpdate();
    QCOMPARE(w_->controls().formView->rows(), 21);
    QCOMPARE(w_->controls().formView->textMatrix(20, 0), QStringLiteral("Title19"));
    QCOMPARE(w_->controls().formView->textMatrix(20, 1), QStringLiteral("r4c19"));
    w_->controls().dataSheet->setCols(3);
    w_->runSheetUpdate();
    QCOMPARE(w_->controls().formView->rows(), 4);
}

void FrmMainSheetTest::focusDecidesLastFocusedPane() {
    QAction* cut = entry(*w_, "mnuEditCut");
    w_->controls().formView->setFocus();
    QTRY_COMPARE(int(w_->sheetState().lastFocusedPane), 2);
    QVERIFY(!cut->isEnabled());
    w_->controls().dataSheet->setFocus();
    QTRY_COMPARE(int(w_->sheetState().lastFocusedPane), 1);
    QVERIFY(cut->isEnabled());
}

void FrmMainSheetTest::sqlBoxLeavesMenuShortcutsToTheMenu_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QKeySequence>("keys");
    QTest::newRow("copy") << "mnuEditCopy" << QKeySequence("Ctrl+C");
    QTest::newRow("paste") << "mnuEditPaste" << QKeySequence("Ctrl+V");
    QTest::newRow("cut") << "mnuEditCut" << QKeySequence("Ctrl+X");
    QTest::newRow("select all") << "mnuSelectAll" << QKeySequence("Ctrl+A");
    QTest::newRow("insert row") << "mnuInsertRow" << QKeySequence("Shift+Ins");
    QTest::newRow("insert col") << "mnuInsertCol" << QKeySequence("Ctrl+Ins");
    QTest::newRow("delete rows") << "mnuDeleteRow" << QKeySequence("Shift+Del");
    QTest::newRow("delete col") << "mnuDeleteCol" << QKeySequence("Ctrl+D");
}

void FrmMainSheetTest::sqlBoxLeavesMenuShortcutsToTheMenu() {
    QFETCH(QString, name);
    QFETCH(QKeySequence, keys);
    const QString before = w_->controls().sqlBox->toPlainText();
    w_->controls().tabStrip->setTabVisible(ui::TabStrip::Sql, true);
    w_->controls().tabStrip->setCurrentPage(ui::TabStrip::Sql);
    w_->controls().sqlBox->setFocus();
    QTRY_VERIFY(w_->controls().sqlBox->hasFocus());
    QAction* action = w_->menus().action(name);
    action->setEnabled(true);
    QSignalSpy spy(action, &QAction::triggered);
    QTest::keySequence(w_->controls().sqlBox, keys);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(w_->controls().sqlBox->toPlainText(), before);
    QTest::keyClicks(w_->controls().sqlBox, QStringLiteral("x"));
    QVERIFY2(w_->controls().sqlBox->toPlainText() != before, "other keys still type into the box");
}

void FrmMainSheetTest::rowBoxKeepsItsEditingKeys() {
    QLineEdit* box = w_->controls().toolbar->sizeBoxes()->rowsBox;
    w_->controls().toolbar->show();
    box->setFocus();
    QTRY_VERIFY(box->hasFocus());
    QSignalSpy copy(entry(*w_, "mnuEditCopy"), &QAction::triggered);
    QSignalSpy selectAll(entry(*w_, "mnuSelectAll"), &QAction::triggered);
    QTest::keySequence(box, QKeySequence("Ctrl+A"));
    QTest::keySequence(box, QKeySequence("Ctrl+C"));
    QCOMPARE(copy.count(), 0);
    QCOMPARE(selectAll.count(), 0);
    QCOMPARE(box->selectedText(), QStringLiteral("50"));
}

void FrmMainSheetTest::mouseMoveResetsThePointer() {
    for (QWidget* pane : {static_cast<QWidget*>(w_->controls().captionPanel),
                          static_cast<QWidget*>(w_->controls().tabStrip), w_->controls().client}) {
        run_->desktop.setPointer(ui::Desktop::Pointer::SizeNS);
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), pane->mapToGlobal(QPointF(5, 5)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(pane, &move);
        QCOMPARE(run_->desktop.pointer(), ui::Desktop::Pointer::Default);
    }
}

void FrmMainSheetTest::resizeLaysThePanesOut() {
    w_->resize(900, 700);
    QTRY_COMPARE(w_->controls().client->width(), 900);
    const auto& g = w_->viewLayout().panes();
    QCOMPARE(g[ui::Pane::dataSheet].left, g[ui::Pane::verticalSplitter].left + 60);
    QCOMPARE(g[ui::Pane::dataSheet].left + g[ui::Pane::dataSheet].width,
             w_->viewLayout().toTwipsX(w_->controls().client->width()));
    QCOMPARE(g[ui::Pane::databaseTree].width, g[ui::Pane::verticalSplitter].left);
    QCOMPARE(g[ui::Pane::tabStrip].top, g[ui::Pane::horizontalSplitter].top + 60);
    QCOMPARE(w_->controls().dataSheet->geometry(), ui::toPixels(g[ui::Pane::dataSheet], 96, 96));
    QCOMPARE(w_->controls().formView->geometry(), ui::toPixels(g[ui::Pane::formView], 96, 96));
    QCOMPARE(w_->controls().captionPanel->geometry(), w_->controls().databaseTree->geometry());
    QVERIFY(w_->controls().statusPanels->geometry().bottom() ==
            w_->controls().client->height() - 1);
    QCOMPARE(w_->controls().formView->colWidth(1), g.formViewColumn1Width);
}

void FrmMainSheetTest::mouseModeEntriesSwitchModes() {
    QAction* row = entry(*w_, "mnuMouseMode(0)");
    QAction* block = entry(*w_, "mnuMouseMode(1)");
    block->trigger();
    QVERIFY(block->isChecked());
    QVERIFY(!row->isChecked());
    QVERIFY(w_->controls().toolbar->isPressed("BlockMode"));
    QCOMPARE(w_->controls().statusPanels->panelText(3), QStringLiteral("EDIT"));
    QCOMPARE(w_->controls().dataSheet->selectionModeCode(), int(sheet::Grid::SelectFree));
    QVERIFY(!entry(*w_, "mnuPUSetFlag")->isEnabled());
    w_->controls().toolbar->button("RowMode")->trigger();
    QVERIFY(row->isChecked());
    QVERIFY(!block->isChecked());
    QCOMPARE(w_->controls().statusPanels->panelText(3), QString());
    QCOMPARE(w_->controls().dataSheet->autoSearch(), 2);
    QVERIFY(entry(*w_, "mnuPUSetFlag")->isEnabled());
}

QTEST_MAIN(FrmMainSheetTest)
#include "tst_frm_main_sheet.moc"
