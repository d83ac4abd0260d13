// Find and the filter row in the real main window: Ctrl+F opens the find
// bar, Enter and Shift+Enter (and Edit > Find Next / Previous) move through
// the hits, wrapping round, with Match case and Whole cell; hits are painted
// and counted. View > Filter Row puts a box under every title; typed text,
// comparisons and Like patterns keep the rows that pass, status panel 5 says
// how many are shown, and a new sheet or a change of columns ends the filter.
#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "app/sheet_search.h"
#include "sheet/filter_row.h"
#include "sheet/find_bar.h"
#include "sheet/grid.h"
#include "sheet_driving.h"
#include "ui/main_menus.h"
#include "ui/status_panels.h"
#include "ui/tab_strip.h"
#include "window_fixture.h"

namespace {

// name, city, amount
const char* const kRows[][3] = {
    {"Anna", "Berlin", "120"},  {"bert", "Bern", "75"},      {"Carla", "berlin", "300"},
    {"Dieter", "Paris", "20"},  {"Emil", "Bernburg", "120"}, {"Frida", "Rome", "5"},
    {"Gustav", "Berlin", "99"}, {"Hanna", "", "1000"},
};
constexpr int kDataRows = int(std::size(kRows));

}  // namespace

class FrmMainSearchTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    // Find.
    void ctrlFOpensTheBarAndCountsHits();
    void enterAndShiftEnterMoveThroughHitsWrappingRound();
    void matchCaseAndWholeCellNarrowTheHits();
    void hitUnderTheBarMovesTheBarAway();
    void findNextFromTheMenuFollowsTheFormView();
    void escapeClosesTheBarAndClearsTheHits();
    void findKeysTypedInTheSqlBoxSearchTheSheet();
    // Filter.
    void typedTextKeepsRowsThatContainIt();
    void comparisonsAndLikeFilterByColumn_data();
    void comparisonsAndLikeFilterByColumn();
    void findSkipsRowsTheFilterHides();
    void emptyingTheBoxesShowsEveryRowAgain();
    void deletingAColumnEndsTheFilter();
    void hidingTheFilterRowShowsEveryRow();
    void aFilterHidingEveryRowBlanksTheFormView();

  private:
    QAction* entry(const char* name) const { return w_->menus().action(QString::fromLatin1(name)); }
    sheet::FindBar& bar() const { return w_->search().findBar(); }
    void typeFind(const QString& text);
    void typeFilter(int col, const QString& text);
    QString panel5() const { return w_->controls().statusPanels->panelText(5); }
    QStringList shownNames() const;

    std::unique_ptr<ToolbarWindowRun> window_;
    app::MainWindow* w_ = nullptr;
    sheet::Grid* sheet_ = nullptr;
};

void FrmMainSearchTest::init() {
    window_ = std::make_unique<ToolbarWindowRun>();
    w_ = &window_->window();
    QVERIFY(QTest::qWaitForWindowExposed(w_));
    sheet_ = w_->controls().dataSheet;
    sheet_->setRows(kDataRows + 1);
    sheet_->setCols(3);
    const char* const titles[] = {"Name", "City", "Amount"};
    for (int c = 0; c < 3; ++c) {
        sheet_->setTextMatrix(0, c, QString::fromLatin1(titles[c]));
        for (int r = 0; r < kDataRows; ++r) {
            sheet_->setTextMatrix(r + 1, c, QString::fromLatin1(kRows[r][c]));
        }
    }
    sheet_->setFocus();
    clickCell(*sheet_, 1, 0);
}

void FrmMainSearchTest::cleanup() {
    window_.reset();
}

void FrmMainSearchTest::typeFind(const QString& text) {
    QLineEdit* box = bar().textBox();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

void FrmMainSearchTest::typeFilter(int col, const QString& text) {
    QLineEdit* box = sheet_->filterRow().box(col);
    QVERIFY(box);
    QVERIFY(box->isVisible());
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

QStringList FrmMainSearchTest::shownNames() const {
    QStringList names;
    for (int r = 1; r < sheet_->rows(); ++r) {
        if (sheet_->isRowShown(r)) {
            names << sheet_->textMatrix(r, 0);
        }
    }
    return names;
}

// ---- find ----

void FrmMainSearchTest::ctrlFOpensTheBarAndCountsHits() {
    QTest::keySequence(sheet_, QKeySequence(QStringLiteral("Ctrl+F")));
    QVERIFY(bar().isVisible());
    QVERIFY(bar().textBox()->hasFocus());
    typeFind(QStringLiteral("ber"));
    // Berlin x3 (any case), Bern, Bernburg and bert.
    QCOMPARE(bar().findChild<QLabel*>(QStringLiteral("lblFindCount"))->text(),
             QStringLiteral("6 found"));
    QVERIFY(sheet_->isFindHit(1, 1));
    QVERIFY(sheet_->isFindHit(2, 1));
    QVERIFY(!sheet_->isFindHit(4, 1));
    QVERIFY(!sheet_->isFindHit(1, 0));
    typeFind(QStringLiteral("zzz"));
    QCOMPARE(bar().findChild<QLabel*>(QStringLiteral("lblFindCount"))->text(),
             QStringLiteral("No hits"));
}

void FrmMainSearchTest::enterAndShiftEnterMoveThroughHitsWrappingRound() {
    entry("mnuFind")->trigger();
    typeFind(QStringLiteral("120"));
    QTest::keyClick(bar().textBox(), Qt::Key_Return);
    QCOMPARE(sheet_->row(), 1);
    QCOMPARE(sheet_->col(), 2);
    QTest::keyClick(bar().textBox(), Qt::Key_Return);
    QCOMPARE(sheet_->row(), 5);
    QTest::keyClick(bar().textBox(), Qt::Key_Return);
    QCOMPARE(sheet_->row(), 1);  // round again
    QTest::keyClick(bar().textBox(), Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(sheet_->row(), 5);
    QCOMPARE(sheet_->col(), 2);
}

// The bar floats over the first rows' right end: a hit there used to be
// current yet hidden behind it.
void FrmMainSearchTest::hitUnderTheBarMovesTheBarAway() {
    sheet_->horizontalHeader()->resizeSection(2, sheet_->viewport()->width());
    entry("mnuFind")->trigger();
    typeFind(QStringLiteral("120"));
    const auto cellOnGrid = [this] {
        return sheet_->visualRect(sheet_->currentIndex())
            .translated(sheet_->viewport()->geometry().topLeft());
    };
    const QRect topPlace = bar().geometry();
    QTest::keyClick(bar().textBox(), Qt::Key_Return);
    QCOMPARE(sheet_->row(), 1);
    QVERIFY(topPlace.intersects(cellOnGrid()));
    QVERIFY(!bar().geometry().intersects(cellOnGrid()));
    QVERIFY(bar().isVisible());
    QVERIFY(sheet_->rect().contains(bar().geometry()));
}

void FrmMainSearchTest::matchCaseAndWholeCellNarrowTheHits() {
    entry("mnuFind")->trigger();
    typeFind(QStringLiteral("Berlin"));
    QCOMPARE(bar().findChild<QLabel*>(QStringLiteral("lblFindCount"))->text(),
             QStringLiteral("3 found"));
    bar().matchCaseBox()->click();
    QCOMPARE(bar().findChild<QLabel*>(QStringLiteral("lblFindCount"))->text(),
             QStringLiteral("2 found"));
    QVERIFY(!sheet_->isFindHit(3, 1));  // "berlin"
    bar().matchCaseBox()->click();
    typeFind(QStringLiteral("Bern"));
    bar().wholeCellBox()->click();
    QCOMPARE(bar().findChild<QLabel*>(QStringLiteral("lblFindCount"))->text(),
             QStringLiteral("1 found"));
    QTest::keyClick(bar().textBox(), Qt::Key_Return);
    QCOMPARE(sheet_->row(), 2);
    QCOMPARE(sheet_->col(), 1);
}

void FrmMainSearchTest::findNextFromTheMenuFollowsTheFormView() {
    entry("mnuFind")->trigger();
    typeFind(QStringLiteral("Rome"));
    entry("mnuFindNext")->trigger();
    QCOMPARE(sheet_->row(), 6);
    QCOMPARE(panel5(), QStringLiteral("6 / 8"));
    QCOMPARE(w_->controls().formView->textMatrix(1, 1), QStringLiteral("Frida"));
    entry("mnuFindPrevious")->trigger();
    QCOMPARE(sheet_->row(), 6);  // the only hit
}

void FrmMainSearchTest::escapeClosesTheBarAndClearsTheHits() {
    entry("mnuFind")->trigger();
    typeFind(QStringLiteral("Anna"));
    QVERIFY(sheet_->isFindHit(1, 0));
    QTest::keyClick(bar().textBox(), Qt::Key_Escape);
    QVERIFY(!bar().isVisible());
    QVERIFY(!sheet_->isFindHit(1, 0));
    QVERIFY(sheet_->hasFocus());
}

// The SQL box has no find of its own: Ctrl+F, Ctrl+G and Ctrl+Shift+G typed
// there search the sheet, and its text stays as it was.
void FrmMainSearchTest::findKeysTypedInTheSqlBoxSearchTheSheet() {
    QPlainTextEdit* sqlBox = w_->controls().sqlBox;
    const QString statement = QStringLiteral("SELECT * FROM T");
    sqlBox->setPlainText(statement);
    w_->controls().tabStrip->setTabVisible(ui::TabStrip::Sql, true);
    w_->controls().tabStrip->setCurrentPage(ui::TabStrip::Sql);
    sqlBox->setFocus();
    QTRY_COMPARE(int(w_->sheetState().lastFocusedPane), 3);
    QTest::keySequence(sqlBox, QKeySequence(QStringLiteral("Ctrl+F")));
    QVERIFY(bar().isVisible());
    QVERIFY(bar().textBox()->hasFocus());
    QTest::keyClicks(bar().textBox(), QStringLiteral("Rome"));
    sqlBox->setFocus();
    QTRY_VERIFY(sqlBox->hasFocus());
    QTest::keySequence(sqlBox, QKeySequence(QStringLiteral("Ctrl+G")));
    QCOMPARE(sheet_->row(), 6);
    QCOMPARE(sheet_->col(), 1);
    typeFind(QStringLiteral("120"));
    sqlBox->setFocus();
    QTRY_VERIFY(sqlBox->hasFocus());
    QTest::keySequence(sqlBox, QKeySequence(QStringLiteral("Ctrl+Shift+G")));
    QCOMPARE(sheet_->row(), 5);
    QCOMPARE(sheet_->col(), 2);
    QTest::keySequence(sqlBox, QKeySequence(QStringLiteral("Ctrl+Shift+L")));
    QVERIFY(sheet_->filterRow().isShown());
    QCOMPARE(sqlBox->toPlainText(), statement);
}

// ---- filter ----

void FrmMainSearchTest::typedTextKeepsRowsThatContainIt() {
    QTest::keySequence(sheet_, QKeySequence(QStringLiteral("Ctrl+Shift+L")));
    QVERIFY(entry("mnuFilterRow")->isChecked());
    QVERIFY(sheet_->filterRow().isShown());
    typeFilter(1, QStringLiteral("berl"));
    QCOMPARE(shownNames(), (QStringList{"Anna", "Carla", "Gustav"}));
    QCOMPARE(sheet_->shownDataRows(), 3);
    QCOMPARE(sheet_->row(), 1);  // the first shown row is current
    QCOMPARE(panel5(), QStringLiteral("1 / 8   (3 / 8 shown)"));
    // A second column narrows further.
    typeFilter(2, QStringLiteral(">100"));
    QCOMPARE(shownNames(), (QStringList{"Anna", "Carla"}));
    QCOMPARE(panel5(), QStringLiteral("1 / 8   (2 / 8 shown)"));
}

void FrmMainSearchTest::comparisonsAndLikeFilterByColumn_data() {
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("numbers compare as numbers")
        << 2 << ">=120" << QStringList{"Anna", "Carla", "Emil", "Hanna"};
    QTest::newRow("less") << 2 << "<75" << QStringList{"Dieter", "Frida"};
    QTest::newRow("equal") << 2 << "=120" << QStringList{"Anna", "Emil"};
    QTest::newRow("not equal text")
        << 1 << "<>berlin" << QStringList{"bert", "Dieter", "Emil", "Frida", "Hanna"};
    QTest::newRow("equal alone keeps empty cells") << 1 << "=" << QStringList{"Hanna"};
    QTest::newRow("like star") << 1 << "Like B*n" << QStringList{"Anna", "bert", "Carla", "Gustav"};
    QTest::newRow("like question mark") << 0 << "like ?nna" << QStringList{"Anna"};
    QTest::newRow("star without Like is a pattern")
        << 0 << "*a" << QStringList{"Anna", "Carla", "Frida", "Hanna"};
    QTest::newRow("nothing passes") << 0 << "xyz" << QStringList{};
}

void FrmMainSearchTest::comparisonsAndLikeFilterByColumn() {
    QFETCH(int, col);
    QFETCH(QString, typed);
    QFETCH(QStringList, names);
    entry("mnuFilterRow")->trigger();
    typeFilter(col, typed);
    QCOMPARE(shownNames(), names);
    QCOMPARE(panel5().endsWith(QStringLiteral("(%1 / 8 shown)").arg(names.size())), true);
}

void FrmMainSearchTest::findSkipsRowsTheFilterHides() {
    entry("mnuFilterRow")->trigger();
    typeFilter(2, QStringLiteral("<100"));
    entry("mnuFind")->trigger();
    // Shown: bert, Dieter, Frida, Gustav. Hits: "bert", "Bern", "Dieter" and
    // Gustav's "Berlin"; Anna's and Carla's Berlin are hidden.
    typeFind(QStringLiteral("er"));
    QCOMPARE(bar().findChild<QLabel*>(QStringLiteral("lblFindCount"))->text(),
             QStringLiteral("4 found"));
    QCOMPARE(sheet_->row(), 2);  // the filter made the first shown row current
    QCOMPARE(sheet_->col(), 0);
    const QList<QPair<int, int>> expected = {{2, 1}, {4, 0}, {7, 1}, {2, 0}};
    for (const auto& [row, col] : expected) {
        QTest::keyClick(bar().textBox(), Qt::Key_Return);
        QCOMPARE(sheet_->row(), row);
        QCOMPARE(sheet_->col(), col);
    }
}

void FrmMainSearchTest::emptyingTheBoxesShowsEveryRowAgain() {
    entry("mnuFilterRow")->trigger();
    typeFilter(0, QStringLiteral("a"));
    QVERIFY(sheet_->isFiltered());
    typeFilter(0, QString());
    QVERIFY(!sheet_->isFiltered());
    QCOMPARE(sheet_->shownDataRows(), kDataRows);
    QCOMPARE(panel5(), QStringLiteral("1 / 8"));
}

void FrmMainSearchTest::deletingAColumnEndsTheFilter() {
    entry("mnuFilterRow")->trigger();
    typeFilter(1, QStringLiteral("Berlin"));
    QCOMPARE(sheet_->shownDataRows(), 3);
    sheet_->setFocus();
    sheet_->setCol(1);
    entry("mnuDeleteCol")->trigger();
    QCOMPARE(sheet_->cols(), 2);
    QVERIFY(!sheet_->isFiltered());
    QCOMPARE(sheet_->shownDataRows(), kDataRows);
    QCOMPARE(sheet_->filterRow().text(1), QString());
    // Deleting rows keeps it.
    typeFilter(0, QStringLiteral("nn"));
    QCOMPARE(shownNames(), (QStringList{"Anna", "Hanna"}));
    sheet_->setFocus();
    entry("mnuDeleteRow")->trigger();
    QVERIFY(sheet_->isFiltered());
    QCOMPARE(shownNames(), (QStringList{"Hanna"}));
}

void FrmMainSearchTest::hidingTheFilterRowShowsEveryRow() {
    entry("mnuFilterRow")->trigger();
    typeFilter(0, QStringLiteral("Emil"));
    QCOMPARE(sheet_->shownDataRows(), 1);
    entry("mnuFilterRow")->trigger();
    QVERIFY(!sheet_->filterRow().isShown());
    QCOMPARE(sheet_->shownDataRows(), kDataRows);
    entry("mnuFilterRow")->trigger();
    QCOMPARE(sheet_->filterRow().text(0), QString());  // it starts empty again
}

void FrmMainSearchTest::aFilterHidingEveryRowBlanksTheFormView() {
    const sheet::Grid& form = *w_->controls().formView;
    QCOMPARE(form.textMatrix(1, 1), QStringLiteral("Anna"));
    entry("mnuFilterRow")->trigger();
    typeFilter(0, QStringLiteral("xyz"));
    QCOMPARE(sheet_->shownDataRows(), 0);
    // The current row is hidden: its values used to stay in the form view.
    for (int r = 1; r < form.rows(); ++r) {
        QCOMPARE(form.textMatrix(r, 1), QString());
    }
    typeFilter(0, QString());
    QCOMPARE(form.textMatrix(1, 1), QStringLiteral("Anna"));
}

QTEST_MAIN(FrmMainSearchTest)
#include "tst_frm_main_search.moc"
