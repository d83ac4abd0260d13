// Flag commands on bare grids: one-row toggles, the selected rows taking the
// current row's opposite state, the flag column re-found by its title and
// kept at its width, and nothing written without a usable flag column.
#include <QTest>

#include "sheet/flag_commands.h"
#include "sheet/grid.h"
#include "sheet/sheet_update.h"

using sheet::FlagCommands;
using sheet::Grid;

class FlagCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void toggleFlipsOneRowBothWays();
    void toggleWithoutFlagColumnChangesNothing();
    void staleFlagColumnIsNeverWritten();
    void selectedRowsTakeOppositeOfCurrent_data();
    void selectedRowsTakeOppositeOfCurrent();
    void formViewShowsChosenState();
    void refindTakesFirstFlagTitleFromLeft();
    void refindWithoutFlagTitleKeepsIndex();
    void widthGoesBackAfterResize();

  private:
    void addFlagColumn();
    bool pictureIsFlag(int row) const;

    Grid* fa_ = nullptr;
    Grid* fb_ = nullptr;
    sheet::SheetState state_;
    QPixmap blank_;
};

void FlagCommandsTest::init() {
    fa_ = new Grid;
    fb_ = new Grid;
    fa_->setFixedRows(1);
    fa_->setRows(8);
    fa_->setCols(3);
    for (int c = 0; c < 3; ++c) {
        fa_->setTextMatrix(0, c, QStringLiteral("T%1").arg(c));
    }
    fb_->setRows(5);
    fb_->setCols(2);
    state_ = sheet::SheetState{};
    QPixmap flag(8, 8);
    flag.fill(Qt::red);
    state_.flagPicture = flag;
    blank_ = QPixmap(8, 8);
    blank_.fill(Qt::transparent);
}

void FlagCommandsTest::cleanup() {
    delete fa_;
    delete fb_;
}

// The flag column as a database load adds it: titled "Flag" at position 0.
void FlagCommandsTest::addFlagColumn() {
    fa_->setCols(fa_->cols() + 1);
    fa_->setColPosition(fa_->cols() - 1, 0);
    fa_->setTextMatrix(0, 0, QStringLiteral("Flag"));
    state_.flagColumnPresent = true;
    state_.flagColumn = 0;
}

bool FlagCommandsTest::pictureIsFlag(int row) const {
    const QPixmap p = fa_->cellPicture(row, state_.flagColumn);
    return !p.isNull() && p.toImage() == state_.flagPicture.toImage();
}

void FlagCommandsTest::toggleFlipsOneRowBothWays() {
    addFlagColumn();
    fa_->setRow(3);
    FlagCommands flags(*fa_, *fb_, state_, blank_);
    QVERIFY(flags.toggleCurrentRow());
    QCOMPARE(fa_->textMatrix(3, 0), QStringLiteral(" "));
    QVERIFY(pictureIsFlag(3));
    QVERIFY(fa_->textMatrix(2, 0).isEmpty());
    QVERIFY(flags.toggleCurrentRow());
    QCOMPARE(fa_->textMatrix(3, 0), QString());
    QVERIFY(!pictureIsFlag(3));
}

void FlagCommandsTest::toggleWithoutFlagColumnChangesNothing() {
    fa_->setRow(2);
    FlagCommands flags(*fa_, *fb_, state_, blank_);
    QVERIFY(!flags.toggleCurrentRow());
    fa_->select(1, 0, 4, 2);
    QCOMPARE(flags.toggleSelectedRows(), 0);
    for (int r = 1; r < fa_->rows(); ++r) {
        for (int c = 0; c < fa_->cols(); ++c) {
            QVERIFY(fa_->textMatrix(r, c).isEmpty());
        }
    }
}

void FlagCommandsTest::staleFlagColumnIsNeverWritten() {
    state_.flagColumnPresent = true;
    state_.flagColumn = 7;  // past the sheet's edge
    fa_->setRow(2);
    FlagCommands flags(*fa_, *fb_, state_, blank_);
    QVERIFY(!flags.toggleCurrentRow());
    QCOMPARE(flags.toggleSelectedRows(), 0);
}

void FlagCommandsTest::selectedRowsTakeOppositeOfCurrent_data() {
    QTest::addColumn<bool>("currentFlagged");
    QTest::newRow("current flagged: all cleared") << true;
    QTest::newRow("current clear: all flagged") << false;
}

void FlagCommandsTest::selectedRowsTakeOppositeOfCurrent() {
    QFETCH(bool, currentFlagged);
    addFlagColumn();
    fa_->setSelectionModeCode(Grid::SelectListBox);
    FlagCommands flags(*fa_, *fb_, state_, blank_);
    // Row 2 flagged, row 5 clear, row 3 decides; row 6 is outside the selection.
    for (int row : {2, 6}) {
        fa_->setRow(row);
        flags.toggleCurrentRow();
    }
    if (currentFlagged) {
        fa_->setRow(3);
        flags.toggleCurrentRow();
    }
    // The block's first corner is the current cell: row 3.
    fa_->select(3, 0, 2, fa_->cols() - 1);
    QCOMPARE(fa_->row(), 3);
    const int selected = fa_->selectedRows();
    QVERIFY(selected >= 2);
    QCOMPARE(flags.toggleSelectedRows(), selected);
    for (int i = 0; i < selected; ++i) {
        const int row = fa_->selectedRow(i);
        QVERIFY2(flags.isFlagged(row) == !currentFlagged, qPrintable(QString::number(row)));
    }
    QVERIFY(flags.isFlagged(6));
    QVERIFY(!flags.isFlagged(5));
}

void FlagCommandsTest::formViewShowsChosenState() {
    addFlagColumn();
    fa_->setRow(2);
    FlagCommands flags(*fa_, *fb_, state_, blank_);
    flags.toggleCurrentRow();
    QCOMPARE(fb_->cellPicture(1, 1).toImage(), state_.flagPicture.toImage());
    flags.toggleCurrentRow();
    QCOMPARE(fb_->cellPicture(1, 1).toImage(), blank_.toImage());
}

void FlagCommandsTest::refindTakesFirstFlagTitleFromLeft() {
    addFlagColumn();
    // A data field also called Flag sits right of the flag column.
    fa_->setTextMatrix(0, 2, QStringLiteral("Flag"));
    fa_->setColPosition(0, 3);
    FlagCommands flags(*fa_, *fb_, state_, blank_);
    flags.refindColumn();
    QCOMPARE(state_.flagColumn, 1);
}

void FlagCommandsTest::refindWithoutFlagTitleKeepsIndex() {
    state_.flagColumnPresent = true;
    state_.flagColumn = 2;
    FlagCommands(*fa_, *fb_, state_, blank_).refindColumn();
    QCOMPARE(state_.flagColumn, 2);
    fa_->setTextMatrix(0, 1, QStringLiteral("flag"));  // a different case is another title
    FlagCommands(*fa_, *fb_, state_, blank_).refindColumn();
    QCOMPARE(state_.flagColumn, 2);
}

void FlagCommandsTest::widthGoesBackAfterResize() {
    addFlagColumn();
    fa_->setColWidth(0, 2000);
    FlagCommands flags(*fa_, *fb_, state_, blank_);
    flags.keepWidth();
    QVERIFY(qAbs(fa_->colWidth(0) - FlagCommands::kWidth) < 30);
    state_.flagColumnPresent = false;
    fa_->setColWidth(0, 2000);
    flags.keepWidth();
    QVERIFY(fa_->colWidth(0) > 1000);
}

QTEST_MAIN(FlagCommandsTest)
#include "tst_flag_commands.moc"
