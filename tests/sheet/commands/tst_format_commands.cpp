// Formatting commands on bare grids: the style range in both mouse modes
// (reversed selections included), style toggles decided by the remembered
// state rather than the cells, font colour over the range, column formats
// and merging that touch only the current column, and nothing done on a
// sheet without data cells.
#include <QTest>

#include "sheet/format_commands.h"
#include "sheet/grid.h"
#include "sheet/sheet_update.h"

using sheet::CellBlock;
using sheet::CellSetting;
using sheet::FormatCommands;
using sheet::Grid;

namespace {
constexpr bool kBlockMode = true;
constexpr bool kRowMode = false;
}  // namespace

class FormatCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void styleRangeFollowsMouseMode_data();
    void styleRangeFollowsMouseMode();
    void noDataCellsMeansEmptyRange();
    void styleToggleSetsThenClearsTheRange_data();
    void styleToggleSetsThenClearsTheRange();
    void rememberedStateDecidesNotTheCells();
    void emptyRangeLeavesStateAlone();
    void foreColorCoversOnlyTheRange();
    void columnFormatTouchesOnlyCurrentColumn();
    void columnFormatsMatchTheirMenus();
    void mergeFlipsCurrentColumn();

  private:
    // Whether the style is set on exactly the cells of `block`.
    bool styledExactly(CellSetting style, const CellBlock& block) const;
    void selectRowMode(int row1, int row2);

    Grid* fa_ = nullptr;
    sheet::SheetState state_;
};

void FormatCommandsTest::init() {
    fa_ = new Grid;
    fa_->resize(800, 400);
    fa_->setFixedRows(1);
    fa_->setRows(9);
    fa_->setCols(5);
    for (int r = 0; r < fa_->rows(); ++r) {
        for (int c = 0; c < fa_->cols(); ++c) {
            fa_->setTextMatrix(r, c, QStringLiteral("r%1c%2").arg(r).arg(c));
        }
    }
    state_ = sheet::SheetState{};
}

void FormatCommandsTest::cleanup() {
    delete fa_;
}

bool FormatCommandsTest::styledExactly(CellSetting style, const CellBlock& block) const {
    for (int r = 1; r < fa_->rows(); ++r) {
        for (int c = 0; c < fa_->cols(); ++c) {
            const bool inside =
                r >= block.row1 && r <= block.row2 && c >= block.col1 && c <= block.col2;
            if (fa_->cell(style, r, c).toBool() != inside) {
                qWarning("cell %d,%d is %s", r, c, inside ? "not styled" : "styled");
                return false;
            }
        }
    }
    return true;
}

void FormatCommandsTest::selectRowMode(int row1, int row2) {
    fa_->setSelectionModeCode(Grid::SelectListBox);
    fa_->select(row1, 0, row2, fa_->cols() - 1);
}

void FormatCommandsTest::styleRangeFollowsMouseMode_data() {
    QTest::addColumn<bool>("blockMode");
    QTest::addColumn<QList<int>>("selection");  // row1, col1, row2, col2 as selected
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("block 2x3") << kBlockMode << QList<int>{2, 1, 3, 3} << QList<int>{2, 1, 3, 3};
    QTest::newRow("block upwards and leftwards")
        << kBlockMode << QList<int>{6, 4, 4, 2} << QList<int>{4, 2, 6, 4};
    QTest::newRow("block one cell")
        << kBlockMode << QList<int>{5, 2, 5, 2} << QList<int>{5, 2, 5, 2};
    QTest::newRow("row mode takes whole rows")
        << kRowMode << QList<int>{4, 3, 6, 3} << QList<int>{4, 0, 6, 4};
    QTest::newRow("row mode upwards")
        << kRowMode << QList<int>{7, 2, 3, 2} << QList<int>{3, 0, 7, 4};
}

void FormatCommandsTest::styleRangeFollowsMouseMode() {
    QFETCH(bool, blockMode);
    QFETCH(QList<int>, selection);
    QFETCH(QList<int>, expected);
    fa_->select(selection[0], selection[1], selection[2], selection[3]);
    const CellBlock range = FormatCommands::styleRange(*fa_, blockMode);
    QCOMPARE((QList<int>{range.row1, range.col1, range.row2, range.col2}), expected);
}

void FormatCommandsTest::noDataCellsMeansEmptyRange() {
    fa_->setRows(1);
    QVERIFY(FormatCommands::styleRange(*fa_, kRowMode).isEmpty());
    QVERIFY(FormatCommands::styleRange(*fa_, kBlockMode).isEmpty());
    fa_->setRows(5);
    fa_->setCols(0);
    QVERIFY(FormatCommands::styleRange(*fa_, kRowMode).isEmpty());
}

void FormatCommandsTest::styleToggleSetsThenClearsTheRange_data() {
    QTest::addColumn<int>("style");
    QTest::newRow("bold") << int(CellSetting::Bold);
    QTest::newRow("italic") << int(CellSetting::Italic);
    QTest::newRow("underline") << int(CellSetting::Underline);
}

void FormatCommandsTest::styleToggleSetsThenClearsTheRange() {
    QFETCH(int, style);
    const auto setting = CellSetting(style);
    selectRowMode(4, 6);
    FormatCommands commands(*fa_, state_);
    QVERIFY(commands.toggleStyle(setting, kRowMode));
    QVERIFY(styledExactly(setting, {4, 0, 6, 4}));
    // Only the one style moved.
    for (CellSetting other : {CellSetting::Bold, CellSetting::Italic, CellSetting::Underline}) {
        if (other != setting) {
            QVERIFY(styledExactly(other, {}));
        }
    }
    QCOMPARE(state_.boldState, setting == CellSetting::Bold);
    QCOMPARE(state_.italicState, setting == CellSetting::Italic);
    QCOMPARE(state_.underlineState, setting == CellSetting::Underline);
    QVERIFY(!commands.toggleStyle(setting, kRowMode));
    QVERIFY(styledExactly(setting, {}));
    QCOMPARE(fa_->textMatrix(5, 2), QStringLiteral("r5c2"));  // text untouched
}

void FormatCommandsTest::rememberedStateDecidesNotTheCells() {
    fa_->select(2, 1, 3, 2);
    state_.boldState = true;  // shown pressed, though no cell is bold
    QVERIFY(!FormatCommands(*fa_, state_).toggleStyle(CellSetting::Bold, kBlockMode));
    QVERIFY(styledExactly(CellSetting::Bold, {}));
    // A bold block whose state says not bold is made bold again, not cleared.
    fa_->setCell(CellSetting::Bold, 2, 1, 3, 2, true);
    state_.boldState = false;
    QVERIFY(FormatCommands(*fa_, state_).toggleStyle(CellSetting::Bold, kBlockMode));
    QVERIFY(styledExactly(CellSetting::Bold, {2, 1, 3, 2}));
}

void FormatCommandsTest::emptyRangeLeavesStateAlone() {
    fa_->setRows(1);
    QVERIFY(!FormatCommands(*fa_, state_).toggleStyle(CellSetting::Italic, kRowMode));
    QVERIFY(!state_.italicState);
    QVERIFY(!fa_->cell(CellSetting::Italic, 0, 0).toBool());
}

void FormatCommandsTest::foreColorCoversOnlyTheRange() {
    fa_->select(3, 1, 4, 3);
    FormatCommands(*fa_, state_).applyForeColor(0x0000FF, kBlockMode);
    for (int r = 0; r < fa_->rows(); ++r) {
        for (int c = 0; c < fa_->cols(); ++c) {
            const bool inside = r >= 3 && r <= 4 && c >= 1 && c <= 3;
            const uint32_t color = fa_->cell(CellSetting::ForeColor, r, c).toUInt();
            QVERIFY2(inside ? color == 0x0000FF : color != 0x0000FF,
                     qPrintable(QStringLiteral("%1,%2").arg(r).arg(c)));
        }
    }
    selectRowMode(7, 8);
    FormatCommands(*fa_, state_).applyForeColor(0x008000, kRowMode);
    QCOMPARE(fa_->cell(CellSetting::ForeColor, 7, 0).toUInt(), 0x008000u);
    QCOMPARE(fa_->cell(CellSetting::ForeColor, 8, 4).toUInt(), 0x008000u);
    QCOMPARE(fa_->cell(CellSetting::ForeColor, 3, 1).toUInt(), 0x0000FFu);
}

void FormatCommandsTest::columnFormatTouchesOnlyCurrentColumn() {
    fa_->setColFormat(0, QStringLiteral("0.00"));
    fa_->select(2, 3, 2, 3);
    QVERIFY(FormatCommands(*fa_, state_).setColumnFormat(QStringLiteral("$#,###")));
    QCOMPARE(fa_->colFormat(3), QStringLiteral("$#,###"));
    QCOMPARE(fa_->colFormat(0), QStringLiteral("0.00"));
    for (int c : {1, 2, 4}) {
        QVERIFY(fa_->colFormat(c).isEmpty());
    }
    QCOMPARE(fa_->textMatrix(2, 3), QStringLiteral("r2c3"));
}

void FormatCommandsTest::columnFormatsMatchTheirMenus() {
    const auto formats = FormatCommands::columnFormats();
    QCOMPARE(formats.size(), std::size_t(6));
    QStringList menuNames, popupNames, patterns;
    for (const sheet::ColumnFormatEntry& f : formats) {
        menuNames << QString::fromLatin1(f.menuEntry);
        popupNames << QString::fromLatin1(f.popupEntry);
        patterns << QString::fromLatin1(f.format);
    }
    QCOMPARE(patterns, (QStringList{"0", "0.00", "#,###", "#,###.00", "$#,###", "$#,###.00"}));
    QCOMPARE(menuNames,
             (QStringList{"mnuFormat0", "mnuFormat00", "mnuFormatComma", "mnuFormatComma00",
                          "mnuFormatDollarComma", "mnuFormatDollarComma00"}));
    QCOMPARE(popupNames, (QStringList{"mnuPU0", "mnuPU000", "mnuPUComma", "mnuPUComma00",
                                      "mnuPUDollarComma", "mnuPUDollarComma00"}));
}

void FormatCommandsTest::mergeFlipsCurrentColumn() {
    fa_->select(3, 2, 3, 2);
    FormatCommands commands(*fa_, state_);
    QVERIFY(commands.toggleMerge());
    QVERIFY(fa_->colMerge(2));
    QVERIFY(!fa_->colMerge(1) && !fa_->colMerge(3));
    QVERIFY(!commands.toggleMerge());
    QVERIFY(!fa_->colMerge(2));
}

QTEST_MAIN(FormatCommandsTest)
#include "tst_format_commands.moc"
