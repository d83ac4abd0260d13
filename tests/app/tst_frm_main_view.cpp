// The View menu's toggles, the tab click rule and the Help menu in the real
// main window: the toolbar shifting the panes by its height and back, the SQL
// tab and grid lines switched and switched back, status panel 2 on tab
// clicks, the tip window's walk and its check box, the About window and the
// links and disclaimer handed to the desktop.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "sheet/grid.h"
#include "ui/caption_panel.h"
#include "ui/frm_about.h"
#include "ui/frm_tips.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/maker_info.h"
#include "ui/status_panels.h"
#include "ui/tab_strip.h"
#include "ui/tips.h"
#include "window_fixture.h"

namespace {

// Centred within the few pixels of a window frame, which is only known once
// the window is on screen.
bool centred(const QRect& window, const QRect& screen) {
    return qAbs(window.center().x() - screen.center().x()) <= 4 &&
           qAbs(window.center().y() - screen.center().y()) <= 4;
}

QAction* menuEntry(frmMain& w, const char* name) {
    return w.menus->action(QString::fromLatin1(name));
}

QByteArray optionIni(const QByteArray& option) {
    return "[WINDOWS]\r\n[OPTION]\r\n" + option;
}

// The tip window the main window has open, if any.
ui::frmTips* openTips(frmMain& w) {
    for (auto* tips : w.findChildren<ui::frmTips*>()) {
        if (tips->isVisible()) {
            return tips;
        }
    }
    return nullptr;
}

// The tops and heights the toolbar toggle moves.
struct UnderToolbar {
    ui::TwipsRect fa, tree, caption, vbar, vbar1, vbar2, hbar, tabs;
    bool operator==(const UnderToolbar&) const = default;
};

UnderToolbar underToolbar(const frmMain& w) {
    using ui::Pane;
    const auto& p = w.panes;
    return {p[Pane::fa],    p[Pane::TreeView1], p[Pane::VTPan], p[Pane::VBar],
            p[Pane::VBar1], p[Pane::VBar2],     p[Pane::HBar],  p[Pane::TabStrip1]};
}

void clickTab(frmMain& w, int page) {
    QTabBar* bar = w.TabStrip1->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(page).center());
}

}  // namespace

class FrmMainViewTest : public QObject {
    Q_OBJECT

  private slots:
    // Toolbar, SQL tab, grid lines and the hidden fields-sub-tree entry.
    void toolbarToggleShiftsPanesAndBack();
    void toolbarHiddenOverShortTreeGrowsTheTree();
    void sqlTabToggleKeepsTheSqlBox();
    void gridLinesToggle();
    void fieldsTreeEntryFlipsTheStoredOption();
    // Tab clicks and status panel 2.
    void tabClickKeepsSqlIndicatorOnlyOnTheSqlTab();
    // The tip window.
    void tipWindowWalksAndWraps();
    void tipWindowOkWritesTheCheckBoxOnly();
    void tipWindowFromTheMenuIsModalAndCentred();
    void tipWindowAtStartOnlyWhenTheOptionIsSet();
    // Web site, About and disclaimer.
    void webSiteFromMenuAndCaptionPanel();
    void aboutWindowLinksAndClosing();
    void disclaimerOpensLicenseBesideTheProgram();
};

void FrmMainViewTest::toolbarToggleShiftsPanesAndBack() {
    app::MemoryFileSystem fs;
    WindowRun run(fs);
    frmMain& w = run.window();
    QVERIFY(!w.toolbarShown);
    const UnderToolbar before = underToolbar(w);
    const QRect faPixels = w.fa->geometry();

    menuEntry(w, "mnuToolbar")->trigger();
    const int T = w.toTwipsY(w.Toolbar->sizeHint().height());
    QVERIFY(T > 0);
    QVERIFY(w.toolbarShown);
    QVERIFY(menuEntry(w, "mnuToolbar")->isChecked());
    QVERIFY(w.Toolbar->isVisible());
    const UnderToolbar shown = underToolbar(w);
    QCOMPARE(shown.fa.top, T);
    QCOMPARE(shown.fa.height, before.fa.height - T);
    QCOMPARE(shown.tree.top, T);
    QCOMPARE(shown.tree.height, before.tree.height - T);
    QCOMPARE(shown.caption.top, shown.tree.top);
    QCOMPARE(shown.caption.height, shown.tree.height);
    for (const auto& bar : {shown.vbar, shown.vbar1, shown.vbar2}) {
        QCOMPARE(bar.top, T);
        QCOMPARE(bar.height, shown.fa.height);
    }
    // The horizontal splitter and the tab control stay where they were.
    QCOMPARE(shown.hbar, before.hbar);
    QCOMPARE(shown.tabs, before.tabs);
    QCOMPARE(w.fa->geometry().top(), w.toPixelsY(T));

    menuEntry(w, "mnuToolbar")->trigger();
    QVERIFY(!w.toolbarShown);
    QVERIFY(!w.Toolbar->isVisible());
    QCOMPARE(underToolbar(w), before);
    QCOMPARE(w.fa->geometry(), faPixels);
}

void FrmMainViewTest::toolbarHiddenOverShortTreeGrowsTheTree() {
    app::MemoryFileSystem fs;
    fs.putFile(kProgramIni, optionIni("TOOLBAR=True\r\n"));
    WindowRun run(fs);
    frmMain& w = run.window();
    QVERIFY(w.toolbarShown);
    const int T = w.toTwipsY(w.Toolbar->sizeHint().height());
    w.panes[ui::Pane::TreeView1].height = T / 2;  // the user dragged it nearly shut

    menuEntry(w, "mnuToolbar")->trigger();
    QCOMPARE(w.panes[ui::Pane::TreeView1].top, 0);
    QCOMPARE(w.panes[ui::Pane::TreeView1].height, T / 2 + T);
    QCOMPARE(w.panes[ui::Pane::VTPan].height, T / 2 + T);
    QCOMPARE(w.TreeView1->geometry().top(), 0);
}

void FrmMainViewTest::sqlTabToggleKeepsTheSqlBox() {
    app::MemoryFileSystem fs;
    WindowRun run(fs);
    frmMain& w = run.window();
    // As after opening a database.
    menuEntry(w, "mnuSQLtab")->setVisible(true);
    w.TabStrip1->setTabVisible(ui::TabStrip::Sql, true);
    w.setSqlText(QStringLiteral("SELECT * FROM [Orders]"));
    w.sqlUnlocked = true;
    QVERIFY(menuEntry(w, "mnuSQLtab")->isChecked());

    menuEntry(w, "mnuSQLtab")->trigger();
    QVERIFY(!menuEntry(w, "mnuSQLtab")->isChecked());
    QVERIFY(!w.TabStrip1->isTabVisible(ui::TabStrip::Sql));
    QVERIFY(!w.sqlTabShown);
    QVERIFY(w.TabStrip1->isVisible());

    menuEntry(w, "mnuSQLtab")->trigger();
    QVERIFY(menuEntry(w, "mnuSQLtab")->isChecked());
    QVERIFY(w.TabStrip1->isTabVisible(ui::TabStrip::Sql));
    QVERIFY(w.sqlTabShown);
    QCOMPARE(w.txtSQL->toPlainText(), QStringLiteral("SELECT * FROM [Orders]"));
    QVERIFY(w.sqlUnlocked);
}

void FrmMainViewTest::gridLinesToggle() {
    app::MemoryFileSystem fs;
    WindowRun run(fs);
    frmMain& w = run.window();
    QVERIFY(menuEntry(w, "mnuGrid")->isChecked());
    QCOMPARE(w.fa->gridLines(), 1);

    menuEntry(w, "mnuGrid")->trigger();
    QVERIFY(!menuEntry(w, "mnuGrid")->isChecked());
    QCOMPARE(w.fa->gridLines(), 0);

    menuEntry(w, "mnuGrid")->trigger();
    QVERIFY(menuEntry(w, "mnuGrid")->isChecked());
    QCOMPARE(w.fa->gridLines(), 1);

    // Grid lines have no key of their own in the settings file.
    menuEntry(w, "mnuGrid")->trigger();
    menuEntry(w, "mnuExit")->trigger();
    QVERIFY(!settingsLines(fs.contents(kProgramIni)).join(' ').contains("GRID"));
}

void FrmMainViewTest::fieldsTreeEntryFlipsTheStoredOption() {
    app::MemoryFileSystem fs;
    WindowRun run(fs);
    frmMain& w = run.window();
    QAction* entry = menuEntry(w, "mnuFieldsTree");
    QVERIFY(!entry->isVisible());
    QVERIFY(!w.fieldsSubtree);
    entry->trigger();
    QVERIFY(entry->isChecked());
    QVERIFY(w.fieldsSubtree);
    menuEntry(w, "mnuExit")->trigger();
    QVERIFY(settingsLines(fs.contents(kProgramIni)).contains("FIELDSSUBTREE=True"));
}

void FrmMainViewTest::tabClickKeepsSqlIndicatorOnlyOnTheSqlTab() {
    app::MemoryFileSystem fs;
    WindowRun run(fs);
    frmMain& w = run.window();
    w.TabStrip1->setTabVisible(ui::TabStrip::Sql, true);
    w.TabStrip1->setTabVisible(ui::TabStrip::Table, true);
    w.sqlUnlocked = true;

    w.SBar->setPanelText(2, QStringLiteral("SQL"));
    clickTab(w, ui::TabStrip::Sql);
    QCOMPARE(w.TabStrip1->currentPage(), int(ui::TabStrip::Sql));
    QCOMPARE(w.SBar->panelText(2), QStringLiteral("SQL"));
    // A second click on the page already shown keeps it too.
    clickTab(w, ui::TabStrip::Sql);
    QCOMPARE(w.SBar->panelText(2), QStringLiteral("SQL"));

    for (int page : {int(ui::TabStrip::Form), int(ui::TabStrip::Table)}) {
        w.SBar->setPanelText(2, QStringLiteral("SQL"));
        clickTab(w, page);
        QCOMPARE(w.TabStrip1->currentPage(), page);
        QCOMPARE(w.SBar->panelText(2), QString());
    }
    QVERIFY(w.sqlUnlocked);
}

void FrmMainViewTest::tipWindowWalksAndWraps() {
    ui::ScriptedDesktop desktop;
    bool option = true;
    const ui::Tips texts(QString::fromLatin1(ui::kMakerWebAddress));

    // Whatever tip was drawn, the first Next shows tip 1 and the walk wraps
    // after the last.
    for (double random : {0.0, 0.5, 0.999999}) {
        ui::frmTips tips(option, desktop, random);
        QCOMPARE(tips.Label2->text(), texts.text(ui::Tips::firstIndex(random)));
        for (int i = 1; i <= 21; ++i) {
            QTest::mouseClick(tips.cmdNext, Qt::LeftButton);
            QCOMPARE(tips.Label2->text(), texts.text(i));
        }
        QTest::mouseClick(tips.cmdNext, Qt::LeftButton);
        QCOMPARE(tips.Label2->text(), texts.text(1));
    }
    QCOMPARE(ui::Tips::firstIndex(0.0), 1);
    QCOMPARE(ui::Tips::firstIndex(0.999999), 21);
    QCOMPARE(ui::Tips::firstIndex(0.5), 11);

    ui::frmTips tips(option, desktop, 0.3);
    QTest::mouseClick(tips.cmdPrevious, Qt::LeftButton);
    QCOMPARE(tips.Label2->text(), texts.text(21));
    QTest::mouseClick(tips.cmdPrevious, Qt::LeftButton);
    QCOMPARE(tips.Label2->text(), texts.text(20));
    QTest::mouseClick(tips.cmdNext, Qt::LeftButton);
    QCOMPARE(tips.Label2->text(), texts.text(21));
    QTest::mouseClick(tips.cmdNext, Qt::LeftButton);
    QCOMPARE(tips.Label2->text(), texts.text(1));

    QVERIFY(texts.text(11).contains(QString::fromLatin1(ui::kMakerWebAddress)));
    for (int i = 1; i <= 21; ++i) {
        QVERIFY(texts.text(i).startsWith(QStringLiteral("    ")));
    }
    QCOMPARE(texts.text(0), QString());
    QCOMPARE(texts.text(22), QString());
}

void FrmMainViewTest::tipWindowOkWritesTheCheckBoxOnly() {
    ui::ScriptedDesktop desktop;
    bool option = true;
    {
        ui::frmTips tips(option, desktop, 0.1);
        QVERIFY(tips.chkShowTips->isChecked());
        tips.chkShowTips->setChecked(false);
        tips.show();
        tips.close();  // closed by its title bar, not by OK
    }
    QVERIFY(option);
    {
        ui::frmTips tips(option, desktop, 0.1);
        tips.chkShowTips->setChecked(false);
        QTest::mouseClick(tips.cmdOK, Qt::LeftButton);
    }
    QVERIFY(!option);
    {
        ui::frmTips tips(option, desktop, 0.1);
        QVERIFY(!tips.chkShowTips->isChecked());
    }
}

void FrmMainViewTest::tipWindowFromTheMenuIsModalAndCentred() {
    app::MemoryFileSystem fs;
    fs.putFile(kProgramIni, optionIni("SHOWTIP=True\r\n"));
    WindowRun run(fs);
    frmMain& w = run.window();
    QVERIFY(run.module->showTipsAtStartup);
    if (auto* startTips = openTips(w)) {
        startTips->close();
    }

    bool seenModal = false;
    QRect seenGeometry;
    QTimer::singleShot(0, &w, [&] {
        auto* tips = qobject_cast<ui::frmTips*>(QApplication::activeModalWidget());
        QVERIFY(tips);
        seenModal = true;
        seenGeometry = tips->frameGeometry();
        QVERIFY(tips->chkShowTips->isChecked());
        tips->chkShowTips->setChecked(false);
        QTest::mouseClick(tips->cmdOK, Qt::LeftButton);
    });
    menuEntry(w, "mnuTip")->trigger();  // returns once the window closed
    QVERIFY(seenModal);
    QVERIFY(!run.module->showTipsAtStartup);
    const QRect screen = run.desktop.screenRects.first();
    QVERIFY(centred(seenGeometry, screen));

    menuEntry(w, "mnuExit")->trigger();
    QVERIFY(settingsLines(fs.contents(kProgramIni)).contains("SHOWTIP=False"));
}

void FrmMainViewTest::tipWindowAtStartOnlyWhenTheOptionIsSet() {
    {
        app::MemoryFileSystem fs;
        fs.putFile(kProgramIni, optionIni("SHOWTIP=True\r\n"));
        WindowRun run(fs);
        ui::frmTips* tips = openTips(run.window());
        QVERIFY(tips);
        QVERIFY(!tips->isModal());
        QVERIFY(tips->chkShowTips->isChecked());
        QCOMPARE(tips->windowTitle(), QStringLiteral("Tip of the Day"));
    }
    for (const QByteArray& option : {QByteArray("SHOWTIP=False\r\n"), QByteArray()}) {
        app::MemoryFileSystem fs;
        fs.putFile(kProgramIni, optionIni(option));
        WindowRun run(fs);
        QVERIFY(!openTips(run.window()));
    }
}

void FrmMainViewTest::webSiteFromMenuAndCaptionPanel() {
    app::MemoryFileSystem fs;
    WindowRun run(fs);
    frmMain& w = run.window();
    const QString web = QString::fromLatin1(ui::kMakerWebAddress);
    QVERIFY(web.contains(QStringLiteral("example.org")));
    menuEntry(w, "mnuWeb")->trigger();
    QCOMPARE(run.desktop.openedUrls, QStringList{web});
    QTest::mouseClick(w.VTPan->webLabel(), Qt::LeftButton);
    QCOMPARE(run.desktop.openedUrls, (QStringList{web, web}));
}

void FrmMainViewTest::aboutWindowLinksAndClosing() {
    app::MemoryFileSystem fs;
    WindowRun run(fs);
    frmMain& w = run.window();
    menuEntry(w, "mnuAbout")->trigger();
    auto* about = w.findChild<ui::frmAbout*>();
    QVERIFY(about);
    QVERIFY(about->isVisible());
    QVERIFY(!about->isModal());
    QCOMPARE(about->windowTitle(), QStringLiteral("About"));
    const QRect screen = run.desktop.screenRects.first();
    QVERIFY(centred(about->frameGeometry(), screen));
    // Asking again brings the same window forward.
    menuEntry(w, "mnuAbout")->trigger();
    QCOMPARE(w.findChildren<ui::frmAbout*>().size(), 1);

    // The mail label shows the support address but mails the information one.
    QCOMPARE(about->Label2(1)->text(), QString::fromLatin1(ui::kSupportMail));
    QTest::mouseClick(about->Label2(1), Qt::LeftButton);
    QTest::mouseClick(about->Label2(2), Qt::LeftButton);
    QCOMPARE(run.desktop.openedUrls,
             (QStringList{QStringLiteral("mailto:") + QString::fromLatin1(ui::kInfoMail),
                          QString::fromLatin1(ui::kMakerWebAddress)}));
    QVERIFY(about->isVisible());
    QCOMPARE(ui::frmAbout::linkTarget(0), QString());
    QCOMPARE(ui::frmAbout::linkTarget(3), QString());

    QTest::mouseClick(about->cmdQuit, Qt::LeftButton);
    QTRY_VERIFY(w.findChildren<ui::frmAbout*>().isEmpty());

    // A click on the window's background closes it as well.
    menuEntry(w, "mnuAbout")->trigger();
    about = w.findChild<ui::frmAbout*>();
    QVERIFY(about);
    QTest::mouseClick(about, Qt::LeftButton, {}, QPoint(2, 2));
    QTRY_VERIFY(w.findChildren<ui::frmAbout*>().isEmpty());
    QCOMPARE(run.desktop.openedUrls.size(), 2);
}

void FrmMainViewTest::disclaimerOpensLicenseBesideTheProgram() {
    app::MemoryFileSystem fs;
    WindowRun run(fs);
    frmMain& w = run.window();
    menuEntry(w, "mnuDisclaimer")->trigger();
    QCOMPARE(run.desktop.editedFiles, QStringList{kProgramFolder + QStringLiteral("/License.txt")});
    QVERIFY(run.desktop.openedUrls.isEmpty());
}

QTEST_MAIN(FrmMainViewTest)
#include "tst_frm_main_view.moc"
