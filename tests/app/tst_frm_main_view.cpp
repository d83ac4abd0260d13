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
#include "ui/about_window.h"
#include "ui/caption_panel.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/maker_info.h"
#include "ui/status_panels.h"
#include "ui/tab_strip.h"
#include "ui/tips.h"
#include "ui/tips_window.h"
#include "window_fixture.h"

namespace {

// Centred within the few pixels of a window frame, which is only known once
// the window is on screen.
bool centred(const QRect& window, const QRect& screen) {
    return qAbs(window.center().x() - screen.center().x()) <= 4 &&
           qAbs(window.center().y() - screen.center().y()) <= 4;
}

QAction* menuEntry(app::MainWindow& w, const char* name) {
    return w.menus().action(QString::fromLatin1(name));
}

QByteArray optionIni(const QByteArray& option) {
    return "[WINDOWS]\r\n[OPTION]\r\n" + option;
}

// The tip window the main window has open, if any.
ui::TipsWindow* openTips(app::MainWindow& w) {
    for (auto* tips : w.findChildren<ui::TipsWindow*>()) {
        if (tips->isVisible()) {
            return tips;
        }
    }
    return nullptr;
}

// The tops and heights the toolbar toggle moves.
struct UnderToolbar {
    ui::TwipsRect sheet, tree, caption, vbar, vbar1, vbar2, hbar, tabs;
    bool operator==(const UnderToolbar&) const = default;
};

UnderToolbar underToolbar(const app::MainWindow& w) {
    using ui::Pane;
    const auto& p = w.viewLayout().panes();
    return {p[Pane::dataSheet],          p[Pane::databaseTree],    p[Pane::captionPanel],
            p[Pane::verticalSplitter],   p[Pane::verticalDragBar], p[Pane::verticalLimitBar],
            p[Pane::horizontalSplitter], p[Pane::tabStrip]};
}

void clickTab(app::MainWindow& w, int page) {
    QTabBar* bar = w.controls().tabStrip->tabBar();
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
    app::MainWindow& w = run.window();
    QVERIFY(!w.viewLayout().options().toolbarShown);
    const UnderToolbar before = underToolbar(w);
    const QRect faPixels = w.controls().dataSheet->geometry();

    menuEntry(w, "mnuToolbar")->trigger();
    const int T = w.viewLayout().toTwipsY(w.controls().toolbar->sizeHint().height());
    QVERIFY(T > 0);
    QVERIFY(w.viewLayout().options().toolbarShown);
    QVERIFY(menuEntry(w, "mnuToolbar")->isChecked());
    QVERIFY(w.controls().toolbar->isVisible());
    const UnderToolbar shown = underToolbar(w);
    QCOMPARE(shown.sheet.top, T);
    QCOMPARE(shown.sheet.height, before.sheet.height - T);
    QCOMPARE(shown.tree.top, T);
    QCOMPARE(shown.tree.height, before.tree.height - T);
    QCOMPARE(shown.caption.top, shown.tree.top);
    QCOMPARE(shown.caption.height, shown.tree.height);
    for (const auto& bar : {shown.vbar, shown.vbar1, shown.vbar2}) {
        QCOMPARE(bar.top, T);
        QCOMPARE(bar.height, shown.sheet.height);
    }
    // The horizontal splitter and the tab control stay where they were.
    QCOMPARE(shown.hbar, before.hbar);
    QCOMPARE(shown.tabs, before.tabs);
    QCOMPARE(w.controls().dataSheet->geometry().top(), w.viewLayout().toPixelsY(T));

    menuEntry(w, "mnuToolbar")->trigger();
    QVERIFY(!w.viewLayout().options().toolbarShown);
    QVERIFY(!w.controls().toolbar->isVisible());
    QCOMPARE(underToolbar(w), before);
    QCOMPARE(w.controls().dataSheet->geometry(), faPixels);
}

void FrmMainViewTest::toolbarHiddenOverShortTreeGrowsTheTree() {
    app::MemoryFileSystem fs;
    fs.putFile(kProgramIni, optionIni("TOOLBAR=True\r\n"));
    WindowRun run(fs);
    app::MainWindow& w = run.window();
    QVERIFY(w.viewLayout().options().toolbarShown);
    const int T = w.viewLayout().toTwipsY(w.controls().toolbar->sizeHint().height());
    w.viewLayout().panes()[ui::Pane::databaseTree].height =
        T / 2;  // the user dragged it nearly shut

    menuEntry(w, "mnuToolbar")->trigger();
    QCOMPARE(w.viewLayout().panes()[ui::Pane::databaseTree].top, 0);
    QCOMPARE(w.viewLayout().panes()[ui::Pane::databaseTree].height, T / 2 + T);
    QCOMPARE(w.viewLayout().panes()[ui::Pane::captionPanel].height, T / 2 + T);
    QCOMPARE(w.controls().databaseTree->geometry().top(), 0);
}

void FrmMainViewTest::sqlTabToggleKeepsTheSqlBox() {
    app::MemoryFileSystem fs;
    WindowRun run(fs);
    app::MainWindow& w = run.window();
    // As after opening a database.
    menuEntry(w, "mnuSQLtab")->setVisible(true);
    w.controls().tabStrip->setTabVisible(ui::TabStrip::Sql, true);
    w.sqlWorkbench().setText(QStringLiteral("SELECT * FROM [Orders]"));
    w.sqlWorkbench().unlock();
    QVERIFY(menuEntry(w, "mnuSQLtab")->isChecked());

    menuEntry(w, "mnuSQLtab")->trigger();
    QVERIFY(!menuEntry(w, "mnuSQLtab")->isChecked());
    QVERIFY(!w.controls().tabStrip->isTabVisible(ui::TabStrip::Sql));
    QVERIFY(!w.viewLayout().options().sqlTabShown);
    QVERIFY(w.controls().tabStrip->isVisible());

    menuEntry(w, "mnuSQLtab")->trigger();
    QVERIFY(menuEntry(w, "mnuSQLtab")->isChecked());
    QVERIFY(w.controls().tabStrip->isTabVisible(ui::TabStrip::Sql));
    QVERIFY(w.viewLayout().options().sqlTabShown);
    QCOMPARE(w.controls().sqlBox->toPlainText(), QStringLiteral("SELECT * FROM [Orders]"));
    QVERIFY(w.sqlWorkbench().unlocked());
}

void FrmMainViewTest::gridLinesToggle() {
    app::MemoryFileSystem fs;
    WindowRun run(fs);
    app::MainWindow& w = run.window();
    QVERIFY(menuEntry(w, "mnuGrid")->isChecked());
    QCOMPARE(w.controls().dataSheet->gridLines(), 1);

    menuEntry(w, "mnuGrid")->trigger();
    QVERIFY(!menuEntry(w, "mnuGrid")->isChecked());
    QCOMPARE(w.controls().dataSheet->gridLines(), 0);

    menuEntry(w, "mnuGrid")->trigger();
    QVERIFY(menuEntry(w, "mnuGrid")->isChecked());
    QCOMPARE(w.controls().dataSheet->gridLines(), 1);

    // Grid lines have no key of their own in the settings file.
    menuEntry(w, "mnuGrid")->trigger();
    menuEntry(w, "mnuExit")->trigger();
    QVERIFY(!settingsLines(fs.contents(kProgramIni)).join(' ').contains("GRID"));
}

void FrmMainViewTest::fieldsTreeEntryFlipsTheStoredOption() {
    app::MemoryFileSystem fs;
    WindowRun run(fs);
    app::MainWindow& w = run.window();
    QAction* entry = menuEntry(w, "mnuFieldsTree");
    QVERIFY(!entry->isVisible());
    QVERIFY(!w.viewLayout().options().fieldsSubtree);
    entry->trigger();
    QVERIFY(entry->isChecked());
    QVERIFY(w.viewLayout().options().fieldsSubtree);
    menuEntry(w, "mnuExit")->trigger();
    QVERIFY(settingsLines(fs.contents(kProgramIni)).contains("FIELDSSUBTREE=True"));
}

void FrmMainViewTest::tabClickKeepsSqlIndicatorOnlyOnTheSqlTab() {
    app::MemoryFileSystem fs;
    WindowRun run(fs);
    app::MainWindow& w = run.window();
    w.controls().tabStrip->setTabVisible(ui::TabStrip::Sql, true);
    w.controls().tabStrip->setTabVisible(ui::TabStrip::Table, true);
    w.sqlWorkbench().unlock();

    w.controls().statusPanels->setPanelText(2, QStringLiteral("SQL"));
    clickTab(w, ui::TabStrip::Sql);
    QCOMPARE(w.controls().tabStrip->currentPage(), int(ui::TabStrip::Sql));
    QCOMPARE(w.controls().statusPanels->panelText(2), QStringLiteral("SQL"));
    // A second click on the page already shown keeps it too.
    clickTab(w, ui::TabStrip::Sql);
    QCOMPARE(w.controls().statusPanels->panelText(2), QStringLiteral("SQL"));

    for (int page : {int(ui::TabStrip::Form), int(ui::TabStrip::Table)}) {
        w.controls().statusPanels->setPanelText(2, QStringLiteral("SQL"));
        clickTab(w, page);
        QCOMPARE(w.controls().tabStrip->currentPage(), page);
        QCOMPARE(w.controls().statusPanels->panelText(2), QString());
    }
    QVERIFY(w.sqlWorkbench().unlocked());
}

void FrmMainViewTest::tipWindowWalksAndWraps() {
    ui::ScriptedDesktop desktop;
    bool option = true;
    const ui::Tips texts(QString::fromLatin1(ui::kMakerWebAddress));

    // Whatever tip was drawn, the first Next shows tip 1 and the walk wraps
    // after the last.
    for (double random : {0.0, 0.5, 0.999999}) {
        ui::TipsWindow tips(option, desktop, random);
        QCOMPARE(tips.tipLabel->text(), texts.text(ui::Tips::firstIndex(random)));
        for (int i = 1; i <= 21; ++i) {
            QTest::mouseClick(tips.nextButton, Qt::LeftButton);
            QCOMPARE(tips.tipLabel->text(), texts.text(i));
        }
        QTest::mouseClick(tips.nextButton, Qt::LeftButton);
        QCOMPARE(tips.tipLabel->text(), texts.text(1));
    }
    QCOMPARE(ui::Tips::firstIndex(0.0), 1);
    QCOMPARE(ui::Tips::firstIndex(0.999999), 21);
    QCOMPARE(ui::Tips::firstIndex(0.5), 11);

    ui::TipsWindow tips(option, desktop, 0.3);
    QTest::mouseClick(tips.previousButton, Qt::LeftButton);
    QCOMPARE(tips.tipLabel->text(), texts.text(21));
    QTest::mouseClick(tips.previousButton, Qt::LeftButton);
    QCOMPARE(tips.tipLabel->text(), texts.text(20));
    QTest::mouseClick(tips.nextButton, Qt::LeftButton);
    QCOMPARE(tips.tipLabel->text(), texts.text(21));
    QTest::mouseClick(tips.nextButton, Qt::LeftButton);
    QCOMPARE(tips.tipLabel->text(), texts.text(1));

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
        ui::TipsWindow tips(option, desktop, 0.1);
        QVERIFY(tips.showTipsCheckBox->isChecked());
        tips.showTipsCheckBox->setChecked(false);
        tips.show();
        tips.close();  // closed by its title bar, not by OK
    }
    QVERIFY(option);
    {
        ui::TipsWindow tips(option, desktop, 0.1);
        tips.showTipsCheckBox->setChecked(false);
        QTest::mouseClick(tips.okButton, Qt::LeftButton);
    }
    QVERIFY(!option);
    {
        ui::TipsWindow tips(option, desktop, 0.1);
        QVERIFY(!tips.showTipsCheckBox->isChecked());
    }
}

void FrmMainViewTest::tipWindowFromTheMenuIsModalAndCentred() {
    app::MemoryFileSystem fs;
    fs.putFile(kProgramIni, optionIni("SHOWTIP=True\r\n"));
    WindowRun run(fs);
    app::MainWindow& w = run.window();
    QVERIFY(run.module->showTipsAtStartup);
    if (auto* startTips = openTips(w)) {
        startTips->close();
    }

    bool seenModal = false;
    QRect seenGeometry;
    QTimer::singleShot(0, &w, [&] {
        auto* tips = qobject_cast<ui::TipsWindow*>(QApplication::activeModalWidget());
        QVERIFY(tips);
        seenModal = true;
        seenGeometry = tips->frameGeometry();
        QVERIFY(tips->showTipsCheckBox->isChecked());
        tips->showTipsCheckBox->setChecked(false);
        QTest::mouseClick(tips->okButton, Qt::LeftButton);
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
        ui::TipsWindow* tips = openTips(run.window());
        QVERIFY(tips);
        QVERIFY(!tips->isModal());
        QVERIFY(tips->showTipsCheckBox->isChecked());
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
    app::MainWindow& w = run.window();
    const QString web = QString::fromLatin1(ui::kMakerWebAddress);
    QVERIFY(web.contains(QStringLiteral("example.org")));
    menuEntry(w, "mnuWeb")->trigger();
    QCOMPARE(run.desktop.openedUrls, QStringList{web});
    QTest::mouseClick(w.controls().captionPanel->webLabel(), Qt::LeftButton);
    QCOMPARE(run.desktop.openedUrls, (QStringList{web, web}));
}

void FrmMainViewTest::aboutWindowLinksAndClosing() {
    app::MemoryFileSystem fs;
    WindowRun run(fs);
    app::MainWindow& w = run.window();
    menuEntry(w, "mnuAbout")->trigger();
    auto* about = w.findChild<ui::AboutWindow*>();
    QVERIFY(about);
    QVERIFY(about->isVisible());
    QVERIFY(!about->isModal());
    QCOMPARE(about->windowTitle(), QStringLiteral("About"));
    const QRect screen = run.desktop.screenRects.first();
    QVERIFY(centred(about->frameGeometry(), screen));
    // Asking again brings the same window forward.
    menuEntry(w, "mnuAbout")->trigger();
    QCOMPARE(w.findChildren<ui::AboutWindow*>().size(), 1);

    // The mail label shows the support address but mails the information one.
    QCOMPARE(about->linkLabel(1)->text(), QString::fromLatin1(ui::kSupportMail));
    QTest::mouseClick(about->linkLabel(1), Qt::LeftButton);
    QTest::mouseClick(about->linkLabel(2), Qt::LeftButton);
    QCOMPARE(run.desktop.openedUrls,
             (QStringList{QStringLiteral("mailto:") + QString::fromLatin1(ui::kInfoMail),
                          QString::fromLatin1(ui::kMakerWebAddress)}));
    QVERIFY(about->isVisible());
    QCOMPARE(ui::AboutWindow::linkTarget(0), QString());
    QCOMPARE(ui::AboutWindow::linkTarget(3), QString());

    QTest::mouseClick(about->okButton, Qt::LeftButton);
    QTRY_VERIFY(w.findChildren<ui::AboutWindow*>().isEmpty());

    // A click on the window's background closes it as well.
    menuEntry(w, "mnuAbout")->trigger();
    about = w.findChild<ui::AboutWindow*>();
    QVERIFY(about);
    QTest::mouseClick(about, Qt::LeftButton, {}, QPoint(2, 2));
    QTRY_VERIFY(w.findChildren<ui::AboutWindow*>().isEmpty());
    QCOMPARE(run.desktop.openedUrls.size(), 2);
}

void FrmMainViewTest::disclaimerOpensLicenseBesideTheProgram() {
    app::MemoryFileSystem fs;
    WindowRun run(fs);
    app::MainWindow& w = run.window();
    menuEntry(w, "mnuDisclaimer")->trigger();
    QCOMPARE(run.desktop.editedFiles, QStringList{kProgramFolder + QStringLiteral("/License.txt")});
    QVERIFY(run.desktop.openedUrls.isEmpty());
}

QTEST_MAIN(FrmMainViewTest)
#include "tst_frm_main_view.moc"
