// Start-up and exit of the real main window: what Form_Load makes of given
// settings, the thirteen keys the exit command writes, and closing the window
// going through the exit command.
#include <QAction>
#include <QLineEdit>
#include <QTest>

#include "sheet/grid.h"
#include "sheet/grid_codes.h"
#include "ui/caption_panel.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/size_boxes.h"
#include "ui/status_panels.h"
#include "ui/tab_strip.h"
#include "window_fixture.h"

namespace {

QByteArray iniWith(const QByteArray& windows, const QByteArray& option) {
    return "[WINDOWS]\r\n" + windows + "[OPTION]\r\n" + option;
}

QAction* menuEntry(app::MainWindow& w, const char* name) {
    return w.menus().action(QString::fromLatin1(name));
}

const QStringList kKeysInOrder = {"[WINDOWS]",     "TOP",           "LEFT",
                                  "WIDTH",         "HEIGHT",        "HBAR_TOP",
                                  "VBAR_LEFT",     "[OPTION]",      "TOOLBAR",
                                  "SQLTAB",        "TABLETAB",      "ALTERNATECOLOR",
                                  "FIELDSSUBTREE", "HIDDENQUERIES", "FIRSTLINETITLES",
                                  "SHOWTIP",       "LASTOPENPATH"};

QStringList keysOf(const QStringList& lines) {
    QStringList keys;
    for (const QString& line : lines) {
        keys.append(line.startsWith('[') ? line : line.section('=', 0, 0));
    }
    return keys;
}

QString valueOf(const QStringList& lines, const QString& key) {
    for (const QString& line : lines) {
        if (line.section('=', 0, 0) == key) {
            return line.section('=', 1);
        }
    }
    return QStringLiteral("<missing>");
}

}  // namespace

class FrmMainLifecycleTest : public QObject {
    Q_OBJECT

  private slots:
    void firstStartGivesEmptyReadyWindow();
    void firstStartWindowIsUsable();
    void splitterPositionsFromSettings_data();
    void splitterPositionsFromSettings();
    void toolbarOption_data();
    void toolbarOption();
    void alternateColorOption();
    void storedGeometryIsUsed();
    void offScreenGeometryComesBack();
    void exitWritesThirteenKeysInOrder();
    void closingTheWindowRunsTheExitCommand();
    void settingsSurviveRestart();
    void readOnlyProgramFolderKeepsSettings();
    void otherLinesSurviveExit();
    void commandLineFileIsKept();
};

void FrmMainLifecycleTest::firstStartGivesEmptyReadyWindow() {
    app::MemoryFileSystem fs;
    WindowRun run(fs);
    app::MainWindow& w = run.window();
    QCOMPARE(w.controls().dataSheet->rows(), 50);
    QCOMPARE(w.controls().dataSheet->cols(), 9);
    QCOMPARE(w.controls().dataSheet->fixedRows(), 1);
    QCOMPARE(w.controls().dataSheet->colWidth(0), 410);
    for (int c = 1; c < 9; ++c) {
        QCOMPARE(w.controls().dataSheet->colWidth(c), 1500);
    }
    QCOMPARE(w.controls().dataSheet->mergeCells(), 3);
    QCOMPARE(w.controls().dataSheet->oleDragMode(), 0);
    QCOMPARE(w.controls().dataSheet->selectionModeCode(), int(sheet::Grid::SelectListBox));
    QCOMPARE(w.controls().toolbar->sizeBoxes()->rowsBox->text(), QStringLiteral("50"));
    QCOMPARE(w.controls().toolbar->sizeBoxes()->colsBox->text(), QStringLiteral("10"));
    QVERIFY(w.controls().statusPanels->panelText(1).startsWith(QStringLiteral("Tablescope")));
    QVERIFY(w.controls().toolbar->isHidden());
    QVERIFY(!menuEntry(w, "mnuToolbar")->isChecked());
    QVERIFY(!menuEntry(w, "mnuSQLtab")->isVisible());
    QVERIFY(!menuEntry(w, "mnuBarChart")->isEnabled());
    QVERIFY(menuEntry(w, "mnuMouseMode(0)")->isChecked());
    QVERIFY(w.controls().toolbar->isPressed("RowMode"));
    QVERIFY(!w.controls().toolbar->isPressed("DragMode"));
    QVERIFY(!w.controls().toolbar->button("Flag")->isVisible());
    QVERIFY(!w.controls().toolbar->button("Barchart")->isVisible());
    QVERIFY(w.controls().tabStrip->isTabVisible(ui::TabStrip::Form));
    for (int page : {ui::TabStrip::Table, ui::TabStrip::Sql, ui::TabStrip::ColumnStatistics}) {
        QVERIFY2(!w.controls().tabStrip->isTabVisible(page), qPrintable(QString::number(page)));
    }
    QVERIFY(w.controls().captionPanel->isVisible());
    QCOMPARE(w.viewLayout().panes()[ui::Pane::horizontalSplitter].top, 2970);
    QCOMPARE(w.viewLayout().panes()[ui::Pane::verticalSplitter].left, 3570);
    QCOMPARE(w.viewLayout().panes()[ui::Pane::dataSheet].top, 0);
    QCOMPARE(w.controls().formView->textMatrix(0, 0), QStringLiteral("Column"));
    QCOMPARE(w.controls().formView->textMatrix(0, 1), QStringLiteral("Value"));
    QCOMPARE(w.controls().dataSheet->backColorAlternate(),
             sheet::fromQColor(w.palette().color(QPalette::Base)));
    QCOMPARE(w.sheetState().flagPicture.cacheKey(), w.controls().pictures.flag.cacheKey());
    QCOMPARE(run.desktop.endCount, 0);
}

void FrmMainLifecycleTest::firstStartWindowIsUsable() {
    app::MemoryFileSystem fs;
    WindowRun run(fs);
    const QRect screen = run.desktop.screenRects.first();
    const QRect frame = run.window().frameGeometry();
    QVERIFY2(screen.contains(frame), "the first window lies on the primary screen");
    QVERIFY(frame.width() >= screen.width() / 2);
    QVERIFY(frame.height() >= screen.height() / 2);
}

void FrmMainLifecycleTest::splitterPositionsFromSettings_data() {
    QTest::addColumn<QByteArray>("hbar");
    QTest::addColumn<QByteArray>("vbar");
    QTest::addColumn<int>("hbarTop");
    QTest::addColumn<int>("vbarLeft");
    QTest::newRow("zero") << QByteArray("0") << QByteArray("0") << 2970 << 3570;
    QTest::newRow("negative") << QByteArray("-5") << QByteArray("-1") << 2970 << 3570;
    QTest::newRow("stored") << QByteArray("1500") << QByteArray("4000") << 1500 << 4000;
    QTest::newRow("number then letters")
        << QByteArray("1800px") << QByteArray(" 2500 ") << 1800 << 2500;
    QTest::newRow("not a number") << QByteArray("abc") << QByteArray("") << 2970 << 3570;
}

void FrmMainLifecycleTest::splitterPositionsFromSettings() {
    QFETCH(QByteArray, hbar);
    QFETCH(QByteArray, vbar);
    app::MemoryFileSystem fs;
    fs.putFile(kProgramIni, iniWith("HBAR_TOP=" + hbar + "\r\nVBAR_LEFT=" + vbar + "\r\n", ""));
    WindowRun run(fs);
    QTEST(run.window().viewLayout().panes()[ui::Pane::horizontalSplitter].top, "hbarTop");
    QTEST(run.window().viewLayout().panes()[ui::Pane::verticalSplitter].left, "vbarLeft");
}

void FrmMainLifecycleTest::toolbarOption_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("shown");
    QTest::newRow("True") << QByteArray("True") << true;
    QTest::newRow("lower case") << QByteArray("true") << true;
    QTest::newRow("number") << QByteArray("-1") << true;
    QTest::newRow("False") << QByteArray("False") << false;
    QTest::newRow("zero") << QByteArray("0") << false;
    QTest::newRow("yes is no Boolean") << QByteArray("yes") << false;
    QTest::newRow("empty") << QByteArray("") << false;
}

void FrmMainLifecycleTest::toolbarOption() {
    QFETCH(QByteArray, stored);
    QFETCH(bool, shown);
    app::MemoryFileSystem fs;
    fs.putFile(kProgramIni, iniWith("", "TOOLBAR=" + stored + "\r\n"));
    WindowRun run(fs);
    app::MainWindow& w = run.window();
    QCOMPARE(w.viewLayout().options().toolbarShown, shown);
    QCOMPARE(w.controls().toolbar->isVisible(), shown);
    QCOMPARE(menuEntry(w, "mnuToolbar")->isChecked(), shown);
    const int T = shown ? w.viewLayout().toTwipsY(w.controls().toolbar->sizeHint().height()) : 0;
    QCOMPARE(w.viewLayout().panes()[ui::Pane::dataSheet].top, T);
    QCOMPARE(w.viewLayout().panes()[ui::Pane::databaseTree].top, T);
    QCOMPARE(w.viewLayout().panes()[ui::Pane::captionPanel].top, T);
    QCOMPARE(w.controls().dataSheet->geometry().top(),
             shown ? w.controls().toolbar->sizeHint().height() : 0);
    if (shown) {
        QVERIFY(T > 0);
    }
}

void FrmMainLifecycleTest::alternateColorOption() {
    app::MemoryFileSystem fs;
    fs.putFile(kProgramIni, iniWith("", "ALTERNATECOLOR=TRUE\r\n"));
    WindowRun run(fs);
    app::MainWindow& w = run.window();
    QVERIFY(w.sheetState().alternateColorOn);
    QVERIFY(menuEntry(w, "mnuAlternateColor")->isChecked());
    QVERIFY(w.controls().toolbar->isPressed("AlternateColor"));
    QCOMPARE(w.controls().dataSheet->backColorAlternate(), uint32_t(0xC0FFC0));
}

void FrmMainLifecycleTest::storedGeometryIsUsed() {
    app::MemoryFileSystem fs;
    // At 96 dots per inch a pixel is 15 twips.
    fs.putFile(kProgramIni, iniWith("TOP=1500\r\nLEFT=3000\r\nWIDTH=12000\r\nHEIGHT=9000\r\n", ""));
    WindowRun run(fs);
    QCOMPARE(run.window().frameGeometry(), QRect(200, 100, 800, 600));
}

void FrmMainLifecycleTest::offScreenGeometryComesBack() {
    app::MemoryFileSystem fs;
    fs.putFile(kProgramIni,
               iniWith("TOP=-90000\r\nLEFT=300000\r\nWIDTH=12000\r\nHEIGHT=9000\r\n", ""));
    WindowRun run(fs);
    const QRect frame = run.window().frameGeometry();
    QCOMPARE(frame.size(), QSize(800, 600));
    QVERIFY(run.desktop.screenRects.first().contains(frame));
}

void FrmMainLifecycleTest::exitWritesThirteenKeysInOrder() {
    app::MemoryFileSystem fs;
    // No file yet: the keys come in the order they are written.
    WindowRun run(fs);
    app::MainWindow& w = run.window();
    w.files().lastOpenPath() = QStringLiteral("  /data/shop.mdb  ");
    w.viewLayout().panes()[ui::Pane::horizontalSplitter].top = 1800;
    w.viewLayout().panes()[ui::Pane::verticalSplitter].left = 4000;
    w.sheetState().alternateColorOn = true;
    run.module->showTipsAtStartup = true;
    menuEntry(w, "mnuExit")->trigger();
    QCOMPARE(run.desktop.endCount, 1);
    const QStringList lines = settingsLines(fs.contents(kProgramIni));
    QCOMPARE(keysOf(lines), kKeysInOrder);
    const QRect frame = w.frameGeometry();
    QCOMPARE(valueOf(lines, "TOP"), QString::number(frame.top() * 15));
    QCOMPARE(valueOf(lines, "WIDTH"), QString::number(frame.width() * 15));
    QCOMPARE(valueOf(lines, "HBAR_TOP"), QStringLiteral("1800"));
    QCOMPARE(valueOf(lines, "VBAR_LEFT"), QStringLiteral("4000"));
    QCOMPARE(valueOf(lines, "TOOLBAR"), QStringLiteral("False"));
    QCOMPARE(valueOf(lines, "TABLETAB"), QStringLiteral("False"));
    QCOMPARE(valueOf(lines, "ALTERNATECOLOR"), QStringLiteral("True"));
    QCOMPARE(valueOf(lines, "SHOWTIP"), QStringLiteral("True"));
    QCOMPARE(valueOf(lines, "LASTOPENPATH"), QStringLiteral("/data/shop.mdb"));
}

void FrmMainLifecycleTest::closingTheWindowRunsTheExitCommand() {
    app::MemoryFileSystem fsClose;
    app::MemoryFileSystem fsExit;
    {
        WindowRun run(fsClose);
        QVERIFY(run.window().close());
        QCOMPARE(run.desktop.endCount, 1);
        QVERIFY(run.window().ending());
        run.window().close();  // a second close does not write again
        QCOMPARE(run.desktop.endCount, 1);
    }
    {
        WindowRun run(fsExit);
        menuEntry(run.window(), "mnuExit")->trigger();
    }
    const QByteArray closed = fsClose.contents(kProgramIni);
    QVERIFY(!closed.isEmpty());
    QCOMPARE(closed, fsExit.contents(kProgramIni));
}

void FrmMainLifecycleTest::settingsSurviveRestart() {
    app::MemoryFileSystem fs;
    fs.putFile(kProgramIni, iniWith("TOP=1500\r\nLEFT=3000\r\nWIDTH=12000\r\nHEIGHT=9000\r\n"
                                    "HBAR_TOP=2200\r\nVBAR_LEFT=4100\r\n",
                                    "TOOLBAR=True\r\nALTERNATECOLOR=True\r\nFIELDSSUBTREE=True\r\n"
                                    "HIDDENQUERIES=True\r\nLASTOPENPATH=/x/y.mdb\r\n"));
    QByteArray first;
    {
        WindowRun run(fs);
        run.window().close();
        first = fs.contents(kProgramIni);
    }
    WindowRun again(fs);
    app::MainWindow& w = again.window();
    QCOMPARE(w.frameGeometry(), QRect(200, 100, 800, 600));
    QCOMPARE(w.viewLayout().panes()[ui::Pane::horizontalSplitter].top, 2200);
    QCOMPARE(w.viewLayout().panes()[ui::Pane::verticalSplitter].left, 4100);
    QVERIFY(w.viewLayout().options().toolbarShown);
    QVERIFY(w.sheetState().alternateColorOn);
    QVERIFY(w.viewLayout().options().fieldsSubtree);
    QVERIFY(menuEntry(w, "mnuHiddenQueries")->isChecked());
    QCOMPARE(w.files().lastOpenPath(), QStringLiteral("/x/y.mdb"));
    w.close();
    QCOMPARE(fs.contents(kProgramIni), first);
}

void FrmMainLifecycleTest::readOnlyProgramFolderKeepsSettings() {
    app::MemoryFileSystem fs;
    fs.putFile(kProgramIni, iniWith("HBAR_TOP=2000\r\n", "TOOLBAR=True\r\n"));
    fs.setReadOnlyFolder(kProgramFolder);
    {
        WindowRun run(fs);
        QCOMPARE(run.window().viewLayout().panes()[ui::Pane::horizontalSplitter].top, 2000);
        run.window().sheetState().alternateColorOn = true;
        run.window().close();
    }
    QVERIFY(fs.fileExists(kUserIni));
    // The per-user file starts as a copy of the program folder's, whose keys
    // keep their places; every key is there once.
    QStringList written = keysOf(settingsLines(fs.contents(kUserIni)));
    QStringList expected = kKeysInOrder;
    written.sort();
    expected.sort();
    QCOMPARE(written, expected);
    WindowRun again(fs);
    QVERIFY(again.window().viewLayout().options().toolbarShown);
    QVERIFY(again.window().sheetState().alternateColorOn);
    QCOMPARE(again.window().viewLayout().panes()[ui::Pane::horizontalSplitter].top, 2000);
}

void FrmMainLifecycleTest::otherLinesSurviveExit() {
    app::MemoryFileSystem fs;
    fs.putFile(kProgramIni, "; kept\r\n[OTHER]\r\nA=1\r\n[OPTION]\r\nMINE=x\r\nTOOLBAR=True\r\n");
    {
        WindowRun run(fs);
        run.window().close();
    }
    const QStringList lines = settingsLines(fs.contents(kProgramIni));
    QVERIFY(lines.contains("; kept"));
    QVERIFY(lines.contains("[OTHER]"));
    QVERIFY(lines.contains("A=1"));
    QVERIFY(lines.contains("MINE=x"));
    QCOMPARE(valueOf(lines, "TOOLBAR"), QStringLiteral("True"));
    QCOMPARE(lines.count("TOOLBAR=True"), 1);
}

void FrmMainLifecycleTest::commandLineFileIsKept() {
    app::MemoryFileSystem fs;
    WindowRun run(fs, {QStringLiteral("/data/shop.mdb")});
    QCOMPARE(run.window().startupFile(), QStringLiteral("/data/shop.mdb"));
    app::MemoryFileSystem plain;
    WindowRun none(plain);
    QVERIFY(none.window().startupFile().isEmpty());
}

QTEST_MAIN(FrmMainLifecycleTest)
#include "tst_frm_main_lifecycle.moc"
