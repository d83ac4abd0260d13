// The main toolbar in the real main window, every button clicked as a user
// clicks it: each key runs its command exactly once, the two-state and
// grouped buttons stay in step with their menu entries, "Statistics" and
// "Barchart" reach the analysis commands, and "Save", "Cut" and "Paste" run
// nothing at all.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <vector>

#include "sheet/grid.h"
#include "sheet_driving.h"
#include "ui/caption_panel.h"
#include "ui/color_palette.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/status_panels.h"
#include "ui/tab_strip.h"
#include "window_fixture.h"

using sheet::CellSetting;

namespace {

constexpr uint32_t kRed = 0x0000FF;

// Eight data rows; column 1 holds numbers (10, 20, ...).
void fillNumberedSheet(sheet::Grid& fa) {
    fa.setRows(9);
    fillSheet(fa, 8);
    for (int r = 1; r < fa.rows(); ++r) {
        fa.setTextMatrix(r, 1, QString::number(r * 10));
    }
}

// Every text of the sheet, to tell whether a command touched it.
QString sheetText(const sheet::Grid& fa) {
    QString all;
    for (int r = 0; r < fa.rows(); ++r) {
        for (int c = 0; c < fa.cols(); ++c) {
            all += fa.textMatrix(r, c) + QLatin1Char('\t');
        }
        all += QLatin1Char('\n');
    }
    return all;
}

}  // namespace

class FrmMainToolbarTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    // Plain buttons.
    void newEmptiesTheSheet();
    void openAsksForAFile();
    void copyRunsTheEditMenusCopy();
    void saveCutPasteRunNothing();
    void colourButtonsChooseAndReapply();
    void mergeFlipsTheCurrentColumnOnce();
    void flagButtonFlagsTheSelectedRows();
    // Two-state and grouped buttons.
    void styleButtonsSetOnceAndClearOnce_data();
    void styleButtonsSetOnceAndClearOnce();
    void rowModeReselectsTheCurrentRow();
    void modeGroupFollowsButtonsAndMenus();
    void dragModeTwiceReturnsToTheFirstState();
    void alternateColorButtonAndMenuStayInStep();
    // Analysis.
    void statisticsRunsOnceThenOnlyShowsPressed();
    void barchartTogglesTheCurrentColumnsBars();

  private:
    void press(const char* key);
    QAction* entry(const char* name) const { return w_->menus().action(QString::fromLatin1(name)); }

    std::unique_ptr<ToolbarWindowRun> window_;
    app::MainWindow* w_ = nullptr;
};

void FrmMainToolbarTest::init() {
    window_ = std::make_unique<ToolbarWindowRun>();
    w_ = &window_->window();
    QVERIFY(QTest::qWaitForWindowExposed(w_));
    fillNumberedSheet(*w_->controls().dataSheet);
}

void FrmMainToolbarTest::cleanup() {
    window_.reset();
}

// A click on the button's own widget, as a user does it.
void FrmMainToolbarTest::press(const char* key) {
    QAction* action = w_->controls().toolbar->button(QString::fromLatin1(key));
    QVERIFY2(action, key);
    QWidget* button = w_->controls().toolbar->widgetForAction(action);
    QVERIFY2(button, key);
    QTRY_VERIFY2(button->isVisible(), key);  // a button just shown is laid out later
    QTest::mouseClick(button, Qt::LeftButton);
}

void FrmMainToolbarTest::newEmptiesTheSheet() {
    press("New");
    QCOMPARE(w_->controls().dataSheet->textMatrix(2, 3), QString());
    QCOMPARE(w_->controls().dataSheet->textMatrix(0, 0), QString());
    QVERIFY(w_->controls().captionPanel->isVisible());
    QVERIFY(entry("mnuAddFlagCol")->isEnabled());
    QVERIFY(window_->run.dialogs.asked.isEmpty());
}

void FrmMainToolbarTest::openAsksForAFile() {
    const QString before = sheetText(*w_->controls().dataSheet);
    press("Open");  // the scripted dialog answers Cancel
    QCOMPARE(window_->run.dialogs.asked.size(), 1);
    QCOMPARE(window_->run.dialogs.asked.first().kind, QStringLiteral("open"));
    QCOMPARE(window_->run.dialogs.asked.first().title, QStringLiteral("Open"));
    QCOMPARE(sheetText(*w_->controls().dataSheet), before);
}

void FrmMainToolbarTest::copyRunsTheEditMenusCopy() {
    QSignalSpy copy(entry("mnuEditCopy"), &QAction::triggered);
    press("Copy");
    QCOMPARE(copy.count(), 1);
}

void FrmMainToolbarTest::saveCutPasteRunNothing() {
    clickCell(*w_->controls().dataSheet, 3, 2);
    QApplication::clipboard()->setText(QStringLiteral("from elsewhere"));
    const QString before = sheetText(*w_->controls().dataSheet);
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    // Every menu-bar and pop-up entry; the toolbar's own actions report the
    // clicks themselves.
    for (QAction* action : w_->findChildren<QAction*>()) {
        if (!action->objectName().startsWith(QLatin1String("Toolbar."))) {
            spies.push_back(std::make_unique<QSignalSpy>(action, &QAction::triggered));
        }
    }
    QVERIFY(spies.size() > 40);
    for (const char* key : {"Save", "Cut", "Paste"}) {
        press(key);
        QVERIFY(!w_->controls().toolbar->isPressed(QString::fromLatin1(key)));
    }
    w_->runToolbarButton(w_->actions().exit);  // an action that is no toolbar button
    for (const auto& spy : spies) {
        QCOMPARE(spy->count(), 0);
    }
    QCOMPARE(sheetText(*w_->controls().dataSheet), before);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("from elsewhere"));
    QVERIFY(window_->run.dialogs.asked.isEmpty());
    QCOMPARE(w_->controls().dataSheet->row(), 3);
}

void FrmMainToolbarTest::colourButtonsChooseAndReapply() {
    QTest::keyClick(w_->controls().dataSheet, Qt::Key_F7);
    clickCell(*w_->controls().dataSheet, 2, 3);
    press("Acolor");
    QVERIFY(w_->controls().fontPalette->isVisible());
    QCOMPARE(w_->controls().dataSheet->cell(CellSetting::ForeColor, 2, 3).toUInt() == kRed, false);
    QTest::mouseClick(w_->controls().fontPalette->swatch(1), Qt::LeftButton);
    QVERIFY(!w_->controls().fontPalette->isVisible());
    QCOMPARE(w_->controls().dataSheet->cell(CellSetting::ForeColor, 2, 3).toUInt(), kRed);
    clickCell(*w_->controls().dataSheet, 5, 0);
    press("A");
    QVERIFY(!w_->controls().fontPalette->isVisible());
    QCOMPARE(w_->controls().dataSheet->cell(CellSetting::ForeColor, 5, 0).toUInt(), kRed);
    QVERIFY(w_->controls().dataSheet->cell(CellSetting::ForeColor, 5, 1).toUInt() != kRed);
}

// A command that ran twice would flip the column back.
void FrmMainToolbarTest::mergeFlipsTheCurrentColumnOnce() {
    clickCell(*w_->controls().dataSheet, 2, 4);
    press("Merge");
    QVERIFY(w_->controls().dataSheet->colMerge(4));
    QVERIFY(!w_->controls().dataSheet->colMerge(3));
    press("Merge");
    QVERIFY(!w_->controls().dataSheet->colMerge(4));
}

void FrmMainToolbarTest::flagButtonFlagsTheSelectedRows() {
    QVERIFY(!w_->controls().toolbar->button(QStringLiteral("Flag"))->isVisible());
    entry("mnuAddFlagCol")->trigger();
    clickCell(*w_->controls().dataSheet, 2, 3);
    clickCell(*w_->controls().dataSheet, 4, 3, Qt::ShiftModifier);
    press("Flag");
    const int flag = w_->sheetState().flagColumn;
    for (int r = 1; r < w_->controls().dataSheet->rows(); ++r) {
        const bool flagged = r >= 2 && r <= 4;
        QCOMPARE(w_->controls().dataSheet->textMatrix(r, flag),
                 flagged ? QStringLiteral(" ") : QString());
    }
    press("Flag");
    QCOMPARE(w_->controls().dataSheet->textMatrix(3, flag), QString());
}

void FrmMainToolbarTest::styleButtonsSetOnceAndClearOnce_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("style");
    QTest::newRow("bold") << QStringLiteral("Bold") << int(CellSetting::Bold);
    QTest::newRow("italic") << QStringLiteral("Italic") << int(CellSetting::Italic);
    QTest::newRow("underline") << QStringLiteral("Underline") << int(CellSetting::Underline);
}

void FrmMainToolbarTest::styleButtonsSetOnceAndClearOnce() {
    QFETCH(QString, key);
    QFETCH(int, style);
    const auto setting = CellSetting(style);
    clickCell(*w_->controls().dataSheet, 3, 2);
    press(key.toLatin1().constData());
    QVERIFY(w_->controls().toolbar->isPressed(key));
    QVERIFY(w_->controls().dataSheet->cell(setting, 3, 0).toBool());
    QVERIFY(
        w_->controls().dataSheet->cell(setting, 3, w_->controls().dataSheet->cols() - 1).toBool());
    QVERIFY(!w_->controls().dataSheet->cell(setting, 4, 2).toBool());
    // Moving onto the styled cell shows the button pressed; a click clears.
    clickCell(*w_->controls().dataSheet, 5, 2);
    QVERIFY(!w_->controls().toolbar->isPressed(key));
    clickCell(*w_->controls().dataSheet, 3, 2);
    QVERIFY(w_->controls().toolbar->isPressed(key));
    press(key.toLatin1().constData());
    QVERIFY(!w_->controls().toolbar->isPressed(key));
    QVERIFY(!w_->controls().dataSheet->cell(setting, 3, 2).toBool());
}

void FrmMainToolbarTest::rowModeReselectsTheCurrentRow() {
    clickCell(*w_->controls().dataSheet, 2, 3);
    clickCell(*w_->controls().dataSheet, 5, 3, Qt::ControlModifier);
    QCOMPARE(w_->controls().dataSheet->selectedRows(), 2);
    press("RowMode");
    QVERIFY(w_->controls().toolbar->isPressed("RowMode"));
    QVERIFY(entry("mnuMouseMode(0)")->isChecked());
    QCOMPARE(w_->controls().dataSheet->selectedRows(), 1);
    QCOMPARE(w_->controls().dataSheet->selectedRow(0), w_->controls().dataSheet->row());
    QCOMPARE(w_->controls().dataSheet->clip().split(QLatin1Char('\t')).size(),
             w_->controls().dataSheet->cols());
}

void FrmMainToolbarTest::modeGroupFollowsButtonsAndMenus() {
    for (int click = 0; click < 2; ++click) {
        press("BlockMode");
        QVERIFY(w_->controls().toolbar->isPressed("BlockMode"));
        QVERIFY(!w_->controls().toolbar->isPressed("RowMode"));
        QVERIFY(entry("mnuMouseMode(1)")->isChecked());
        QVERIFY(!entry("mnuMouseMode(0)")->isChecked());
        QCOMPARE(w_->controls().statusPanels->panelText(3), QStringLiteral("EDIT"));
        QCOMPARE(w_->controls().dataSheet->selectionModeCode(), int(sheet::Grid::SelectFree));
    }
    QTest::keyClick(w_->controls().dataSheet, Qt::Key_F6);
    QVERIFY(w_->controls().toolbar->isPressed("RowMode"));
    QVERIFY(!w_->controls().toolbar->isPressed("BlockMode"));
    QCOMPARE(w_->controls().statusPanels->panelText(3), QString());
    QTest::keyClick(w_->controls().dataSheet, Qt::Key_F7);
    QVERIFY(w_->controls().toolbar->isPressed("BlockMode"));
    press("RowMode");
    QVERIFY(entry("mnuMouseMode(0)")->isChecked());
    QVERIFY(!entry("mnuMouseMode(1)")->isChecked());
    QCOMPARE(w_->controls().dataSheet->autoSearch(), 2);
}

void FrmMainToolbarTest::dragModeTwiceReturnsToTheFirstState() {
    press("DragMode");
    QVERIFY(w_->controls().toolbar->isPressed("DragMode"));
    QVERIFY(entry("mnuDragDrop")->isChecked());
    QCOMPARE(w_->controls().dataSheet->oleDragMode(), 1);
    QCOMPARE(w_->controls().statusPanels->panelText(4), QStringLiteral("DRAG"));
    press("DragMode");
    QVERIFY(!w_->controls().toolbar->isPressed("DragMode"));
    QVERIFY(!entry("mnuDragDrop")->isChecked());
    QCOMPARE(w_->controls().dataSheet->oleDragMode(), 0);
    QCOMPARE(w_->controls().statusPanels->panelText(4), QString());
    // The menu entry sets the button in turn.
    QTest::keyClick(w_->controls().dataSheet, Qt::Key_F8);
    QVERIFY(w_->controls().toolbar->isPressed("DragMode"));
    press("DragMode");
    QVERIFY(!entry("mnuDragDrop")->isChecked());
    QCOMPARE(w_->controls().statusPanels->panelText(4), QString());
}

void FrmMainToolbarTest::alternateColorButtonAndMenuStayInStep() {
    QVERIFY(!entry("mnuAlternateColor")->isChecked());
    press("AlternateColor");
    QVERIFY(entry("mnuAlternateColor")->isChecked());
    QVERIFY(w_->sheetState().alternateColorOn);
    QCOMPARE(w_->controls().dataSheet->backColorAlternate(), uint32_t(0xC0FFC0));
    entry("mnuAlternateColor")->trigger();
    QVERIFY(!w_->controls().toolbar->isPressed("AlternateColor"));
    QVERIFY(!w_->sheetState().alternateColorOn);
    QVERIFY(w_->controls().dataSheet->backColorAlternate() != uint32_t(0xC0FFC0));
}

// The run toggles the current column's bars; a second click while the
// command is disabled must not run it again (which would remove them).
void FrmMainToolbarTest::statisticsRunsOnceThenOnlyShowsPressed() {
    clickCell(*w_->controls().dataSheet, 2, 1);
    QVERIFY(!w_->controls().toolbar->button(QStringLiteral("Barchart"))->isVisible());
    press("Statistics");
    QVERIFY(w_->controls().toolbar->isPressed("Statistics"));
    QVERIFY(!entry("mnuAnalysis")->isEnabled());
    QCOMPARE(w_->controls().tabStrip->currentPage(), int(ui::TabStrip::ColumnStatistics));
    QVERIFY(w_->controls().toolbar->button(QStringLiteral("Barchart"))->isVisible());
    const double bar = w_->controls().dataSheet->cell(CellSetting::BarFillPercent, 8, 1).toDouble();
    QVERIFY(bar > 0);
    press("Statistics");  // the click shows it up; the command presses it again
    QVERIFY(w_->controls().toolbar->isPressed("Statistics"));
    QCOMPARE(w_->controls().dataSheet->cell(CellSetting::BarFillPercent, 8, 1).toDouble(), bar);
}

void FrmMainToolbarTest::barchartTogglesTheCurrentColumnsBars() {
    clickCell(*w_->controls().dataSheet, 2, 1);
    press("Statistics");
    QVERIFY(w_->controls().dataSheet->cell(CellSetting::BarFillPercent, 8, 1).toDouble() > 0);
    press("Barchart");
    QCOMPARE(w_->controls().dataSheet->cell(CellSetting::BarFillPercent, 8, 1).toDouble(), 0.0);
    press("Barchart");
    QVERIFY(w_->controls().dataSheet->cell(CellSetting::BarFillPercent, 8, 1).toDouble() > 0);
    QVERIFY(!w_->controls().toolbar->isPressed("Barchart"));
}

QTEST_MAIN(FrmMainToolbarTest)
#include "tst_frm_main_toolbar.moc"
