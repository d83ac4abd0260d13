// frmMain: the mouse on the two splitters. The drag rules live in
// ui/splitter_drag; here the events are turned into twips and the result is
// shown (indicator bars, cursor, panes).
#include <QFrame>
#include <QMouseEvent>

#include "app/frm_main.h"
#include "ui/splitter_drag.h"

namespace {

int buttonFlags(Qt::MouseButtons buttons) {
    int flags = 0;
    if (buttons & Qt::LeftButton) {
        flags |= ui::LeftButton;
    }
    if (buttons & Qt::RightButton) {
        flags |= ui::RightButton;
    }
    if (buttons & Qt::MiddleButton) {
        flags |= ui::MiddleButton;
    }
    return flags;
}

ui::Desktop::Pointer pointerFor(ui::SplitterCursor cursor) {
    switch (cursor) {
        case ui::SplitterCursor::SizeNorthSouth:
            return ui::Desktop::Pointer::SizeNS;
        case ui::SplitterCursor::SizeWestEast:
            return ui::Desktop::Pointer::SizeWE;
        case ui::SplitterCursor::Arrow:
            break;
    }
    return ui::Desktop::Pointer::Default;
}

}  // namespace

// Returns whether the event was a splitter's mouse event and has been handled.
bool frmMain::splitterMouse(QObject* watched, QEvent* event) {
    const bool horizontal = watched == HBar;
    if (!horizontal && watched != VBar) {
        return false;
    }
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease) {
        return false;
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint at = mouse->position().toPoint();
    const ui::LayoutFrame frame = layoutFrame();
    if (type == QEvent::MouseButtonPress) {
        horizontal ? ui::hbarPress(panes, splitterDrag_) : ui::vbarPress(panes, splitterDrag_);
    } else if (type == QEvent::MouseMove) {
        const int flags = buttonFlags(mouse->buttons());
        horizontal ? ui::hbarMove(panes, splitterDrag_, flags, toTwipsY(at.y()), frame)
                   : ui::vbarMove(panes, splitterDrag_, flags, toTwipsX(at.x()), frame);
    } else {
        horizontal ? (void)ui::hbarRelease(panes, splitterDrag_, frame)
                   : (void)ui::vbarRelease(panes, splitterDrag_, frame);
    }
    showSplitterDrag();
    return true;
}

void frmMain::showSplitterDrag() {
    HBar1->setVisible(splitterDrag_.hbar1Visible);
    HBar2->setVisible(splitterDrag_.hbar2Visible);
    VBar1->setVisible(splitterDrag_.vbar1Visible);
    VBar2->setVisible(splitterDrag_.vbar2Visible);
    desktop_.setPointer(pointerFor(splitterDrag_.cursor));
    applyPanes();
}
