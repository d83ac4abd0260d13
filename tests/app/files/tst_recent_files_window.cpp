// The recent files of the File menu in the real main window, headless: files
// opened through the dialog, a drop or a recent entry, and files saved, go to
// the top of mnuFile1..mnuFile8; an entry opens its file; one whose file is
// gone is taken off with a message; the list survives a restart through the
// settings file.
#include <QAction>
#include <QTest>

#include "app/recent_files_menu.h"
#include "sheet/grid.h"
#include "ui/main_menus.h"
#include "window_fixture.h"

namespace {

QByteArray commaFile(const QString& firstCell) {
    // "2" is no column title: the first line stays data row 1.
    return QStringLiteral("%1,2\r\n1,2\r\n").arg(firstCell).toUtf8();
}

}  // namespace

class RecentFilesWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void nothingOpenedShowsNoEntries();
    void openedAndSavedFilesComeFirst();
    void eightAreKeptAndAReopenedFileMovesUp();
    void anEntryOpensItsFile();
    void aMissingFileIsRemovedWithAMessage();
    void theListSurvivesARestart();
    void aFreshRunWritesNoRecentSection();
    void ampersandsInNamesAreShown();

  private:
    app::MainWindow& w() const { return run_->window(); }
    QAction* entry(const char* name) const { return w().menus().action(QString::fromLatin1(name)); }
    QAction* recent(int i) const { return entry(qPrintable(QStringLiteral("mnuFile%1").arg(i))); }
    void open(const QString& path);
    QStringList shownEntries() const;

    std::unique_ptr<app::MemoryFileSystem> fs_;
    std::unique_ptr<WindowRun> run_;
};

void RecentFilesWindowTest::init() {
    fs_ = std::make_unique<app::MemoryFileSystem>();
    for (const char* name : {"a", "b", "c", "d", "e", "f", "g", "h", "i"}) {
        fs_->putFile(QStringLiteral("/data/%1.csv").arg(QLatin1String(name)),
                     commaFile(QLatin1String(name)));
    }
    run_ = std::make_unique<WindowRun>(*fs_);
}

void RecentFilesWindowTest::cleanup() {
    run_.reset();
    fs_.reset();
}

void RecentFilesWindowTest::open(const QString& path) {
    run_->dialogs.texts.enqueue(path);
    entry("mnuOpen")->trigger();
}

QStringList RecentFilesWindowTest::shownEntries() const {
    QStringList captions;
    for (int i = 1; i <= 8; ++i) {
        if (recent(i)->isVisible()) {
            captions << recent(i)->text();
        }
    }
    return captions;
}

void RecentFilesWindowTest::nothingOpenedShowsNoEntries() {
    QVERIFY(shownEntries().isEmpty());
    QVERIFY(!entry("mnuSpace11")->isVisible());
}

void RecentFilesWindowTest::openedAndSavedFilesComeFirst() {
    open(QStringLiteral("/data/a.csv"));
    QCOMPARE(shownEntries(), QStringList{"&1 /data/a.csv"});
    QVERIFY(entry("mnuSpace11")->isVisible());
    run_->dialogs.texts.enqueue(QStringLiteral("/out/saved.txt"));
    entry("mnuSaveAs")->trigger();
    open(QStringLiteral("/data/b.csv"));
    QCOMPARE(shownEntries(),
             (QStringList{"&1 /data/b.csv", "&2 /out/saved.txt", "&3 /data/a.csv"}));
    // A file that fails to open is not listed.
    open(QStringLiteral("/data/nowhere.csv"));
    QCOMPARE(shownEntries().size(), 3);
}

void RecentFilesWindowTest::eightAreKeptAndAReopenedFileMovesUp() {
    for (const char* name : {"a", "b", "c", "d", "e", "f", "g", "h", "i"}) {
        open(QStringLiteral("/data/%1.csv").arg(QLatin1String(name)));
    }
    QCOMPARE(shownEntries().size(), 8);
    QCOMPARE(recent(1)->text(), QStringLiteral("&1 /data/i.csv"));
    QCOMPARE(recent(8)->text(), QStringLiteral("&8 /data/b.csv"));  // a dropped off
    open(QStringLiteral("/data/e.csv"));
    QCOMPARE(shownEntries().size(), 8);
    QCOMPARE(recent(1)->text(), QStringLiteral("&1 /data/e.csv"));
    QCOMPARE(recent(2)->text(), QStringLiteral("&2 /data/i.csv"));
    QCOMPARE(recent(5)->text(), QStringLiteral("&5 /data/f.csv"));
    QCOMPARE(recent(6)->text(), QStringLiteral("&6 /data/d.csv"));
}

void RecentFilesWindowTest::anEntryOpensItsFile() {
    open(QStringLiteral("/data/a.csv"));
    open(QStringLiteral("/data/b.csv"));
    QCOMPARE(w().controls().dataSheet->textMatrix(1, 0), QStringLiteral("b"));
    recent(2)->trigger();
    QCOMPARE(w().controls().dataSheet->textMatrix(1, 0), QStringLiteral("a"));
    QCOMPARE(w().windowTitle(), QStringLiteral("Veltrano [/data/a.csv]"));
    QCOMPARE(recent(1)->text(), QStringLiteral("&1 /data/a.csv"));
    QVERIFY(run_->dialogs.asked.size() == 2);  // only the two open dialogs
}

void RecentFilesWindowTest::aMissingFileIsRemovedWithAMessage() {
    open(QStringLiteral("/data/a.csv"));
    open(QStringLiteral("/data/b.csv"));
    open(QStringLiteral("/data/c.csv"));
    fs_->removeFile(QStringLiteral("/data/b.csv"));
    run_->dialogs.asked.clear();
    recent(2)->trigger();
    QCOMPARE(run_->dialogs.asked.size(), 1);
    const auto& message = run_->dialogs.asked.first();
    QCOMPARE(message.kind, QStringLiteral("message"));
    QCOMPARE(message.title, QStringLiteral("Open Error"));
    QVERIFY2(message.text.contains(QStringLiteral("/data/b.csv")), qPrintable(message.text));
    QCOMPARE(shownEntries(), (QStringList{"&1 /data/c.csv", "&2 /data/a.csv"}));
    QCOMPARE(w().controls().dataSheet->textMatrix(1, 0), QStringLiteral("c"));  // sheet kept
}

void RecentFilesWindowTest::theListSurvivesARestart() {
    open(QStringLiteral("/data/a.csv"));
    open(QStringLiteral("/data/b.csv"));
    w().exitProgram();
    const QStringList lines = settingsLines(fs_->contents(kProgramIni));
    const qsizetype section = lines.indexOf(QStringLiteral("[RECENT]"));
    QVERIFY(section >= 0);
    QCOMPARE(lines.mid(section + 1, 2), (QStringList{"FILE1=/data/b.csv", "FILE2=/data/a.csv"}));
    run_ = std::make_unique<WindowRun>(*fs_);
    QCOMPARE(shownEntries(), (QStringList{"&1 /data/b.csv", "&2 /data/a.csv"}));
    // A file removed from the list is not brought back by the next start.
    fs_->removeFile(QStringLiteral("/data/b.csv"));
    recent(1)->trigger();
    w().exitProgram();
    run_ = std::make_unique<WindowRun>(*fs_);
    QCOMPARE(shownEntries(), QStringList{"&1 /data/a.csv"});
}

void RecentFilesWindowTest::aFreshRunWritesNoRecentSection() {
    w().exitProgram();
    QVERIFY(!fs_->contents(kProgramIni).isEmpty());
    QVERIFY(!fs_->contents(kProgramIni).contains("RECENT"));
}

void RecentFilesWindowTest::ampersandsInNamesAreShown() {
    fs_->putFile(QStringLiteral("/data/R&D.csv"), commaFile(QStringLiteral("rd")));
    open(QStringLiteral("/data/R&D.csv"));
    QCOMPARE(recent(1)->text(), QStringLiteral("&1 /data/R&&D.csv"));
    recent(1)->trigger();
    QCOMPARE(w().controls().dataSheet->textMatrix(1, 0), QStringLiteral("rd"));
}

QTEST_MAIN(RecentFilesWindowTest)
#include "tst_recent_files_window.moc"
