// Undo and Redo of sheet edits: every kind of step put back exactly (texts,
// typed values, formats, positions, the window's column marks), redo after
// undo, a new edit dropping the redo steps, and the memory budget.
#include "sheet/edit_history.h"
#include "sheet/grid_model.h"
#include "sheet/sheet_update.h"

#include <QAbstractItemModelTester>
#include <QTest>

using sheet::CellInput;
using sheet::CellProps;
using sheet::EditHistory;
using sheet::GridModel;
using sheet::SheetState;

namespace {

// Titles A, B, C; row r holds "r-0", "r-1" and the number r (typed) in C.
void fill(GridModel& model, int rows) {
    model.beginFill(3);
    const CellInput titles[] = {{"A"}, {"B"}, {"C"}};
    model.appendRow(titles);
    for (int r = 1; r <= rows; ++r) {
        const std::string a = std::to_string(r) + "-0", b = std::to_string(r) + "-1";
        const std::string c = std::to_string(r);
        const CellInput cells[] = {{a}, {b}, {c, double(r), true}};
        model.appendRow(cells);
    }
    model.endFill();
}

// Every cell's text, typed value and boldness, row by row.
QString dump(const GridModel& model) {
    QStringList rows;
    for (int r = 0; r < model.store().rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < model.store().cols(); ++c) {
            QString cell = model.text(r, c);
            double value = 0;
            if (model.store().value(r, c, &value)) {
                cell += QStringLiteral("=%1").arg(value);
            }
            if (model.store().props(r, c).style & CellProps::kBold) {
                cell += u'*';
            }
            cells << cell;
        }
        rows << cells.join(u',');
    }
    return rows.join(u'|');
}

}  // namespace

class TestEditHistory : public QObject {
    Q_OBJECT
  private slots:
    void cellStepsRoundTrip() {
        GridModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        fill(model, 4);
        model.editBlock(2, 0, 2, 0, [](CellProps& p) { p.style = CellProps::kBold; });
        const QString original = dump(model);
        SheetState state;
        EditHistory history;
        QVERIFY(!history.canUndo());
        QVERIFY(history.beforeCells(model, state, QStringLiteral("Paste"), 2, 0, 3, 2));
        model.setBlockText(2, 0, QStringLiteral("x\ty\tz\nu\tv\tw"));
        history.after(model, state);
        const QString pasted = dump(model);
        QVERIFY(pasted != original);
        QCOMPARE(history.undoLabel(), QStringLiteral("Paste"));
        const auto block = history.undo(model, state);
        QVERIFY(block);
        QCOMPARE(block->row1, 2);
        QCOMPARE(block->row2, 3);
        QCOMPARE(dump(model), original);  // typed values and the bold cell are back
        QVERIFY(history.canRedo());
        QCOMPARE(history.redoLabel(), QStringLiteral("Paste"));
        history.redo(model, state);
        QCOMPARE(dump(model), pasted);
        history.undo(model, state);
        // A title change is a cell step of row 0.
        QVERIFY(history.beforeCells(model, state, QStringLiteral("Column Title"), 0, 1, 0, 1));
        model.setText(0, 1, QStringLiteral("Renamed"));
        history.after(model, state);
        QVERIFY(!history.canRedo());  // a new edit drops what could be redone
        history.undo(model, state);
        QCOMPARE(dump(model), original);
        QVERIFY(!history.undo(model, state));
    }

    void deletedRowsComeBackInPlace() {
        GridModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        fill(model, 10);
        model.editBlock(7, 1, 7, 1, [](CellProps& p) { p.style = CellProps::kBold; });
        const QString original = dump(model);
        SheetState state;
        EditHistory history;
        const std::vector<int> rows{9, 3, 7, 3};  // any order, repeats ignored
        QVERIFY(history.beforeRowsDeleted(model, state, QStringLiteral("Delete Rows"), rows));
        model.removeRowList(rows);
        history.after(model, state);
        QCOMPARE(model.store().rows(), 8);
        const QString deleted = dump(model);
        const auto block = history.undo(model, state);
        QCOMPARE(dump(model), original);
        QCOMPARE(block->row1, 3);
        QCOMPARE(block->row2, 9);
        history.redo(model, state);
        QCOMPARE(dump(model), deleted);
        history.undo(model, state);
        QCOMPARE(dump(model), original);
        // Nothing to delete records nothing.
        QVERIFY(history.beforeRowsDeleted(model, state, QStringLiteral("Delete Rows"), {0, 99}));
        history.after(model, state);
        QCOMPARE(history.undoLabel(), QString());
    }

    void insertedRowAndColumnGoAgain() {
        GridModel model;
        fill(model, 3);
        const QString original = dump(model);
        SheetState state;
        state.sortedColumn = 2;
        EditHistory history;
        history.beforeRowInserted(state, QStringLiteral("Insert Row"), 2);
        model.insertRowList(std::vector<int>{2});
        history.after(model, state);
        history.beforeColumnInserted(state, QStringLiteral("Insert Col"), 1);
        model.setCols(4);
        model.moveColumn(3, 1);
        state.sortedColumn = 3;
        history.after(model, state);
        const QString grown = dump(model);
        QCOMPARE(grown, QStringLiteral("A,,B,C|1-0,,1-1,1=1|,,,|2-0,,2-1,2=2|3-0,,3-1,3=3"));
        history.undo(model, state);
        QCOMPARE(state.sortedColumn, 2);
        history.undo(model, state);
        QCOMPARE(dump(model), original);
        history.redo(model, state);
        history.redo(model, state);
        QCOMPARE(dump(model), grown);
        QCOMPARE(state.sortedColumn, 3);
    }

    void deletedColumnComesBackWithItsLookAndFlag() {
        GridModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        fill(model, 3);
        model.changeColumn(1, [](sheet::SheetColumn& c) {
            c.width = 2222;
            c.format = QStringLiteral("0.00");
            c.dataType = 8;
        });
        const QString original = dump(model);
        SheetState state;
        state.flagColumnPresent = true;
        state.flagColumn = 1;
        EditHistory history;
        QVERIFY(history.beforeColumnDeleted(model, state, QStringLiteral("Delete Col"), 1));
        model.moveColumn(1, 2);
        model.setCols(2);
        state.flagColumnPresent = false;  // what deleting the flag column does
        history.after(model, state);
        QCOMPARE(dump(model), QStringLiteral("A,C|1-0,1=1|2-0,2=2|3-0,3=3"));
        history.undo(model, state);
        QCOMPARE(dump(model), original);
        QCOMPARE(model.store().column(1).width, 2222);
        QCOMPARE(model.store().column(1).format, QStringLiteral("0.00"));
        QCOMPARE(model.store().column(1).dataType, 8);
        QVERIFY(state.flagColumnPresent);
        QCOMPARE(state.flagColumn, 1);
        history.redo(model, state);
        QCOMPARE(dump(model), QStringLiteral("A,C|1-0,1=1|2-0,2=2|3-0,3=3"));
        QVERIFY(!state.flagColumnPresent);
    }

    void filteredSheetKeepsHiddenRows() {
        GridModel model;
        fill(model, 6);
        model.showOnlyRows(std::vector<int>{2, 4, 6});
        const QString original = dump(model);
        SheetState state;
        EditHistory history;
        history.beforeRowsDeleted(model, state, QStringLiteral("Delete Rows"), {4});
        model.removeRowList({4});
        history.after(model, state);
        QCOMPARE(model.rowCount(), 2);
        history.undo(model, state);
        QCOMPARE(dump(model), original);
        QCOMPARE(model.rowCount(), 3);
        QVERIFY(model.store().isHidden(3));
        QVERIFY(!model.store().isHidden(4));
    }

    void headerRowAndColumnFormatComeBack() {
        GridModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        fill(model, 4);
        const QString original = dump(model);
        SheetState state;
        EditHistory history;
        int notices = 0;
        history.setChangeHandler([&notices] { ++notices; });
        QVERIFY(history.beforeHeaderRow(model, state, QStringLiteral("Set Column Header Row"), 2));
        for (int c = 0; c < 3; ++c) {
            model.setText(0, c, model.text(2, c));
        }
        model.removeRowList({2});
        history.after(model, state);
        QCOMPARE(notices, 1);
        const QString promoted = dump(model);
        QCOMPARE(promoted, QStringLiteral("2-0,2-1,2|1-0,1-1,1=1|3-0,3-1,3=3|4-0,4-1,4=4"));
        history.beforeColumnLook(model, state, QStringLiteral("Column Format"), 2);
        model.changeColumn(2, [](sheet::SheetColumn& c) { c.format = QStringLiteral("0.00"); });
        history.after(model, state);
        auto change = history.undo(model, state);
        QCOMPARE(change->shape, EditHistory::Shape::Cells);
        QCOMPARE(model.store().column(2).format, QString());
        change = history.undo(model, state);
        QCOMPARE(change->shape, EditHistory::Shape::Rows);
        QCOMPARE(dump(model), original);
        history.redo(model, state);
        QCOMPARE(dump(model), promoted);
        history.redo(model, state);
        QCOMPARE(model.store().column(2).format, QStringLiteral("0.00"));
        QCOMPARE(notices, 6);  // two steps recorded, two undone, two redone
        history.clear();
        QCOMPARE(notices, 7);
        history.clear();  // nothing left to tell
        QCOMPARE(notices, 7);
    }

    // The rows a filtered paste fills need not be one run; the rows between
    // them are neither copied nor touched.
    void cellStepOfListedRows() {
        GridModel model;
        fill(model, 8);
        const QString original = dump(model);
        SheetState state;
        EditHistory history;
        QVERIFY(history.beforeCells(model, state, QStringLiteral("Paste"), {7, 2, 5}, 0, 1));
        for (const int row : {2, 5, 7}) {
            model.setText(row, 1, QStringLiteral("x"));
        }
        history.after(model, state);
        model.setText(3, 1, QStringLiteral("not recorded"));
        const auto change = history.undo(model, state);
        QCOMPARE(change->row1, 2);
        QCOMPARE(change->row2, 7);
        QCOMPARE(model.text(3, 1), QStringLiteral("not recorded"));
        model.setText(3, 1, QStringLiteral("3-1"));
        QCOMPARE(dump(model), original);
    }

    void budgetBoundsTheHistory() {
        GridModel model;
        fill(model, 1000);
        SheetState state;
        // Each whole-column step copies about 6 KB: a 40 KB budget keeps a few.
        EditHistory history(40'000);
        for (int i = 0; i < 20; ++i) {
            QVERIFY(history.beforeCells(model, state, QStringLiteral("Paste"), 1, 0, 1000, 0));
            model.setText(1, 0, QString::number(i));
            history.after(model, state);
            QVERIFY(history.bytes() <= history.budget());
        }
        int kept = 0;
        while (history.undo(model, state)) {
            ++kept;
        }
        QVERIFY2(kept >= 1 && kept < 20, qPrintable(QString::number(kept)));
        QCOMPARE(model.text(1, 0), QString::number(19 - kept));
        // A change bigger than the budget is not undoable and empties the history.
        QVERIFY(history.canRedo());
        QVERIFY(!history.beforeCells(model, state, QStringLiteral("Paste"), 1, 0, 1000, 2));
        QVERIFY(!history.canUndo());
        QVERIFY(!history.canRedo());
        history.after(model, state);  // nothing pending: records nothing
        QVERIFY(!history.canUndo());
        // At most kMaxSteps steps, however small.
        EditHistory steps;
        for (int i = 0; i < EditHistory::kMaxSteps + 5; ++i) {
            steps.beforeCells(model, state, QStringLiteral("Edit"), 1, 0, 1, 0);
            steps.after(model, state);
        }
        int count = 0;
        while (steps.undo(model, state)) {
            ++count;
        }
        QCOMPARE(count, EditHistory::kMaxSteps);
    }
};

QTEST_MAIN(TestEditHistory)
#include "tst_edit_history.moc"
