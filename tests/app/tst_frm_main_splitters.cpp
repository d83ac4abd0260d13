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
    frmMain* w_ = nullptr;
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
    QCOMPARE(w_->panes[ui::Pane::HBar].top, 2970);
    // 40 pixels are 600 twips at 96 dots per inch.
    send(w_->HBar, QEvent::MouseButtonPress, QPoint(2, 2), Qt::LeftButton, Qt::LeftButton);
    QVERIFY(w_->HBar1->isVisible());
    send(w_->HBar, QEvent::MouseMove, QPoint(2, 40), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(run_->desktop.pointer(), ui::Desktop::Pointer::SizeNS);
    QCOMPARE(w_->panes[ui::Pane::HBar1].top, 3570);
    QCOMPARE(w_->HBar1->geometry().top(), w_->toPixelsY(3570));
    send(w_->HBar, QEvent::MouseButtonRelease, QPoint(2, 40), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(run_->desktop.pointer(), ui::Desktop::Pointer::Default);
    QVERIFY(!w_->HBar1->isVisible());
    QVERIFY(!w_->HBar2->isVisible());
    QCOMPARE(w_->panes[ui::Pane::HBar].top, 3570);
    QCOMPARE(w_->HBar->geometry().top(), w_->toPixelsY(3570));
    QCOMPARE(w_->panes[ui::Pane::TreeView1].height, 3570);
    QCOMPARE(w_->TabStrip1->geometry().top(), w_->toPixelsY(3630));
}

void FrmMainSplittersTest::draggingVBarMovesSheet() {
    QCOMPARE(w_->panes[ui::Pane::VBar].left, 3570);
    drag(w_->VBar, {QPoint(20, 5), QPoint(40, 5)});
    QCOMPARE(w_->panes[ui::Pane::VBar].left, 4170);
    QCOMPARE(w_->panes[ui::Pane::fa].left, 4230);
    QCOMPARE(w_->fa->geometry().left(), w_->toPixelsX(4230));
    QCOMPARE(w_->TreeView1->geometry().width(), w_->toPixelsX(4170));
}

void FrmMainSplittersTest::dragAboveUpperLimitStopsThere() {
    drag(w_->HBar, {QPoint(2, -190), QPoint(2, -195), QPoint(2, -196)});
    QCOMPARE(w_->panes[ui::Pane::HBar].top, 600);
}

void FrmMainSplittersTest::rightButtonMovesNothing() {
    drag(w_->HBar, {QPoint(2, 40), QPoint(2, 60)}, Qt::RightButton);
    QCOMPARE(w_->panes[ui::Pane::HBar].top, 2970);
    drag(w_->VBar, {QPoint(40, 2)}, Qt::RightButton);
    QCOMPARE(w_->panes[ui::Pane::VBar].left, 3570);
}

QTEST_MAIN(FrmMainSplittersTest)
#include "tst_frm_main_splitters.moc"
