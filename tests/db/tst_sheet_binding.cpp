// The sheet bound to Data1: a record set fills the grid in bulk with the
// field names as titles, the values' texts, sort values and VarType codes;
// a record set that fails before its first row leaves the sheet alone.
#include <QTest>

#include "db/progress_bar_feedback.h"
#include "db/sheet_binding.h"
#include "jet/sql_value_text.h"
#include "sheet/cell_payload.h"
#include "sheet/column_fit.h"
#include "sheet/flag_commands.h"
#include "sheet/grid.h"
#include "sheet/sheet_update.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QThread>
#include <QTimer>

namespace {

// A record set over rows given by the test; it can fail at a chosen row, or
// on one value of it (as a damaged long value does).
class FakeRecordset : public jet::Recordset {
  public:
    FakeRecordset(std::vector<jet::RecordsetField> fields,
                  std::vector<std::vector<jet::Value>> rows, int failAt = -1, int failingField = -1)
        : fields_(std::move(fields)),
          rows_(std::move(rows)),
          failAt_(failAt),
          failingField_(failingField) {}

    const std::vector<jet::RecordsetField>& fields() const override { return fields_; }
    bool next() override {
        ++at_;
        if (at_ == failAt_ && failingField_ < 0) {
            status_ = jet::Status(jet::ErrorCode::Corrupt, "Page 7 of table T cannot be read.");
            return false;
        }
        return at_ < int(rows_.size());
    }
    const std::vector<jet::Value>& row() const override { return rows_[std::size_t(at_)]; }
    const jet::Status& status() const override { return status_; }
    jet::ValueRef cell(std::size_t field) override {
        if (at_ == failAt_ && int(field) == failingField_) {
            status_ = jet::Status(jet::ErrorCode::Corrupt, "Long value page 9 cannot be read.");
            return {};
        }
        return jet::Recordset::cell(field);
    }

  private:
    std::vector<jet::RecordsetField> fields_;
    std::vector<std::vector<jet::Value>> rows_;
    int failAt_;
    int failingField_;
    int at_ = -1;
    jet::Status status_;
};

using T = jet::ValueType;

std::vector<jet::RecordsetField> everyType() {
    return {{"Yes", T::Boolean},   {"Small", T::Byte},     {"Int", T::Integer}, {"Lng", T::Long},
            {"Big", T::BigInt},    {"Money", T::Currency}, {"Sgl", T::Single},  {"Dbl", T::Double},
            {"When", T::DateTime}, {"Txt", T::Text},       {"Id", T::Guid},     {"Dec", T::Decimal},
            {"Blob", T::Binary},   {"Nothing", T::Null}};
}

std::vector<jet::Value> oneOfEach() {
    jet::Decimal dec;
    dec.lo = 12345;
    dec.scale = 2;
    return {jet::Value::boolean(true),
            jet::Value::integer(T::Byte, 200),
            jet::Value::integer(T::Integer, -5),
            jet::Value::integer(T::Long, 333333333),
            jet::Value::integer(T::BigInt, 9007199254740993LL),
            jet::Value::integer(T::Currency, 35000),
            jet::Value::real(T::Single, 0.5),
            jet::Value::real(T::Double, 444.555),
            jet::Value::real(T::DateTime, 27293.0),
            jet::Value::text("héllo, world"),
            jet::Value::guid(std::string(16, '\x11')),
            jet::Value::decimal(dec),
            jet::Value::binary("\x01\x02"),
            jet::Value::null()};
}

void prefill(sheet::Grid& grid) {
    grid.setFixedRows(1);
    grid.setRows(3);
    grid.setCols(2);
    grid.setTextMatrix(0, 0, QStringLiteral("Old"));
    grid.setTextMatrix(1, 0, QStringLiteral("kept"));
}

}  // namespace

class SheetBindingTest : public QObject {
    Q_OBJECT
  private slots:
    void titlesTextsAndTypesFromTheRecordset();
    void sortValuesKeptBesideTheTexts();
    void emptyRecordsetGivesTitleRowOnly();
    void failureBeforeTheFirstRowLeavesTheSheet();
    void failurePartWayKeepsTheRowsRead();
    void valueFailingToReadLeavesOutItsRowNotTheOnesBefore();
    void flagColumnGoesToPositionZero();
    void progressShowsAndLetsTheWindowPaint();
    void unknownRowCountShowsAMovingBar();
    void loadedColumnsFitTheirContents();
    void stoppedLoadKeepsTheRowsReadUntilThen();
    void escapeAsksToStopAndOtherInputIsIgnored();
};

void SheetBindingTest::titlesTextsAndTypesFromTheRecordset() {
    sheet::Grid grid;
    prefill(grid);
    FakeRecordset records(everyType(), {oneOfEach()});
    db::SheetBinding binding(grid);
    const auto outcome = binding.load(records, 0);
    QVERIFY(outcome.status.isOk());
    QVERIFY(outcome.replaced);
    QCOMPARE(grid.rows(), 2);
    QCOMPARE(grid.cols(), 14);
    const auto fields = everyType();
    const auto values = oneOfEach();
    const int types[] = {11, 17, 2, 3, 20, 6, 4, 5, 7, 8, 8, 14, 8209, 8};
    for (int c = 0; c < 14; ++c) {
        QCOMPARE(grid.textMatrix(0, c), QString::fromStdString(fields[std::size_t(c)].name));
        if (c != 12) {  // binary cells show their size, below
            QCOMPARE(grid.textMatrix(1, c),
                     QString::fromStdString(jet::displayText(values[std::size_t(c)])));
        }
        QCOMPARE(grid.colDataType(c), types[c]);
    }
    QCOMPARE(grid.textMatrix(1, 0), QStringLiteral("True"));
    QCOMPARE(grid.textMatrix(1, 5), QStringLiteral("3.5"));
    QCOMPARE(grid.textMatrix(1, 8), QStringLiteral("9/21/1974"));
    QCOMPARE(grid.textMatrix(1, 9), QStringLiteral("héllo, world"));
    // A binary value shows its size and keeps its bytes for the cell viewer.
    const std::string& bytes = values[12].data();
    QCOMPARE(grid.textMatrix(1, 12), QString::fromStdString(sheet::binaryCellText(bytes.size())));
    QVERIFY(grid.textMatrix(1, 12).startsWith(QStringLiteral("(binary, ")));
    const auto payload = grid.cellPayload(1, 12);
    QVERIFY(payload);
    QCOMPARE(payload->bytes, bytes);
    QVERIFY(!grid.cellPayload(1, 11));
    QCOMPARE(grid.textMatrix(1, 13), QString());
}

void SheetBindingTest::sortValuesKeptBesideTheTexts() {
    sheet::Grid grid;
    FakeRecordset records(everyType(), {oneOfEach()});
    db::SheetBinding binding(grid);
    QVERIFY(binding.load(records, 0).status.isOk());
    double v = 0;
    QVERIFY(grid.cellValue(1, 0, &v));
    QCOMPARE(v, -1.0);
    QVERIFY(grid.cellValue(1, 5, &v));
    QCOMPARE(v, 3.5);
    QVERIFY(grid.cellValue(1, 8, &v));
    QCOMPARE(v, 27293.0);
    QVERIFY(grid.cellValue(1, 11, &v));
    QCOMPARE(v, 123.45);
    QVERIFY(!grid.cellValue(1, 9, &v));
}

void SheetBindingTest::emptyRecordsetGivesTitleRowOnly() {
    sheet::Grid grid;
    prefill(grid);
    FakeRecordset records({{"A", T::Text}, {"B", T::Long}}, {});
    db::SheetBinding binding(grid);
    const auto outcome = binding.load(records, 0);
    QVERIFY(outcome.status.isOk());
    QVERIFY(outcome.replaced);
    QCOMPARE(grid.rows(), 1);
    QCOMPARE(grid.cols(), 2);
    QCOMPARE(grid.textMatrix(0, 0), QStringLiteral("A"));
    QCOMPARE(grid.colDataType(1), 3);
}

void SheetBindingTest::failureBeforeTheFirstRowLeavesTheSheet() {
    sheet::Grid grid;
    prefill(grid);
    FakeRecordset records({{"A", T::Text}}, {{jet::Value::text("x")}}, 0);
    db::SheetBinding binding(grid);
    const auto outcome = binding.load(records, 0);
    QVERIFY(!outcome.status.isOk());
    QVERIFY(!outcome.replaced);
    QCOMPARE(grid.rows(), 3);
    QCOMPARE(grid.textMatrix(0, 0), QStringLiteral("Old"));
    QCOMPARE(grid.textMatrix(1, 0), QStringLiteral("kept"));
}

void SheetBindingTest::failurePartWayKeepsTheRowsRead() {
    sheet::Grid grid;
    prefill(grid);
    std::vector<std::vector<jet::Value>> rows;
    for (int i = 0; i < 5; ++i) {
        rows.push_back({jet::Value::integer(T::Long, i)});
    }
    FakeRecordset records({{"N", T::Long}}, rows, 3);
    db::SheetBinding binding(grid);
    const auto outcome = binding.load(records, 0);
    QVERIFY(outcome.replaced);
    QCOMPARE(QString::fromStdString(outcome.status.message()),
             QStringLiteral("Page 7 of table T cannot be read."));
    QCOMPARE(grid.rows(), 4);
    QCOMPARE(grid.textMatrix(3, 0), QStringLiteral("2"));
}

void SheetBindingTest::valueFailingToReadLeavesOutItsRowNotTheOnesBefore() {
    sheet::Grid grid;
    prefill(grid);
    std::vector<std::vector<jet::Value>> rows;
    for (int i = 0; i < 5; ++i) {
        rows.push_back({jet::Value::integer(T::Long, i),
                        jet::Value::text("memo " + std::to_string(i)),
                        jet::Value::real(T::Double, i + 0.5)});
    }
    FakeRecordset records({{"N", T::Long}, {"Memo", T::Text}, {"X", T::Double}}, rows, 2, 1);
    db::SheetBinding binding(grid);
    const auto outcome = binding.load(records, 0);
    QVERIFY(outcome.replaced);
    QCOMPARE(QString::fromStdString(outcome.status.message()),
             QStringLiteral("Long value page 9 cannot be read."));
    QCOMPARE(grid.rows(), 3);
    QCOMPARE(grid.textMatrix(2, 0), QStringLiteral("1"));
    QCOMPARE(grid.textMatrix(2, 1), QStringLiteral("memo 1"));
    QCOMPARE(grid.textMatrix(2, 2), QStringLiteral("1.5"));
}

void SheetBindingTest::flagColumnGoesToPositionZero() {
    sheet::Grid fa;
    sheet::Grid fb;
    FakeRecordset records({{"A", T::Text}, {"B", T::Long}},
                          {{jet::Value::text("x"), jet::Value::integer(T::Long, 7)}});
    db::SheetBinding binding(fa);
    QVERIFY(binding.load(records, 0).status.isOk());
    sheet::SheetState state;
    state.flagColumn = 5;
    sheet::FlagCommands(fa, fb, state, QPixmap()).addColumn();
    QCOMPARE(fa.cols(), 3);
    QCOMPARE(fa.textMatrix(0, 0), QStringLiteral("Flag"));
    QCOMPARE(fa.textMatrix(0, 1), QStringLiteral("A"));
    QCOMPARE(fa.textMatrix(1, 0), QString());
    QCOMPARE(fa.textMatrix(1, 2), QStringLiteral("7"));
    QCOMPARE(fa.colWidth(0), 410);
    QCOMPARE(fa.colDataType(0), 0);
    QCOMPARE(fa.colDataType(1), 8);
    QCOMPARE(fa.colDataType(2), 3);
    QCOMPARE(fb.rows(), 4);
    QVERIFY(state.flagColumnPresent);
    QCOMPARE(state.flagColumn, 0);
}

// Past the first moments of a long load the bar shows and pending window
// events are processed (user input is excluded by the event loop flag).
void SheetBindingTest::progressShowsAndLetsTheWindowPaint() {
    QWidget window;
    auto* bar = new QProgressBar(&window);
    bar->setVisible(false);
    window.show();
    db::ProgressBarFeedback progress(bar);
    bool timerRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });
    progress.started(2000);
    progress.advanced(100);  // too early: no bar, no pass
    QVERIFY(!bar->isVisible());
    QVERIFY(!timerRan);
    QThread::msleep(db::ProgressBarFeedback::kShowAfterMs + 20);
    progress.advanced(500);
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->value(), 250);  // thousandths of the expected rows
    QVERIFY(timerRan);
    QCOMPARE(progress.paintPasses(), 1);
    progress.advanced(600);  // too soon after the last pass: nothing happens
    QCOMPARE(progress.paintPasses(), 1);
    QCOMPARE(bar->value(), 250);
    progress.finished();
    QVERIFY(!bar->isVisible());
}

void SheetBindingTest::unknownRowCountShowsAMovingBar() {
    QWidget window;
    auto* bar = new QProgressBar(&window);
    window.show();
    db::ProgressBarFeedback progress(bar);
    progress.started(0);
    QThread::msleep(db::ProgressBarFeedback::kShowAfterMs + 20);
    progress.advanced(8192);
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->maximum(), 0);
    progress.finished();
    QVERIFY(!bar->isVisible());
    QCOMPARE(bar->maximum(), 100);
}

void SheetBindingTest::loadedColumnsFitTheirContents() {
    sheet::Grid grid;
    prefill(grid);
    grid.setColWidth(1, 5000);
    std::vector<jet::Value> memo = oneOfEach();
    memo[9] = jet::Value::text(std::string(3000, 'm'));
    FakeRecordset records(everyType(), {oneOfEach(), memo});
    db::SheetBinding binding(grid);
    QVERIFY(binding.load(records, 0).status.isOk());
    for (int c = 0; c < grid.cols(); ++c) {
        QCOMPARE(grid.colWidth(c), sheet::ColumnFit::fittedWidth(grid, c));
    }
    QCOMPARE(grid.colWidth(9), sheet::ColumnFit::kMaxTextTwips);  // the memo is capped
    QVERIFY(grid.colWidth(4) > grid.colWidth(1));                 // 9007199254740993 against 200
}

namespace {
// Progress that asks to stop once `stopAt` rows are in.
class StopAt : public db::LoadProgress {
  public:
    explicit StopAt(uint64_t stopAt) : stopAt_(stopAt) {}
    void started(uint64_t) override {}
    void advanced(uint64_t rows) override { stop_ = rows >= stopAt_; }
    void finished() override {}
    bool stopRequested() const override { return stop_; }

  private:
    uint64_t stopAt_;
    bool stop_ = false;
};
}  // namespace

void SheetBindingTest::stoppedLoadKeepsTheRowsReadUntilThen() {
    sheet::Grid grid;
    prefill(grid);
    std::vector<std::vector<jet::Value>> rows;
    for (int i = 0; i < 50000; ++i) {
        rows.push_back({jet::Value::integer(T::Long, i)});
    }
    FakeRecordset records({{"N", T::Long}}, rows);
    StopAt progress(2 * db::SheetBinding::kProgressStep);
    db::SheetBinding binding(grid, &progress);
    const auto outcome = binding.load(records, rows.size());
    QVERIFY(outcome.replaced);
    QVERIFY(outcome.stopped);
    QVERIFY(outcome.status.isOk());
    const int kept = int(2 * db::SheetBinding::kProgressStep);
    QCOMPARE(grid.rows(), kept + 1);
    QCOMPARE(grid.textMatrix(kept, 0), QString::number(kept - 1));
    QCOMPARE(grid.colDataType(0), 3);  // the load still ends as a whole one does
}

// While a load runs, clicks and keys reach no control; Esc asks to stop.
// Once it has finished, input goes where it did before.
void SheetBindingTest::escapeAsksToStopAndOtherInputIsIgnored() {
    QWidget window;
    auto* bar = new QProgressBar(&window);
    auto* box = new QLineEdit(&window);
    window.show();
    box->setFocus();
    db::ProgressBarFeedback progress(bar);
    progress.started(1000);
    QCoreApplication::postEvent(
        box, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a")));
    QThread::msleep(db::ProgressBarFeedback::kPaintEveryMs + 10);
    progress.advanced(10);
    QVERIFY(box->text().isEmpty());
    QVERIFY(!progress.stopRequested());
    QCoreApplication::postEvent(box,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    QThread::msleep(db::ProgressBarFeedback::kPaintEveryMs + 10);
    progress.advanced(20);
    QVERIFY(progress.stopRequested());
    progress.finished();
    QCoreApplication::postEvent(
        box, new QKeyEvent(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, QStringLiteral("b")));
    QCoreApplication::processEvents();
    QCOMPARE(box->text(), QStringLiteral("b"));
    progress.started(1000);
    QVERIFY(!progress.stopRequested());  // each load starts afresh
    progress.finished();
}

QTEST_MAIN(SheetBindingTest)
#include "tst_sheet_binding.moc"
