// Keyboard use of the real window: Copy with Titles (Ctrl+Shift+C) on the
// sheet, the form view and the other panes; View > Go to ... (Ctrl+1,
// Ctrl+2, Ctrl+3) moving the focus between the tree, the sheet and the SQL
// box; and the Tab order tree, sheet, tabs, SQL box.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>

#include "sheet/grid.h"
#include "sheet_driving.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/tab_strip.h"
#include "window_fixture.h"

namespace {

constexpr int kDataRows = 6;
constexpr int kCols = 4;

}  // namespace

class FrmMainKeyboardTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void copyWithTitlesPutsTheTitlesFirst();
    void copyWithTitlesOfWholeRowsAndOfTheFormView();
    void copyWithTitlesInTheSqlBoxCopiesItsText();
    void goToEntriesMoveTheFocus();
    void goToSkipsPanesThatAreNotShown();
    void tabGoesTreeSheetTabsSqlBox();

  private:
    void databaseLook();
    QString clipboard() const { return QGuiApplication::clipboard()->text(); }
    QAction* entry(const char* name) const { return w_->menus().action(QString::fromLatin1(name)); }
    void press(const char* keys) {
        QTest::keySequence(QApplication::focusWidget() ? QApplication::focusWidget() : w_,
                           QKeySequence(QString::fromLatin1(keys)));
    }

    std::unique_ptr<ToolbarWindowRun> window_;
    app::MainWindow* w_ = nullptr;
    sheet::Grid* fa_ = nullptr;
};

void FrmMainKeyboardTest::init() {
    window_ = std::make_unique<ToolbarWindowRun>();
    w_ = &window_->window();
    QVERIFY(QTest::qWaitForWindowExposed(w_));
    w_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w_));
    fa_ = w_->controls().dataSheet;
    fa_->setRows(kDataRows + 1);
    fa_->setCols(kCols);
    fillSheet(*fa_, kDataRows, QStringLiteral("T"));
    QGuiApplication::clipboard()->clear();
}

void FrmMainKeyboardTest::cleanup() {
    window_.reset();
}

// What the window shows while a database is open: the tree and the "SQL" tab.
void FrmMainKeyboardTest::databaseLook() {
    w_->controls().databaseTree->setVisible(true);
    w_->controls().tabStrip->setTabVisible(ui::TabStrip::Sql, true);
}

void FrmMainKeyboardTest::copyWithTitlesPutsTheTitlesFirst() {
    entry("mnuMouseMode(1)")->trigger();
    fa_->setFocus();
    QTRY_COMPARE(int(w_->sheetState().lastFocusedPane), 1);
    clickCell(*fa_, 2, 1);
    clickCell(*fa_, 3, 2, Qt::ShiftModifier);
    QVERIFY(entry("mnuEditCopyTitles")->isVisible());
    entry("mnuEditCopyTitles")->trigger();
    const QString expected =
        QStringLiteral("T1\tT2\n%1\t%2\n%3\t%4")
            .arg(cellText(2, 1), cellText(2, 2), cellText(3, 1), cellText(3, 2));
    QCOMPARE(clipboard(), expected);
    QCOMPARE(
        QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("text/tab-separated-values")),
        expected.toUtf8());
    // Ctrl+Shift+C on the sheet runs the same command; plain Copy still
    // leaves the titles out.
    QGuiApplication::clipboard()->clear();
    QTest::keySequence(fa_, QKeySequence(QStringLiteral("Ctrl+Shift+C")));
    QCOMPARE(clipboard(), expected);
    entry("mnuEditCopy")->trigger();
    QCOMPARE(clipboard(), expected.section(u'\n', 1));
}

void FrmMainKeyboardTest::copyWithTitlesOfWholeRowsAndOfTheFormView() {
    fa_->setFocus();
    QTRY_COMPARE(int(w_->sheetState().lastFocusedPane), 1);
    clickCell(*fa_, 4, 0);  // row and find mode: the whole row
    entry("mnuEditCopyTitles")->trigger();
    QCOMPARE(clipboard(), QStringLiteral("T0\tT1\tT2\tT3\n%1\t%2\t%3\t%4")
                              .arg(cellText(4, 0), cellText(4, 1), cellText(4, 2), cellText(4, 3)));
    // The form view's titles are its own column heads.
    w_->runSheetUpdate();
    sheet::Grid* fb = w_->controls().formView;
    fb->setFocus();
    QTRY_COMPARE(int(w_->sheetState().lastFocusedPane), 2);
    fb->select(1, 0, 2, 1);
    entry("mnuEditCopyTitles")->trigger();
    QCOMPARE(clipboard(),
             QStringLiteral("%1\t%2\nT0\t%3\nT1\t%4")
                 .arg(fb->textMatrix(0, 0), fb->textMatrix(0, 1), cellText(4, 0), cellText(4, 1)));
    QVERIFY(!fb->textMatrix(0, 0).isEmpty());
}

void FrmMainKeyboardTest::copyWithTitlesInTheSqlBoxCopiesItsText() {
    databaseLook();
    w_->sqlWorkbench().setText(QStringLiteral("SELECT *\r\nFROM T"));
    entry("mnuFocusSql")->trigger();
    QTRY_COMPARE(int(w_->sheetState().lastFocusedPane), 3);
    w_->controls().sqlBox->selectAll();
    press("Ctrl+Shift+C");
    QCOMPARE(clipboard(), QStringLiteral("SELECT *\r\nFROM T"));
    QCOMPARE(w_->sqlWorkbench().text(), QStringLiteral("SELECT *\r\nFROM T"));
}

void FrmMainKeyboardTest::goToEntriesMoveTheFocus() {
    databaseLook();
    QTreeWidget* tree = w_->controls().databaseTree;
    QPlainTextEdit* box = w_->controls().sqlBox;
    for (const char* name : {"mnuFocusTree", "mnuFocusSheet", "mnuFocusSql", "mnuSpaceV6"}) {
        QVERIFY2(entry(name)->isVisible(), name);
    }
    QCOMPARE(entry("mnuFocusSql")->shortcut(), QKeySequence(QStringLiteral("Ctrl+3")));
    press("Ctrl+1");
    QTRY_VERIFY(tree->hasFocus());
    QCOMPARE(int(w_->sheetState().lastFocusedPane), 4);
    QVERIFY(!entry("mnuEditCut")->isEnabled());
    press("Ctrl+3");
    QTRY_VERIFY(box->hasFocus());
    QCOMPARE(w_->controls().tabStrip->currentPage(), int(ui::TabStrip::Sql));
    QCOMPARE(int(w_->sheetState().lastFocusedPane), 3);
    // From the SQL box too: the box does not keep Ctrl+2 for itself.
    press("Ctrl+2");
    QTRY_VERIFY(fa_->hasFocus());
    QCOMPARE(int(w_->sheetState().lastFocusedPane), 1);
    QVERIFY(entry("mnuEditCut")->isEnabled());
    QCOMPARE(w_->sqlWorkbench().text(), QStringLiteral("SELECT \r\n FROM \r\n \r\n"));
}

// In file mode the tree and the "SQL" tab are away: the keys leave the
// focus where it is.
void FrmMainKeyboardTest::goToSkipsPanesThatAreNotShown() {
    entry("mnuNew")->trigger();
    QVERIFY(!w_->controls().databaseTree->isVisible());
    press("Ctrl+2");
    QTRY_VERIFY(fa_->hasFocus());
    press("Ctrl+1");
    press("Ctrl+3");
    QVERIFY(fa_->hasFocus());
    QCOMPARE(w_->controls().tabStrip->currentPage(), int(ui::TabStrip::Form));
}

void FrmMainKeyboardTest::tabGoesTreeSheetTabsSqlBox() {
    databaseLook();
    w_->controls().tabStrip->setCurrentPage(ui::TabStrip::Sql);
    entry("mnuFocusTree")->trigger();
    QTRY_VERIFY(w_->controls().databaseTree->hasFocus());
    press("Tab");
    QTRY_VERIFY(fa_->hasFocus());
    const int row = fa_->row(), col = fa_->col();
    press("Tab");
    QTRY_VERIFY(w_->controls().tabStrip->tabBar()->hasFocus());
    QCOMPARE(fa_->row(), row);  // Tab left the sheet rather than moving in it
    QCOMPARE(fa_->col(), col);
    press("Tab");
    QTRY_VERIFY(w_->controls().sqlBox->hasFocus());
    press("Tab");  // and leaves the box rather than going into the statement
    QTRY_VERIFY(!w_->controls().sqlBox->hasFocus());
    QVERIFY(!w_->sqlWorkbench().text().contains(u'\t'));
    QCOMPARE(QApplication::focusWidget(), w_->controls().sqlButtons.run);
    press("Shift+Tab");
    QTRY_VERIFY(w_->controls().sqlBox->hasFocus());
}

QTEST_MAIN(FrmMainKeyboardTest)
#include "tst_frm_main_keyboard.moc"
