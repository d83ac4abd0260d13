// Undo and Redo of sheet edits in the real main window, driven through the
// Edit menu and the keys Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z: every kind of edit
// comes back exactly as it was before (texts, styles, number formats, the
// sheet's shape, the flag column), redo gives the edited sheet again, the
// entries name their step and are offered only when there is one, whatever
// the history cannot follow clears it, and in the SQL box the keys and the
// entries act on the statement's text.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <functional>

#include "app/sheet_undo.h"
#include "sheet/grid.h"
#include "sheet/grid_model.h"
#include "sheet_driving.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/size_boxes.h"
#include "ui/tab_strip.h"
#include "window_fixture.h"

using sheet::CellSetting;

namespace {

constexpr int kDataRows = 9;
constexpr int kCols = 5;

// Everything an edit may change: shape, titles, texts, bold cells, column
// formats, the flag column's state and the size boxes.
QString sheetPicture(app::MainWindow& w) {
    const sheet::Grid& grid = *w.controls().dataSheet;
    QStringList lines;
    lines << QStringLiteral("%1x%2 flag %3@%4 boxes %5/%6")
                 .arg(grid.rows())
                 .arg(grid.cols())
                 .arg(w.sheetState().flagColumnPresent)
                 .arg(w.sheetState().flagColumn)
                 .arg(w.controls().toolbar->sizeBoxes()->rowsBox->text(),
                      w.controls().toolbar->sizeBoxes()->colsBox->text());
    QStringList formats;
    for (int c = 0; c < grid.cols(); ++c) {
        formats << grid.colFormat(c);
    }
    lines << formats.join(u',');
    for (int r = 0; r < grid.rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid.cols(); ++c) {
            QString cell = grid.textMatrix(r, c);
            if (r > 0 && grid.cell(CellSetting::Bold, r, c).toBool()) {
                cell += u'*';
            }
            cells << cell;
        }
        lines << cells.join(u',');
    }
    return lines.join(u'\n');
}

}  // namespace

class FrmMainUndoTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void everyEditUndoesAndRedoes_data();
    void everyEditUndoesAndRedoes();
    void entriesOfferOnlyWhatThereIs();
    void severalStepsGoBackInOrder();
    void deletedFlagColumnComesBackWithItsEntry();
    void filteredPasteTakesBackOnlyTheShownRows();
    void whatTheHistoryCannotFollowClearsIt_data();
    void whatTheHistoryCannotFollowClearsIt();
    void sqlBoxUndoesItsOwnText();
    void deletingRowsOfABigSheetKeepsOnlyThoseRows();

  private:
    QAction* entry(const char* name) const { return w_->menus().action(QString::fromLatin1(name)); }
    void blockMode() { entry("mnuMouseMode(1)")->trigger(); }
    void focusSheet();
    void pressOnSheet(const char* keys);

    std::unique_ptr<ToolbarWindowRun> window_;
    app::MainWindow* w_ = nullptr;
    sheet::Grid* fa_ = nullptr;
};

void FrmMainUndoTest::init() {
    window_ = std::make_unique<ToolbarWindowRun>();
    w_ = &window_->window();
    QVERIFY(QTest::qWaitForWindowExposed(w_));
    fa_ = w_->controls().dataSheet;
    // As a file sheet arrives: the history starts empty.
    fa_->setRows(kDataRows + 1);
    fa_->setCols(kCols);
    fillSheet(*fa_, kDataRows, QStringLiteral("T"));
    w_->undo().clear();
    w_->modes().showSheetSize();
    QGuiApplication::clipboard()->clear();
}

void FrmMainUndoTest::cleanup() {
    window_.reset();
}

void FrmMainUndoTest::focusSheet() {
    fa_->setFocus();
    QTRY_COMPARE(int(w_->sheetState().lastFocusedPane), 1);
}

void FrmMainUndoTest::pressOnSheet(const char* keys) {
    QTest::keySequence(fa_, QKeySequence(QString::fromLatin1(keys)));
}

using Edit = std::function<void(app::MainWindow&, sheet::Grid&, ui::ScriptedDialogs&)>;
Q_DECLARE_METATYPE(Edit)

void FrmMainUndoTest::everyEditUndoesAndRedoes_data() {
    QTest::addColumn<Edit>("setUp");  // formats the edit should keep
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("label");
    const Edit nothing = [](app::MainWindow&, sheet::Grid&, ui::ScriptedDialogs&) {};
    const auto trigger = [](app::MainWindow& w, const char* name) {
        w.menus().action(QString::fromLatin1(name))->trigger();
    };
    const auto block = [trigger](app::MainWindow& w, sheet::Grid& fa, int r1, int c1, int r2,
                                 int c2) {
        trigger(w, "mnuMouseMode(1)");
        clickCell(fa, r1, c1);
        clickCell(fa, r2, c2, Qt::ShiftModifier);
    };
    QTest::newRow("paste") << nothing
                           << Edit([block, trigger](app::MainWindow& w, sheet::Grid& fa, auto&) {
                                  block(w, fa, 3, 1, 3, 1);
                                  QGuiApplication::clipboard()->setText(
                                      QStringLiteral("x\ty\r\n\"q\"\tz\r\nlast"));
                                  trigger(w, "mnuEditPaste");
                              })
                           << QStringLiteral("Paste");
    QTest::newRow("cut") << Edit([](app::MainWindow&, sheet::Grid& fa, auto&) {
        fa.setCell(CellSetting::Bold, 2, 2, true);
    }) << Edit([block, trigger](app::MainWindow& w, sheet::Grid& fa, auto&) {
        block(w, fa, 2, 1, 4, 3);
        trigger(w, "mnuEditCut");
    }) << QStringLiteral("Cut");
    QTest::newRow("insert row") << nothing
                                << Edit([trigger](app::MainWindow& w, sheet::Grid& fa, auto&) {
                                       clickCell(fa, 4, 0);
                                       trigger(w, "mnuInsertRow");
                                   })
                                << QStringLiteral("Insert Row");
    QTest::newRow("insert column")
        << nothing << Edit([trigger](app::MainWindow& w, sheet::Grid& fa, auto&) {
               clickCell(fa, 2, 1);
               trigger(w, "mnuPUInsertCol");
           })
        << QStringLiteral("Insert Column");
    QTest::newRow("delete rows") << Edit([](app::MainWindow&, sheet::Grid& fa, auto&) {
        fa.setCell(CellSetting::Bold, 7, 1, true);
    }) << Edit([trigger](app::MainWindow& w, sheet::Grid& fa, auto&) {
        clickCell(fa, 3, 1);
        clickCell(fa, 7, 1, Qt::ControlModifier);
        trigger(w, "mnuDeleteRow");
    }) << QStringLiteral("Delete Rows");
    QTest::newRow("delete column") << Edit([](app::MainWindow&, sheet::Grid& fa, auto&) {
        fa.setColFormat(2, QStringLiteral("0.00"));
        fa.setTextMatrix(5, 2, QStringLiteral("12.5"));
    }) << Edit([trigger](app::MainWindow& w, sheet::Grid& fa, auto&) {
        clickCell(fa, 2, 2);
        trigger(w, "mnuDeleteCol");
    }) << QStringLiteral("Delete Column");
    QTest::newRow("column title") << nothing
                                  << Edit([trigger](app::MainWindow& w, sheet::Grid& fa,
                                                    ui::ScriptedDialogs& dialogs) {
                                         clickCell(fa, 2, 3);
                                         dialogs.texts << QStringLiteral("Renamed");
                                         trigger(w, "mnuEditColTitle");
                                     })
                                  << QStringLiteral("Column Title");
    QTest::newRow("header row") << nothing
                                << Edit([trigger](app::MainWindow& w, sheet::Grid& fa, auto&) {
                                       clickCell(fa, 3, 0);
                                       trigger(w, "mnuSetColHeaderRow");
                                   })
                                << QStringLiteral("Set Column Header Row");
    QTest::newRow("typed cell") << nothing
                                << Edit([trigger](app::MainWindow& w, sheet::Grid& fa, auto&) {
                                       trigger(w, "mnuMouseMode(1)");
                                       clickCell(fa, 6, 2);
                                       trigger(w, "mnuPUEditCell");
                                       auto* editor = fa.viewport()->findChild<QLineEdit*>();
                                       QVERIFY(editor && editor->isVisible());
                                       editor->setText(QStringLiteral("typed ü"));
                                       QTest::keyClick(editor, Qt::Key_Return);
                                       QTRY_COMPARE(fa.textMatrix(6, 2), QStringLiteral("typed ü"));
                                   })
                                << QStringLiteral("Typing");
    QTest::newRow("column format")
        << nothing << Edit([trigger](app::MainWindow& w, sheet::Grid& fa, auto&) {
               clickCell(fa, 2, 4);
               trigger(w, "mnuFormatDollarComma00");
           })
        << QStringLiteral("Column Format");
    QTest::newRow("bold") << nothing << Edit([block](app::MainWindow& w, sheet::Grid& fa, auto&) {
        block(w, fa, 2, 0, 3, 1);
        w.controls().toolbar->buttons().bold->trigger();
    }) << QStringLiteral("Bold");
}

void FrmMainUndoTest::everyEditUndoesAndRedoes() {
    QFETCH(Edit, setUp);
    QFETCH(Edit, edit);
    QFETCH(QString, label);
    focusSheet();
    setUp(*w_, *fa_, window_->run.dialogs);
    const QString before = sheetPicture(*w_);
    edit(*w_, *fa_, window_->run.dialogs);
    if (QTest::currentTestFailed()) {
        return;
    }
    const QString after = sheetPicture(*w_);
    QVERIFY(after != before);
    QCOMPARE(entry("mnuUndo")->text(), QStringLiteral("&Undo ") + label);
    QVERIFY(entry("mnuUndo")->isEnabled());
    QVERIFY(!entry("mnuRedo")->isEnabled());
    focusSheet();
    pressOnSheet("Ctrl+Z");
    QCOMPARE(sheetPicture(*w_), before);
    QVERIFY(!entry("mnuUndo")->isEnabled());
    QCOMPARE(entry("mnuRedo")->text(), QStringLiteral("&Redo ") + label);
    pressOnSheet("Ctrl+Y");
    QCOMPARE(sheetPicture(*w_), after);
    entry("mnuUndo")->trigger();
    QCOMPARE(sheetPicture(*w_), before);
    pressOnSheet("Ctrl+Shift+Z");
    QCOMPARE(sheetPicture(*w_), after);
}

void FrmMainUndoTest::entriesOfferOnlyWhatThereIs() {
    QVERIFY(entry("mnuUndo")->isVisible());
    QVERIFY(!entry("mnuUndo")->isEnabled());
    QVERIFY(!entry("mnuRedo")->isEnabled());
    QCOMPARE(entry("mnuUndo")->text(), QStringLiteral("&Undo"));
    QCOMPARE(entry("mnuRedo")->shortcuts(),
             (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Y")),
                                  QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));
    focusSheet();
    // Nothing to undo: the key changes nothing.
    const QString start = sheetPicture(*w_);
    pressOnSheet("Ctrl+Z");
    QCOMPARE(sheetPicture(*w_), start);
    clickCell(*fa_, 2, 0);
    entry("mnuInsertRow")->trigger();
    entry("mnuUndo")->trigger();
    QVERIFY(entry("mnuRedo")->isEnabled());
    // A new edit drops what could be redone.
    clickCell(*fa_, 5, 0);
    entry("mnuDeleteRow")->trigger();
    QVERIFY(!entry("mnuRedo")->isEnabled());
    QCOMPARE(entry("mnuRedo")->text(), QStringLiteral("&Redo"));
    QCOMPARE(entry("mnuUndo")->text(), QStringLiteral("&Undo Delete Rows"));
}

void FrmMainUndoTest::severalStepsGoBackInOrder() {
    focusSheet();
    QStringList pictures{sheetPicture(*w_)};
    clickCell(*fa_, 2, 1);
    entry("mnuInsertCol")->trigger();
    pictures << sheetPicture(*w_);
    clickCell(*fa_, 4, 3);
    entry("mnuDeleteRow")->trigger();
    pictures << sheetPicture(*w_);
    blockMode();
    clickCell(*fa_, 1, 0);
    QGuiApplication::clipboard()->setText(QStringLiteral("a\tb\tc"));
    entry("mnuEditPaste")->trigger();
    pictures << sheetPicture(*w_);
    clickCell(*fa_, 3, 3);
    entry("mnuDeleteCol")->trigger();
    pictures << sheetPicture(*w_);
    focusSheet();
    for (int i = int(pictures.size()) - 2; i >= 0; --i) {
        pressOnSheet("Ctrl+Z");
        QCOMPARE(sheetPicture(*w_), pictures[i]);
    }
    QVERIFY(!entry("mnuUndo")->isEnabled());
    for (int i = 1; i < int(pictures.size()); ++i) {
        pressOnSheet("Ctrl+Y");
        QCOMPARE(sheetPicture(*w_), pictures[i]);
    }
    // The form view follows the sheet after each step.
    QCOMPARE(w_->controls().formView->rows(), fa_->cols() + 1);
}

void FrmMainUndoTest::deletedFlagColumnComesBackWithItsEntry() {
    entry("mnuAddFlagCol")->trigger();
    w_->undo().clear();  // adding the column is no step of its own
    doubleClickCell(*fa_, 3, 1);
    QCOMPARE(fa_->textMatrix(3, 0), QStringLiteral(" "));
    clickCell(*fa_, 2, 0);
    entry("mnuDeleteCol")->trigger();
    QVERIFY(!w_->sheetState().flagColumnPresent);
    QVERIFY(entry("mnuAddFlagCol")->isEnabled());
    entry("mnuUndo")->trigger();
    QVERIFY(w_->sheetState().flagColumnPresent);
    QCOMPARE(w_->sheetState().flagColumn, 0);
    QCOMPARE(fa_->textMatrix(0, 0), QStringLiteral("Flag"));
    QCOMPARE(fa_->textMatrix(3, 0), QStringLiteral(" "));
    QVERIFY(!fa_->cellPicture(3, 0).isNull());
    QVERIFY(!entry("mnuAddFlagCol")->isEnabled());
    QVERIFY(w_->controls().toolbar->buttons().flag->isVisible());
    entry("mnuRedo")->trigger();
    QVERIFY(!w_->sheetState().flagColumnPresent);
    QVERIFY(entry("mnuAddFlagCol")->isEnabled());
}

// With a filter on, Paste fills the shown rows only; Undo puts back exactly
// those and leaves the hidden ones alone.
void FrmMainUndoTest::filteredPasteTakesBackOnlyTheShownRows() {
    const std::vector<int> shown{2, 5, 8};
    fa_->showOnlyRows(shown);
    const QString before = sheetPicture(*w_);
    blockMode();
    focusSheet();
    clickCell(*fa_, 1, 1);  // the first shown row
    QCOMPARE(fa_->row(), 2);
    QGuiApplication::clipboard()->setText(QStringLiteral("p\nq\nr"));
    entry("mnuEditPaste")->trigger();
    QCOMPARE(fa_->textMatrix(5, 1), QStringLiteral("q"));
    QCOMPARE(fa_->textMatrix(3, 1), cellText(3, 1));
    pressOnSheet("Ctrl+Z");
    QCOMPARE(sheetPicture(*w_), before);
}

void FrmMainUndoTest::whatTheHistoryCannotFollowClearsIt_data() {
    QTest::addColumn<QString>("what");
    QTest::newRow("New") << QStringLiteral("new");
    QTest::newRow("sort") << QStringLiteral("sort");
    QTest::newRow("rows box") << QStringLiteral("rows box");
    QTest::newRow("flag column") << QStringLiteral("flag column");
}

void FrmMainUndoTest::whatTheHistoryCannotFollowClearsIt() {
    QFETCH(QString, what);
    clickCell(*fa_, 2, 0);
    entry("mnuInsertRow")->trigger();
    entry("mnuDeleteRow")->trigger();
    entry("mnuUndo")->trigger();
    QVERIFY(entry("mnuUndo")->isEnabled() && entry("mnuRedo")->isEnabled());
    if (what == u"new") {
        entry("mnuNew")->trigger();
    } else if (what == u"sort") {
        QHeaderView* titles = fa_->horizontalHeader();
        QTest::mouseClick(titles->viewport(), Qt::LeftButton, {},
                          QPoint(titles->sectionViewportPosition(1) + 5, titles->height() / 2));
    } else if (what == u"rows box") {
        QLineEdit* box = w_->controls().toolbar->sizeBoxes()->rowsBox;
        box->setText(QStringLiteral("4"));
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(fa_->rows(), 5);
    } else {
        entry("mnuAddFlagCol")->trigger();
    }
    QVERIFY(!entry("mnuUndo")->isEnabled());
    QVERIFY(!entry("mnuRedo")->isEnabled());
    QCOMPARE(entry("mnuUndo")->text(), QStringLiteral("&Undo"));
}

// Regression: Ctrl+Z typed in the SQL box must take back typing there, never
// a sheet edit the user is not looking at.
void FrmMainUndoTest::sqlBoxUndoesItsOwnText() {
    clickCell(*fa_, 2, 0);
    entry("mnuDeleteRow")->trigger();
    const QString edited = sheetPicture(*w_);
    QPlainTextEdit* box = w_->controls().sqlBox;
    w_->sqlWorkbench().setText(QString());
    w_->controls().tabStrip->setTabVisible(ui::TabStrip::Sql, true);
    w_->controls().tabStrip->setCurrentPage(ui::TabStrip::Sql);
    box->setFocus();
    QTRY_COMPARE(int(w_->sheetState().lastFocusedPane), 3);
    QVERIFY(!entry("mnuUndo")->isEnabled());  // the box has nothing to undo yet
    QTest::keyClicks(box, QStringLiteral("SELECT 1"));
    QVERIFY(entry("mnuUndo")->isEnabled());
    QCOMPARE(entry("mnuUndo")->text(), QStringLiteral("&Undo"));
    QTest::keySequence(box, QKeySequence(QStringLiteral("Ctrl+Z")));
    QCOMPARE(box->toPlainText(), QString());
    QCOMPARE(sheetPicture(*w_), edited);
    QTest::keySequence(box, QKeySequence(QStringLiteral("Ctrl+Y")));
    QCOMPARE(box->toPlainText(), QStringLiteral("SELECT 1"));
    entry("mnuUndo")->trigger();
    QCOMPARE(box->toPlainText(), QString());
    entry("mnuRedo")->trigger();
    QCOMPARE(box->toPlainText(), QStringLiteral("SELECT 1"));
    QCOMPARE(sheetPicture(*w_), edited);
    // Back on the sheet, the entries serve the sheet's history again.
    focusSheet();
    QCOMPARE(entry("mnuUndo")->text(), QStringLiteral("&Undo Delete Rows"));
}

// Deleting a few rows of a big sheet keeps a copy of those rows only, not
// of the sheet.
void FrmMainUndoTest::deletingRowsOfABigSheetKeepsOnlyThoseRows() {
    constexpr int kRows = 200'000;
    fa_->setRows(kRows + 1);
    for (int r = 1; r <= kRows; r += 997) {
        fa_->setTextMatrix(r, 0, QStringLiteral("row %1").arg(r));
    }
    w_->undo().clear();
    clickCell(*fa_, 1, 0);
    clickCell(*fa_, 3, 0, Qt::ShiftModifier);
    entry("mnuDeleteRow")->trigger();
    QCOMPARE(fa_->rows(), kRows - 2);
    const std::size_t bytes = w_->undo().history().bytes();
    QVERIFY2(bytes > 0 && bytes < 4096, qPrintable(QString::number(bytes)));
    entry("mnuUndo")->trigger();
    QCOMPARE(fa_->rows(), kRows + 1);
    QCOMPARE(fa_->textMatrix(1, 0), QStringLiteral("row 1"));
    QCOMPARE(fa_->textMatrix(2, 1), cellText(2, 1));
}

QTEST_MAIN(FrmMainUndoTest)
#include "tst_frm_main_undo.moc"
