// Where the main window opens for a stored frame rectangle.
#include <QTest>

#include "app/window_placement.h"

class WindowPlacementTest : public QObject {
    Q_OBJECT

  private slots:
    void choose_data();
    void choose();
};

void WindowPlacementTest::choose_data() {
    QTest::addColumn<QRect>("stored");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("usable, kept") << QRect(100, 50, 800, 600) << QRect(100, 50, 800, 600);
    QTest::newRow("partly off, kept") << QRect(1400, 900, 800, 600) << QRect(1400, 900, 800, 600);
    QTest::newRow("on second screen, kept")
        << QRect(1700, 100, 800, 600) << QRect(1700, 100, 800, 600);
    QTest::newRow("first start") << QRect(0, 0, 0, 0) << QRect(200, 125, 1200, 750);
    QTest::newRow("tiny") << QRect(10, 10, 30, 20) << QRect(200, 125, 1200, 750);
    QTest::newRow("wholly off") << QRect(20000, -9000, 800, 600) << QRect(400, 200, 800, 600);
    QTest::newRow("off and larger than screen")
        << QRect(-9000, 0, 4000, 3000) << QRect(0, 0, 1600, 1000);
}

void WindowPlacementTest::choose() {
    QFETCH(QRect, stored);
    const QList<QRect> screens{QRect(0, 0, 1600, 1000), QRect(1600, 0, 1280, 1024)};
    QTEST(app::WindowPlacement::choose(stored, screens), "expected");
}

QTEST_MAIN(WindowPlacementTest)
#include "tst_window_placement.moc"
