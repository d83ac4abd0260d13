// A comma- or tab-delimited file whose first line names every column (as the
// program's own saves write it) opens with that line as the titles when the
// open dialog's check box says so; the box is remembered in the settings
// file and followed by every open, the recent files' and the command line's
// included. Unchecked, or with a first line that does not name every
// column, the file opens as before: its first line is data row 1.
#include <QAction>
#include <QTest>

#include "sheet/grid.h"
#include "ui/main_menus.h"
#include "window_fixture.h"

namespace {

using Sheet = QList<QStringList>;

Sheet sheetOf(const sheet::Grid& g) {
    Sheet rows;
    for (int r = 0; r < g.rows(); ++r) {
        QStringList row;
        for (int c = 0; c < g.cols(); ++c) {
            row << g.textMatrix(r, c);
        }
        rows << row;
    }
    return rows;
}

const QByteArray kTitled = "Name,Amount,When\r\nPear,12.5,1/2/2003\r\nFig,3,2/3/2004\r\n";
const Sheet kAsTitles{
    {"Name", "Amount", "When"}, {"Pear", "12.5", "1/2/2003"}, {"Fig", "3", "2/3/2004"}};
const Sheet kAsData{{"", "", ""},
                    {"Name", "Amount", "When"},
                    {"Pear", "12.5", "1/2/2003"},
                    {"Fig", "3", "2/3/2004"}};

}  // namespace

class TitleLineWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void ownSaveReopensWithItsTitles_data();
    void ownSaveReopensWithItsTitles();
    void uncheckedBoxKeepsTheFirstLineAsData();
    void firstLineThatIsNotATitleRowStaysData_data();
    void firstLineThatIsNotATitleRowStaysData();
    void choiceIsRememberedInTheSettingsFile();
    void commandLineFileFollowsTheStoredChoice();

  private:
    app::MainWindow& w() { return run_->window(); }
    sheet::Grid& fa() { return *w().controls().dataSheet; }
    void open(const QString& path, int checkBox = -1);

    app::MemoryFileSystem* fs_ = nullptr;
    WindowRun* run_ = nullptr;
};

void TitleLineWindowTest::init() {
    fs_ = new app::MemoryFileSystem;
    run_ = new WindowRun(*fs_);
}

void TitleLineWindowTest::cleanup() {
    delete run_;
    delete fs_;
}

// Through File > Open; checkBox 0 or 1 is how the user leaves the box.
void TitleLineWindowTest::open(const QString& path, int checkBox) {
    run_->dialogs.texts.enqueue(path);
    if (checkBox >= 0) {
        run_->dialogs.checkBoxAnswers.enqueue(checkBox == 1);
    }
    w().menus().action(QStringLiteral("mnuOpen"))->trigger();
}

void TitleLineWindowTest::ownSaveReopensWithItsTitles_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("comma") << "/out/s.csv";
    QTest::newRow("tab") << "/out/s.txt";
}

// Regression: a saved comma-delimited file came back with its titles as data
// row 1 under blank titles, so a round trip changed the statistics.
void TitleLineWindowTest::ownSaveReopensWithItsTitles() {
    QFETCH(QString, path);
    fs_->putFile(QStringLiteral("/in/t.csv"), kTitled);
    open(QStringLiteral("/in/t.csv"));
    QCOMPARE(sheetOf(fa()), kAsTitles);
    const ui::ScriptedDialogs::Asked& asked = run_->dialogs.asked.last();
    QCOMPARE(asked.kind, QStringLiteral("open"));
    QVERIFY(!run_->dialogs.lastCheckBox.isEmpty());
    QVERIFY(run_->dialogs.lastCheckBoxChecked);  // checked the first time
    run_->dialogs.texts.enqueue(path);
    w().menus().action(QStringLiteral("mnuSaveAs"))->trigger();
    fa().setTextMatrix(1, 0, QStringLiteral("changed"));
    open(path);
    QCOMPARE(sheetOf(fa()), kAsTitles);
    QCOMPARE(w().controls().formView->textMatrix(1, 0), QStringLiteral("Name"));
}

void TitleLineWindowTest::uncheckedBoxKeepsTheFirstLineAsData() {
    fs_->putFile(QStringLiteral("/in/t.csv"), kTitled);
    open(QStringLiteral("/in/t.csv"), 0);
    QCOMPARE(sheetOf(fa()), kAsData);
    QVERIFY(w().menus().action(QStringLiteral("mnuSetColHeaderRow"))->isVisible());
    // The next dialog starts unchecked; checking it there takes the titles.
    open(QStringLiteral("/in/t.csv"), 1);
    QVERIFY(!run_->dialogs.lastCheckBoxChecked);
    QCOMPARE(sheetOf(fa()), kAsTitles);
    // A cancelled dialog leaves the choice as it was.
    run_->dialogs.checkBoxAnswers.enqueue(false);
    w().menus().action(QStringLiteral("mnuOpen"))->trigger();
    QVERIFY(w().files().firstLineTitles());
    QCOMPARE(sheetOf(fa()), kAsTitles);
}

void TitleLineWindowTest::firstLineThatIsNotATitleRowStaysData_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("a number in it") << QByteArray("Name,2003\r\nPear,1\r\n");
    QTest::newRow("an empty cell") << QByteArray("Name,\r\nPear,1\r\n");
    QTest::newRow("a name twice") << QByteArray("Name,NAME\r\nPear,1\r\n");
    QTest::newRow("nothing below it") << QByteArray("Name,Amount\r\n");
    QTest::newRow("a longer line below") << QByteArray("Name,Amount\r\nPear,1,extra\r\n");
}

void TitleLineWindowTest::firstLineThatIsNotATitleRowStaysData() {
    QFETCH(QByteArray, file);
    fs_->putFile(QStringLiteral("/in/d.csv"), file);
    open(QStringLiteral("/in/d.csv"), 1);
    QVERIFY(run_->dialogs.asked.size() == 1);  // no message either
    for (int c = 0; c < fa().cols(); ++c) {
        QCOMPARE(fa().textMatrix(0, c), QString());
    }
    QCOMPARE(fa().textMatrix(1, 0), QStringLiteral("Name"));
}

void TitleLineWindowTest::choiceIsRememberedInTheSettingsFile() {
    fs_->putFile(QStringLiteral("/in/t.csv"), kTitled);
    open(QStringLiteral("/in/t.csv"), 0);
    w().exitProgram();
    QVERIFY(settingsLines(fs_->contents(kProgramIni))
                .contains(QStringLiteral("FIRSTLINETITLES=False")));
    delete run_;
    run_ = new WindowRun(*fs_);
    QVERIFY(!w().files().firstLineTitles());
    open(QStringLiteral("/in/t.csv"));
    QVERIFY(!run_->dialogs.lastCheckBoxChecked);
    QCOMPARE(sheetOf(fa()), kAsData);
}

void TitleLineWindowTest::commandLineFileFollowsTheStoredChoice() {
    fs_->putFile(QStringLiteral("/in/t.txt"), QByteArray("A\tB\r\nx\ty\r\n"));
    fs_->putFile(kProgramIni, QByteArray("[OPTION]\r\nFIRSTLINETITLES=True\r\n"));
    delete run_;
    run_ = new WindowRun(*fs_, {QStringLiteral("/in/t.txt")});
    QTRY_COMPARE(sheetOf(fa()), (Sheet{{"A", "B"}, {"x", "y"}}));
}

QTEST_MAIN(TitleLineWindowTest)
#include "tst_title_line_window.moc"
