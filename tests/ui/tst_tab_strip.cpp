// The tab control: its four tabs, the page controls shown only on their
// page, hiding the current tab, and the click report.
#include <QLabel>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

#include "ui/status_panels.h"
#include "ui/tab_strip.h"

class TabStripTest : public QObject {
    Q_OBJECT

  private slots:
    void fourTabsInOrder();
    void controlsFollowTheCurrentPage();
    void hidingTheCurrentTabFallsBack();
    void clickReportsThePage();
    void statusPanels();
};

void TabStripTest::fourTabsInOrder() {
    ui::TabStrip strip;
    QCOMPARE(strip.objectName(), QStringLiteral("TabStrip1"));
    QCOMPARE(strip.tabBar()->count(), 4);
    const QStringList captions{"Form", "Table", "SQL", "Column Statistics"};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(strip.tabBar()->tabText(i), captions[i]);
    }
    QCOMPARE(strip.currentPage(), 0);
}

void TabStripTest::controlsFollowTheCurrentPage() {
    ui::TabStrip strip;
    strip.show();
    auto* form = new QLabel(&strip);
    auto* sql = new QLabel(&strip);
    auto* sqlButton = new QLabel(&strip);
    strip.addPageControl(ui::TabStrip::Form, form);
    strip.addPageControl(ui::TabStrip::Sql, sql);
    strip.addPageControl(ui::TabStrip::Sql, sqlButton);
    QVERIFY(form->isVisible());
    QVERIFY(!sql->isVisible());
    strip.setCurrentPage(ui::TabStrip::Sql);
    QVERIFY(!form->isVisible());
    QVERIFY(sql->isVisible());
    QVERIFY(sqlButton->isVisible());
}

void TabStripTest::hidingTheCurrentTabFallsBack() {
    ui::TabStrip strip;
    strip.show();
    auto* form = new QLabel(&strip);
    auto* stats = new QLabel(&strip);
    strip.addPageControl(ui::TabStrip::Form, form);
    strip.addPageControl(ui::TabStrip::ColumnStatistics, stats);
    strip.setCurrentPage(ui::TabStrip::ColumnStatistics);
    QVERIFY(stats->isVisible());
    strip.setTabVisible(ui::TabStrip::ColumnStatistics, false);
    QVERIFY(!strip.isTabVisible(ui::TabStrip::ColumnStatistics));
    QCOMPARE(strip.currentPage(), int(ui::TabStrip::Form));
    QVERIFY(form->isVisible());
    QVERIFY(!stats->isVisible());
    strip.setTabVisible(ui::TabStrip::ColumnStatistics, true);
    QVERIFY(strip.isTabVisible(ui::TabStrip::ColumnStatistics));
    QCOMPARE(strip.currentPage(), int(ui::TabStrip::Form));
}

void TabStripTest::clickReportsThePage() {
    ui::TabStrip strip;
    strip.resize(400, 200);
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    QSignalSpy spy(&strip, &ui::TabStrip::tabClicked);
    const QRect sqlTab = strip.tabBar()->tabRect(ui::TabStrip::Sql);
    QTest::mouseClick(strip.tabBar(), Qt::LeftButton, {}, sqlTab.center());
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), int(ui::TabStrip::Sql));
    QCOMPARE(strip.currentPage(), int(ui::TabStrip::Sql));
}

void TabStripTest::statusPanels() {
    ui::StatusPanels bar;
    QCOMPARE(bar.objectName(), QStringLiteral("SBar"));
    for (int i = 1; i <= 5; ++i) {
        bar.setPanelText(i, QString::number(i * 11));
    }
    for (int i = 1; i <= 5; ++i) {
        QCOMPARE(bar.panelText(i), QString::number(i * 11));
    }
    bar.setPanelText(0, "x");
    bar.setPanelText(6, "x");
    QCOMPARE(bar.panelText(0), QString());
    QCOMPARE(bar.panelText(6), QString());
}

QTEST_MAIN(TabStripTest)
#include "tst_tab_strip.moc"
