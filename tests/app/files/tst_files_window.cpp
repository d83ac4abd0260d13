// Opening and saving files in the real main window, headless: Save As in the
// three forms and Open of each with the sheet checked cell by cell, the
// database and file modes, refusals, unreadable files, failing writes (the
// in-memory file system refuses them: chmod does not stop root), text
// encodings, the command-line file and files dropped on the window.
#include <QAction>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>

#include "db/progress_bar_feedback.h"
#include "sheet/grid.h"
#include "sheet/grid_file.h"
#include "ui/caption_panel.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/size_boxes.h"
#include "ui/tab_strip.h"
#include "window_fixture.h"

namespace {

const QString kTestData = QStringLiteral(TABLESCOPE_TESTDATA);
const QString kTestMdb = kTestData + QStringLiteral("/mdb-reader/V2003/test.mdb");

// Files written by the window live in memory; database files are read from
// the shared test data on disk, so they exist for the open command too.
class TestFileSystem : public app::MemoryFileSystem {
  public:
    bool fileExists(const QString& path) const override {
        return MemoryFileSystem::fileExists(path) || QFileInfo(path).isFile();
    }
    // A slow disk: every read of a user's file takes this long first.
    int readDelayMs = 0;
    jet::Result<QByteArray> readFileUpTo(const QString& path, qint64 maxBytes) const override {
        QThread::msleep(readDelayMs);
        return MemoryFileSystem::readFileUpTo(path, maxBytes);
    }
};

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

QAction* entry(app::MainWindow& w, const char* name) {
    return w.menus().action(QString::fromLatin1(name));
}

void fillSheet(sheet::Grid& fa, const Sheet& rows) {
    fa.setRows(int(rows.size()));
    fa.setCols(int(rows.first().size()));
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            fa.setTextMatrix(r, c, rows[r][c]);
        }
    }
}

}  // namespace

class FilesWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void testDataIsThere();
    void databaseOpensInDatabaseMode();
    void saveAsAndOpenEachForm_data();
    void saveAsAndOpenEachForm();
    void fileModeClosesTheDatabase();
    void quotedCellsRoundTripThroughCommaText();
    void windows1252FileOpens();
    void gridFileBringsItsAlternateColour();
    void bigTextFileShowsTheProgressBar();
    void cancelledDialogsChangeNothing();
    void missingFileGivesOpenError();
    void unrecognisedExtensionChangesNothing();
    void damagedGridFileKeepsTheSheet();
    void refusedSaveNameKeepsTheFlagColumn();
    void failedWriteIsReportedAndOldFileKept();
    void secondSaveHasNoFlagColumnToRemove();
    void commandLineFileOpensOnceTheWindowIsUp();
    void droppedFileOpens();

  private:
    app::MainWindow& w() { return run_->window(); }
    void openDatabase();
    void openThroughDialog(const QString& path);
    void saveThroughDialog(const QString& path);
    QList<ui::ScriptedDialogs::Asked> messages() const;

    TestFileSystem* fs_ = nullptr;
    WindowRun* run_ = nullptr;
};

void FilesWindowTest::init() {
    fs_ = new TestFileSystem;
    run_ = new WindowRun(*fs_);
}

void FilesWindowTest::cleanup() {
    delete run_;
    delete fs_;
}

void FilesWindowTest::openThroughDialog(const QString& path) {
    run_->dialogs.texts.enqueue(path);
    entry(w(), "mnuOpen")->trigger();
}

void FilesWindowTest::saveThroughDialog(const QString& path) {
    run_->dialogs.texts.enqueue(path);
    entry(w(), "mnuSaveAs")->trigger();
}

QList<ui::ScriptedDialogs::Asked> FilesWindowTest::messages() const {
    QList<ui::ScriptedDialogs::Asked> found;
    for (const auto& asked : run_->dialogs.asked) {
        if (asked.kind == QLatin1String("message")) {
            found << asked;
        }
    }
    return found;
}

void FilesWindowTest::openDatabase() {
    openThroughDialog(kTestMdb);
    QVERIFY2(messages().isEmpty(), messages().isEmpty() ? "" : qPrintable(messages()[0].text));
    QCOMPARE(int(w().files().openFileType()), 1);
}

void FilesWindowTest::testDataIsThere() {
    QVERIFY2(QFileInfo(kTestMdb).isFile(), qPrintable(kTestMdb + " is missing"));
}

void FilesWindowTest::databaseOpensInDatabaseMode() {
    openDatabase();
    QVERIFY(w().browser().database());
    QVERIFY(w().controls().databaseTree->isVisibleTo(&w()));
    QVERIFY(!w().controls().captionPanel->isVisibleTo(&w()));
    QVERIFY(w().sheetState().flagColumnPresent);
    QCOMPARE(w().controls().dataSheet->textMatrix(0, 0), QStringLiteral("Flag"));
    QCOMPARE(w().controls().dataSheet->textMatrix(0, 1), QStringLiteral("A"));
    QVERIFY(!entry(w(), "mnuAddFlagCol")->isEnabled());
    QVERIFY(w().controls().toolbar->button(QStringLiteral("Flag"))->isVisible());
    QVERIFY(!entry(w(), "mnuSetColHeaderRow")->isVisible());
    QVERIFY(!entry(w(), "mnuPUColHeader")->isVisible());
    QVERIFY(entry(w(), "mnuSQLtab")->isVisible());
    QVERIFY(w().controls().tabStrip->isTabVisible(ui::TabStrip::Sql));
    QVERIFY(!w().controls().tabStrip->isTabVisible(ui::TabStrip::ColumnStatistics));
    QVERIFY(entry(w(), "mnuMouseMode(0)")->isChecked());
    QCOMPARE(w().controls().dataSheet->selectionModeCode(), int(sheet::Grid::SelectListBox));
    QCOMPARE(w().controls().toolbar->sizeBoxes()->rowsBox->text(),
             QString::number(w().controls().dataSheet->rows() - 1));
    QCOMPARE(w().controls().toolbar->sizeBoxes()->colsBox->text(),
             QString::number(w().controls().dataSheet->cols()));
    // The next dialog starts in the last open path from the settings.
    QCOMPARE(w().files().initialFolder(), w().files().lastOpenPath());
}

void FilesWindowTest::saveAsAndOpenEachForm_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("firstLine");  // empty: not a text file
    QTest::newRow("grid file") << "/out/table1.prs" << QByteArray();
    QTest::newRow("comma text") << "/out/table1.csv" << QByteArray("A,B,C,D,E,F,G,H,I\r\n");
    QTest::newRow("tab text") << "/out/table1.TXT" << QByteArray("A\tB\tC\tD\tE\tF\tG\tH\tI\r\n");
}

void FilesWindowTest::saveAsAndOpenEachForm() {
    QFETCH(QString, path);
    QFETCH(QByteArray, firstLine);
    openDatabase();
    Sheet expected = sheetOf(*w().controls().dataSheet);
    for (QStringList& row : expected) {
        row.removeFirst();  // the flag column is not saved
    }
    saveThroughDialog(path);
    QVERIFY(messages().isEmpty());
    QVERIFY(!w().sheetState().flagColumnPresent);
    QCOMPARE(sheetOf(*w().controls().dataSheet), expected);
    QVERIFY(entry(w(), "mnuAddFlagCol")->isEnabled());
    QCOMPARE(w().controls().toolbar->sizeBoxes()->colsBox->text(), QStringLiteral("9"));
    QCOMPARE(int(w().files().openFileType()), 1);  // saving changes no file state
    const QByteArray written = fs_->contents(path);
    QVERIFY(!written.isEmpty());
    if (!firstLine.isEmpty()) {
        // The titles are the text file's first line; it names every column,
        // so it comes back as the titles (the open dialog's check box).
        QVERIFY2(written.startsWith(firstLine), written.left(80).constData());
    }
    w().controls().dataSheet->setTextMatrix(1, 1, QStringLiteral("changed after saving"));
    openThroughDialog(path);
    QVERIFY2(messages().isEmpty(), messages().isEmpty() ? "" : qPrintable(messages()[0].text));
    QCOMPARE(sheetOf(*w().controls().dataSheet), expected);
    QCOMPARE(w().windowTitle(), QStringLiteral("Veltrano [%1]").arg(path));
    QCOMPARE(int(w().files().openFileType()), 0);
    QVERIFY(!w().sheetState().flagColumnPresent);
    for (int c = 0; c < w().controls().dataSheet->cols() && !firstLine.isEmpty(); ++c) {
        QCOMPARE(w().controls().dataSheet->colDataType(c), 0);
    }
    QCOMPARE(w().controls().formView->rows(), w().controls().dataSheet->cols() + 1);
}

void FilesWindowTest::fileModeClosesTheDatabase() {
    openDatabase();
    saveThroughDialog(QStringLiteral("/out/t.prs"));
    openThroughDialog(QStringLiteral("/out/t.prs"));
    QVERIFY(!w().browser().database());
    QVERIFY(!w().controls().databaseTree->isVisibleTo(&w()));
    QVERIFY(w().controls().captionPanel->isVisibleTo(&w()));
    QVERIFY(!w().controls().tabStrip->isTabVisible(ui::TabStrip::Sql));
    QVERIFY(entry(w(), "mnuSetColHeaderRow")->isVisible());
    QVERIFY(!entry(w(), "mnuSQLtab")->isVisible());
    QVERIFY(entry(w(), "mnuPUSpace4")->isVisible());
    QVERIFY(entry(w(), "mnuPUColHeader")->isVisible());
    QVERIFY(entry(w(), "mnuAddFlagCol")->isEnabled());
    QVERIFY(!w().controls().toolbar->button(QStringLiteral("Flag"))->isVisible());
    QVERIFY(entry(w(), "mnuPUSetFlag")->isEnabled());
    QVERIFY(entry(w(), "mnuMouseMode(0)")->isChecked());
}

void FilesWindowTest::quotedCellsRoundTripThroughCommaText() {
    const Sheet cells{{"Name", "Note", "Quote"},
                      {"a,b", "two\r\nlines", "say \"hi\""},
                      {"", "tab\there", "\u00E9\u20AC\u4E2D"},
                      {" padded ", "lf\nonly", "\"\""}};
    fillSheet(*w().controls().dataSheet, cells);
    saveThroughDialog(QStringLiteral("/out/q.csv"));
    openThroughDialog(QStringLiteral("/out/q.csv"));
    QCOMPARE(sheetOf(*w().controls().dataSheet), cells);
    // UTF-8 without a byte-order mark on save.
    QVERIFY(fs_->contents(QStringLiteral("/out/q.csv")).contains("\xE2\x82\xAC"));
    QVERIFY(!fs_->contents(QStringLiteral("/out/q.csv")).startsWith("\xEF\xBB\xBF"));
}

void FilesWindowTest::windows1252FileOpens() {
    fs_->putFile(QStringLiteral("/in/old.csv"),
                 QByteArray("Caf\xE9,\x80 5\r\n\x93q\x94,na\xEFve\r\n"));
    fs_->putFile(QStringLiteral("/in/bom.txt"), QByteArray("\xEF\xBB\xBF"
                                                           "Caf\xC3\xA9\tx\r\n"));
    openThroughDialog(QStringLiteral("/in/old.csv"));
    QCOMPARE(sheetOf(*w().controls().dataSheet),
             (Sheet{{"Caf\u00E9", "\u20AC 5"}, {"\u201Cq\u201D", "na\u00EFve"}}));
    openThroughDialog(QStringLiteral("/in/bom.txt"));
    QCOMPARE(sheetOf(*w().controls().dataSheet), (Sheet{{"", ""}, {"Caf\u00E9", "x"}}));
}

void FilesWindowTest::gridFileBringsItsAlternateColour() {
    QAction* alternate = entry(w(), "mnuAlternateColor");
    fillSheet(*w().controls().dataSheet, Sheet{{"A", "B"}, {"1", "2"}, {"3", "4"}});
    alternate->trigger();
    QVERIFY(w().sheetState().alternateColorOn);
    saveThroughDialog(QStringLiteral("/out/green.prs"));
    alternate->trigger();
    QVERIFY(!w().sheetState().alternateColorOn);
    saveThroughDialog(QStringLiteral("/out/plain.prs"));

    openThroughDialog(QStringLiteral("/out/green.prs"));
    QCOMPARE(w().controls().dataSheet->backColorAlternate(), sheet::kAlternateRowColor);
    QVERIFY(w().sheetState().alternateColorOn);
    QVERIFY(alternate->isChecked());
    QVERIFY(w().controls().toolbar->isPressed(QStringLiteral("AlternateColor")));
    // The menu entry now turns off what the file brought.
    alternate->trigger();
    QVERIFY(!w().sheetState().alternateColorOn);
    QVERIFY(w().controls().dataSheet->backColorAlternate() != sheet::kAlternateRowColor);

    alternate->trigger();
    openThroughDialog(QStringLiteral("/out/plain.prs"));
    QVERIFY(w().controls().dataSheet->backColorAlternate() != sheet::kAlternateRowColor);
    QVERIFY(!w().sheetState().alternateColorOn);
    QVERIFY(!alternate->isChecked());
    QVERIFY(!w().controls().toolbar->isPressed(QStringLiteral("AlternateColor")));
    QVERIFY(messages().isEmpty());
}

// A slow read pushes the load past the moment the bar appears; a timer queued
// before the open sees the bar part way through the rows, while the window
// is still loading.
void FilesWindowTest::bigTextFileShowsTheProgressBar() {
    constexpr int kLines = 20000;
    QByteArray text;
    for (int i = 0; i < kLines; ++i) {
        text += QByteArray::number(i) + ",row " + QByteArray::number(i) + "\r\n";
    }
    fs_->putFile(QStringLiteral("/in/big.csv"), text);
    fs_->readDelayMs = db::ProgressBarFeedback::kShowAfterMs + 30;
    QProgressBar* bar = w().controls().progressBar;
    bool seen = false;
    bool visible = false;
    int value = -1, maximum = -1, rowsSoFar = -1;
    QTimer::singleShot(0, &w(), [&] {
        seen = true;
        visible = bar->isVisible();
        value = bar->value();
        maximum = bar->maximum();
        rowsSoFar = w().controls().dataSheet->rows();
    });
    openThroughDialog(QStringLiteral("/in/big.csv"));
    QVERIFY(messages().isEmpty());
    QVERIFY(seen);
    QVERIFY(visible);
    QCOMPARE(maximum, 1000);  // thousandths of the file's lines
    QCOMPARE(value, 4096 * 1000 / kLines);
    QVERIFY(rowsSoFar < kLines);  // the new rows are not on the sheet yet
    QVERIFY(!bar->isVisible());
    QCOMPARE(w().controls().dataSheet->rows(), kLines + 1);
    QCOMPARE(w().controls().dataSheet->textMatrix(kLines, 1),
             QStringLiteral("row %1").arg(kLines - 1));
    QCOMPARE(run_->desktop.pointer(), ui::Desktop::Pointer::Default);
}

void FilesWindowTest::cancelledDialogsChangeNothing() {
    const Sheet before = sheetOf(*w().controls().dataSheet);
    const QString title = w().windowTitle();
    entry(w(), "mnuOpen")->trigger();
    entry(w(), "mnuSaveAs")->trigger();
    QCOMPARE(sheetOf(*w().controls().dataSheet), before);
    QCOMPARE(w().windowTitle(), title);
    QVERIFY(messages().isEmpty());
    QCOMPARE(fs_->writeCount(), 0);
}

void FilesWindowTest::missingFileGivesOpenError() {
    openThroughDialog(QStringLiteral("/nowhere/missing.csv"));
    QCOMPARE(messages().size(), 1);
    QCOMPARE(messages()[0].title, QStringLiteral("Open Error"));
    QCOMPARE(messages()[0].icon, ui::Dialogs::Icon::Critical);
    QCOMPARE(messages()[0].text, QStringLiteral("Format mismatch or file not found. Unable to open "
                                                "'/nowhere/missing.csv'.\r\n"));
}

void FilesWindowTest::unrecognisedExtensionChangesNothing() {
    openDatabase();
    const Sheet before = sheetOf(*w().controls().dataSheet);
    fs_->putFile(QStringLiteral("/in/letter.doc"), QByteArray("text"));
    openThroughDialog(QStringLiteral("/in/letter.doc"));
    QCOMPARE(messages().size(), 1);
    QCOMPARE(messages()[0].title, QStringLiteral("Open"));
    QCOMPARE(messages()[0].icon, ui::Dialogs::Icon::Exclamation);
    QVERIFY(messages()[0].text.startsWith(QStringLiteral("You can only select the reconizable")));
    QCOMPARE(sheetOf(*w().controls().dataSheet), before);
    QVERIFY(w().browser().database());
    QCOMPARE(int(w().files().openFileType()), 1);
    QVERIFY(w().controls().tabStrip->isTabVisible(ui::TabStrip::Sql));
}

void FilesWindowTest::damagedGridFileKeepsTheSheet() {
    openDatabase();
    const Sheet before = sheetOf(*w().controls().dataSheet);
    const QString title = w().windowTitle();
    fs_->putFile(QStringLiteral("/in/bad.prs"), QByteArray("not a grid file at all"));
    fs_->putFile(QStringLiteral("/in/locked.csv"), QByteArray("a,b"));
    fs_->failReadsOf(QStringLiteral("/in/locked.csv"));
    openThroughDialog(QStringLiteral("/in/bad.prs"));
    openThroughDialog(QStringLiteral("/in/locked.csv"));
    QCOMPARE(messages().size(), 2);
    for (const auto& m : messages()) {
        QCOMPARE(m.title, QStringLiteral("Open Error"));
        QCOMPARE(m.icon, ui::Dialogs::Icon::Critical);
    }
    QVERIFY2(messages()[0].text.contains(QStringLiteral("not a grid file")),
             qPrintable(messages()[0].text));
    QVERIFY2(messages()[1].text.contains(QStringLiteral("Cannot read")),
             qPrintable(messages()[1].text));
    QCOMPARE(sheetOf(*w().controls().dataSheet), before);
    QCOMPARE(w().windowTitle(), title);
    QVERIFY(w().sheetState().flagColumnPresent);
    QVERIFY(w().browser().database());
}

void FilesWindowTest::refusedSaveNameKeepsTheFlagColumn() {
    openDatabase();
    const Sheet before = sheetOf(*w().controls().dataSheet);
    saveThroughDialog(QStringLiteral("/out/table.xls"));
    saveThroughDialog(QStringLiteral("/out/copy.mdb"));
    QCOMPARE(messages().size(), 2);
    for (const auto& m : messages()) {
        QCOMPARE(m.title, QStringLiteral("Save"));
        QCOMPARE(m.icon, ui::Dialogs::Icon::Exclamation);
        QCOMPARE(m.text, QStringLiteral("Plaese select the correct file type extension from the "
                                        "File of Types list box in the Save Dialog box and save "
                                        "again"));
    }
    QCOMPARE(sheetOf(*w().controls().dataSheet), before);
    QVERIFY(w().sheetState().flagColumnPresent);
    QCOMPARE(fs_->writeCount(), 0);
}

void FilesWindowTest::failedWriteIsReportedAndOldFileKept() {
    fillSheet(*w().controls().dataSheet, Sheet{{"T"}, {"new"}});
    const QString path = QStringLiteral("/out/keep.csv");
    fs_->putFile(path, QByteArray("old contents\r\n"));
    fs_->failWritesOf(path);
    saveThroughDialog(path);
    QCOMPARE(messages().size(), 1);
    QCOMPARE(messages()[0].title, QStringLiteral("Save"));
    QVERIFY2(messages()[0].text.contains(QStringLiteral("Cannot write")),
             qPrintable(messages()[0].text));
    QCOMPARE(fs_->contents(path), QByteArray("old contents\r\n"));
    fs_->setReadOnlyFolder(QStringLiteral("/ro"));
    saveThroughDialog(QStringLiteral("/ro/x.prs"));
    QCOMPARE(messages().size(), 2);
    QCOMPARE(messages()[1].title, QStringLiteral("Save"));
    QVERIFY(!fs_->fileExists(QStringLiteral("/ro/x.prs")));
}

void FilesWindowTest::secondSaveHasNoFlagColumnToRemove() {
    openDatabase();
    saveThroughDialog(QStringLiteral("/out/one.csv"));
    const Sheet afterFirst = sheetOf(*w().controls().dataSheet);
    saveThroughDialog(QStringLiteral("/out/two.csv"));
    QCOMPARE(sheetOf(*w().controls().dataSheet), afterFirst);
    QCOMPARE(fs_->contents(QStringLiteral("/out/two.csv")),
             fs_->contents(QStringLiteral("/out/one.csv")));
}

void FilesWindowTest::commandLineFileOpensOnceTheWindowIsUp() {
    TestFileSystem fs;
    fs.putFile(QStringLiteral("/in/start.csv"), QByteArray("x,y\r\n"));
    WindowRun run(fs, {QStringLiteral("/in/start.csv")});
    QTRY_COMPARE(run.window().controls().dataSheet->textMatrix(1, 1), QStringLiteral("y"));
    QCOMPARE(run.window().windowTitle(), QStringLiteral("Veltrano [/in/start.csv]"));
}

void FilesWindowTest::droppedFileOpens() {
    fs_->putFile(QStringLiteral("/in/dropped.txt"), QByteArray("p\tq\r\n"));
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QStringLiteral("/in/dropped.txt"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w(), &drop);
    QTRY_COMPARE(w().controls().dataSheet->textMatrix(1, 1), QStringLiteral("q"));
    QMimeData other;
    other.setUrls({QUrl::fromLocalFile(QStringLiteral("/in/picture.png"))});
    QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &other, Qt::LeftButton, Qt::NoModifier);
    refused.setAccepted(false);
    QApplication::sendEvent(&w(), &refused);
    QVERIFY(!refused.isAccepted());
}

QTEST_MAIN(FilesWindowTest)
#include "tst_files_window.moc"
