// Esc stops long work on the window's thread: a text file being loaded
// leaves the sheet as it was, a statistics run leaves no figures, and a
// message says which; with no Esc both run to their end.
#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QTest>

#include "sheet/grid.h"
#include "sheet_driving.h"
#include "ui/main_menus.h"
#include "ui/tab_strip.h"
#include "window_fixture.h"

namespace {

// The window looks at its input 40 ms into a load at the earliest, so the
// load must take well over that on a fast machine.
constexpr int kFileLines = 1'500'000;

}  // namespace

class FrmMainStopTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void escapeStopsATextFileLoad();
    void escapeStopsAStatisticsRun();

  private:
    QAction* entry(const char* name) const { return w_->menus().action(QString::fromLatin1(name)); }
    // Esc waiting in the queue: the first pause the work makes delivers it.
    void pressEscapeDuringTheWork() {
        QCoreApplication::postEvent(w_->controls().dataSheet,
                                    new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, {}));
    }
    QString lastMessage() const {
        return run_->run.dialogs.asked.isEmpty() ? QString() : run_->run.dialogs.asked.last().text;
    }

    std::unique_ptr<ToolbarWindowRun> run_;
    app::MainWindow* w_ = nullptr;
    sheet::Grid* fa_ = nullptr;
};

void FrmMainStopTest::init() {
    run_ = std::make_unique<ToolbarWindowRun>();
    w_ = &run_->window();
    QVERIFY(QTest::qWaitForWindowExposed(w_));
    fa_ = w_->controls().dataSheet;
}

void FrmMainStopTest::cleanup() {
    run_.reset();
}

void FrmMainStopTest::escapeStopsATextFileLoad() {
    fa_->setRows(5);
    fa_->setCols(3);
    fillSheet(*fa_, 4);
    QByteArray file;
    for (int i = 0; i < kFileLines; ++i) {
        file += "line " + QByteArray::number(i) + ",12.5,some text\r\n";
    }
    run_->fs.putFile(QStringLiteral("/data/big.csv"), file);
    run_->run.dialogs.texts.enqueue(QStringLiteral("/data/big.csv"));
    pressEscapeDuringTheWork();
    entry("mnuOpen")->trigger();
    QCOMPARE(lastMessage(), QStringLiteral("Loading stopped: the sheet still shows what it showed "
                                           "before '/data/big.csv'."));
    QCOMPARE(fa_->rows(), 5);
    QCOMPARE(fa_->cols(), 3);
    QCOMPARE(fa_->textMatrix(4, 2), cellText(4, 2));
    QVERIFY(!w_->windowTitle().contains(QStringLiteral("big.csv")));
    // Input reaches the window again, and without Esc the file loads whole.
    const qsizetype asked = run_->run.dialogs.asked.size();
    run_->run.dialogs.texts.enqueue(QStringLiteral("/data/big.csv"));
    entry("mnuOpen")->trigger();
    QCOMPARE(run_->run.dialogs.asked.size(), asked + 1);  // the open dialog, no message
    QCOMPARE(fa_->rows() - 1, kFileLines);
}

void FrmMainStopTest::escapeStopsAStatisticsRun() {
    constexpr int kRows = 200'000;
    fa_->setRows(kRows + 1);
    fa_->setCols(4);
    for (int c = 0; c < 4; ++c) {
        fa_->setTextMatrix(0, c, QStringLiteral("N%1").arg(c));
        for (int r = 1; r <= kRows; r += 7) {
            fa_->setTextMatrix(r, c, QString::number(r * (c + 1)));
        }
    }
    pressEscapeDuringTheWork();
    entry("mnuAnalysis")->trigger();
    QCOMPARE(lastMessage(), QStringLiteral("Statistics stopped: no column figures were kept."));
    QCOMPARE(w_->statistics().store().size(), 0);
    QVERIFY(!w_->controls().tabStrip->isTabVisible(ui::TabStrip::ColumnStatistics));
    QVERIFY(entry("mnuAnalysis")->isEnabled());
    QVERIFY(!entry("mnuBarChart")->isEnabled());
    // Run again without Esc: every column gets its figures.
    entry("mnuAnalysis")->trigger();
    QCOMPARE(w_->statistics().store().size(), 4);
    QVERIFY(w_->controls().tabStrip->isTabVisible(ui::TabStrip::ColumnStatistics));
    QVERIFY(!entry("mnuAnalysis")->isEnabled());
}

QTEST_MAIN(FrmMainStopTest)
#include "tst_frm_main_stop.moc"
