// frmMain: laying the panes out on every resize, in twips, and moving the
// widgets to their pixel rectangles.
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QShowEvent>
#include <QTreeWidget>

#include "app/frm_main.h"
#include "sheet/grid.h"
#include "ui/caption_panel.h"
#include "ui/main_toolbar.h"
#include "ui/status_panels.h"
#include "ui/tab_strip.h"

double frmMain::dpiX() const {
    return desktop_.logicalDpi();
}

double frmMain::dpiY() const {
    return desktop_.logicalDpi();
}

int frmMain::toPixelsX(int twips) const {
    return ui::twipsToPixels(twips, dpiX());
}

int frmMain::toPixelsY(int twips) const {
    return ui::twipsToPixels(twips, dpiY());
}

int frmMain::toTwipsX(int pixels) const {
    return ui::pixelsToTwips(pixels, dpiX());
}

int frmMain::toTwipsY(int pixels) const {
    return ui::pixelsToTwips(pixels, dpiY());
}

ui::LayoutFrame frmMain::layoutFrame() const {
    ui::LayoutFrame f;
    f.clientWidth = toTwipsX(client->width());
    f.clientHeight = toTwipsY(client->height());
    const QRect outer = frameGeometry();
    f.outerWidth = toTwipsX(outer.width());
    f.outerHeight = toTwipsY(outer.height());
    f.toolbarHeight = Toolbar->isVisibleTo(this) ? toTwipsY(Toolbar->sizeHint().height()) : 0;
    f.statusBarHeight = toTwipsY(SBar->sizeHint().height());
    f.statusBarLeft = 0;
    f.firstPanelWidth = toTwipsX(SBar->panelRect(1).width());
    return f;
}

void frmMain::Form_Resize() {
    if (!loaded_) {
        return;
    }
    const int w = client->width();
    const int h = client->height();
    const int toolbarHeight = Toolbar->sizeHint().height();
    const int statusHeight = SBar->sizeHint().height();
    Toolbar->setGeometry(0, 0, w, toolbarHeight);
    SBar->setGeometry(0, h - statusHeight, w, statusHeight);
    ui::fullLayout(panes, layoutFrame());
    applyPanes();
}

// Moves every pane to its rectangle; children of the tab control are placed
// relative to it, the rest relative to the client area.
void frmMain::applyPanes() {
    using ui::Pane;
    const std::pair<Pane, QWidget*> placed[] = {
        {Pane::fa, fa},
        {Pane::TreeView1, TreeView1},
        {Pane::VTPan, VTPan},
        {Pane::VBar, VBar},
        {Pane::VBar1, VBar1},
        {Pane::VBar2, VBar2},
        {Pane::HBar, HBar},
        {Pane::HBar1, HBar1},
        {Pane::HBar2, HBar2},
        {Pane::TabStrip1, TabStrip1},
        {Pane::fb, fb},
        {Pane::fs, fs},
        {Pane::Tree2, Tree2},
        {Pane::txtSQL, txtSQL},
        {Pane::cmdRun, cmdRun},
        {Pane::cmdClear, cmdClear},
        {Pane::cmdSaveSQL, cmdSaveSQL},
        {Pane::cmdDeleteSQL, cmdDeleteSQL},
        {Pane::cmdLockSQL, cmdLockSQL},
        {Pane::cmdUnlockSQL, cmdUnlockSQL},
        {Pane::Progress, Progress},
    };
    for (const auto& [pane, widget] : placed) {
        widget->setGeometry(ui::toPixels(panes[pane], dpiX(), dpiY()));
    }
    if (panes.fbColumn1Width > 0) {
        fb->setColWidth(1, panes.fbColumn1Width);
    }
    if (panes.fsColumn1Width > 0) {
        fs->setColWidth(1, panes.fsColumn1Width);
    }
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    correctFrameOnce();
    Form_Resize();
}

void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    correctFrameOnce();
}

// The stored size is the frame's. Before the window is shown the frame's
// margins are unknown, so the first time they are, the inner size is corrected
// once; otherwise every run would grow the window by its frame.
void frmMain::correctFrameOnce() {
    if (frameCorrected_ || pendingOuterSize_.isEmpty()) {
        return;
    }
    const QSize margins = frameGeometry().size() - geometry().size();
    if (margins.width() <= 0 && margins.height() <= 0) {
        return;
    }
    frameCorrected_ = true;
    resize(pendingOuterSize_ - margins);
}
