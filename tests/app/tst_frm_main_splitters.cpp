// The splitters of the real main window: mouse events on HBar and VBar move
// them by the drag rules and re-place the panes beside them.
#include <QApplication>
#include <QFrame>
#include <QMouseEvent>
#include <QTest>
#include <QTreeWidget>

#include "sheet/grid.h"
#include "ui/tab_strip.h"
#include "window_fixture.h"

namespace {

void send(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button,
          Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Press, move through the points (relative to the bar), release.
void drag(QWidget* bar, std::initializer_list<QPoint> points,
          Qt::MouseButton button = Qt::LeftButton) {
    send(bar, QEvent::MouseButtonPress, QPoint(2, 2), button, button);
    for (QPoint p : points) {
        send(bar, QEvent::MouseMove, p, Qt::NoButton, button);
    }
    send(bar, QEvent::MouseButtonRelease, *std::rbegin(points), button, Qt::NoButton);
}

}  // namespace

class FrmMainSplittersTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void draggingHBarMovesTreeAndTabs();
    void draggingVBarMovesSheet();
    void dragAboveUpperLimitStopsThere();
    void rightButtonMovesNothing();

  private:
    app::MemoryFileSystem* fs_ = nullptr;
    WindowRun* run_ = nullptr;
    app::MainWindow* w_ = nullptr;
};

void FrmMainSplittersTest::init() {
    fs_ = new app::MemoryFileSystem;
    fs_->putFile(kProgramIni, "[WINDOWS]\nTOP=0\nLEFT=0\nWIDTH=15000\nHEIGHT=12000\n");
    run_ = new WindowRun(*fs_);
    w_ = &run_->window();
    QVERIFY(QTest::qWaitForWindowExposed(w_));
}

void FrmMainSplittersTest::cleanup() {
    delete run_;
    delete fs_;
}

void FrmMainSplittersTest::draggingHBarMovesTreeAndTabs() {
    QCOMPARE(w_->viewLayout().panes()[ui::Pane::horizontalSplitter].top, 2970);
    // 40 pixels are 600 twips at 96 dots per inch.
    send(w_->controls().splitters.horizontal, QEvent::MouseButtonPress, QPoint(2, 2),
         Qt::LeftButton, Qt::LeftButton);
    QVERIFY(w_->controls().splitters.horizontalDrag->isVisible());
    send(w_->controls().splitters.horizontal, QEvent::MouseMove, QPoint(2, 40), Qt::NoButton,
         Qt::LeftButton);
    QCOMPARE(run_->desktop.pointer(), ui::Desktop::Pointer::SizeNS);
    QCOMPARE(w_->viewLayout().panes()[ui::Pane::horizontalDragBar].top, 3570);
    QCOMPARE(w_->controls().splitters.horizontalDrag->geometry().top(),
             w_->viewLayout().toPixelsY(3570));
    send(w_->controls().splitters.horizontal, QEvent::MouseButtonRelease, QPoint(2, 40),
         Qt::LeftButton, Qt::NoButton);
    QCOMPARE(run_->desktop.pointer(), ui::Desktop::Pointer::Default);
    QVERIFY(!w_->controls().splitters.horizontalDrag->isVisible());
    QVERIFY(!w_->controls().splitters.horizontalLimit->isVisible());
    QCOMPARE(w_->viewLayout().panes()[ui::Pane::horizontalSplitter].top, 3570);
    QCOMPARE(w_->controls().splitters.horizontal->geometry().top(),
             w_->viewLayout().toPixelsY(3570));
    QCOMPARE(w_->viewLayout().panes()[ui::Pane::databaseTree].height, 3570);
    QCOMPARE(w_->controls().tabStrip->geometry().top(), w_->viewLayout().toPixelsY(3630));
}

void FrmMainSplittersTest::draggingVBarMovesSheet() {
    QCOMPARE(w_->viewLayout().panes()[ui::Pane::verticalSplitter].left, 3570);
    drag(w_->controls().splitters.vertical, {QPoint(20, 5), QPoint(40, 5)});
    QCOMPARE(w_->viewLayout().panes()[ui::Pane::verticalSplitter].left, 4170);
    QCOMPARE(w_->viewLayout().panes()[ui::Pane::dataSheet].left, 4230);
    QCOMPARE(w_->controls().dataSheet->geometry().left(), w_->viewLayout().toPixelsX(4230));
    QCOMPARE(w_->controls().databaseTree->geometry().width(), w_->viewLayout().toPixelsX(4170));
}

void FrmMainSplittersTest::dragAboveUpperLimitStopsThere() {
    drag(w_->controls().splitters.horizontal, {QPoint(2, -190), QPoint(2, -195), QPoint(2, -196)});
    QCOMPARE(w_->viewLayout().panes()[ui::Pane::horizontalSplitter].top, 600);
}

void FrmMainSplittersTest::rightButtonMovesNothing() {
    drag(w_->controls().splitters.horizontal, {QPoint(2, 40), QPoint(2, 60)}, Qt::RightButton);
    QCOMPARE(w_->viewLayout().panes()[ui::Pane::horizontalSplitter].top, 2970);
    drag(w_->controls().splitters.vertical, {QPoint(40, 2)}, Qt::RightButton);
    QCOMPARE(w_->viewLayout().panes()[ui::Pane::verticalSplitter].left, 3570);
}

QTEST_MAIN(FrmMainSplittersTest)
#include "tst_frm_main_splitters.moc"
