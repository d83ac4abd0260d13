#include "ui/view_layout.h"

#include <QAction>
#include <QFrame>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>

#include "sheet/form_view.h"
#include "sheet/grid.h"
#include "ui/caption_panel.h"
#include "ui/desktop.h"
#include "ui/main_toolbar.h"
#include "ui/menu_actions.h"
#include "ui/status_panels.h"
#include "ui/tab_strip.h"
#include "ui/window_controls.h"

namespace ui {

namespace {

int buttonFlags(Qt::MouseButtons buttons) {
    int flags = 0;
    if (buttons & Qt::LeftButton) {
        flags |= LeftButton;
    }
    if (buttons & Qt::RightButton) {
        flags |= RightButton;
    }
    if (buttons & Qt::MiddleButton) {
        flags |= MiddleButton;
    }
    return flags;
}

Desktop::Pointer pointerFor(SplitterCursor cursor) {
    switch (cursor) {
        case SplitterCursor::SizeNorthSouth:
            return Desktop::Pointer::SizeNS;
        case SplitterCursor::SizeWestEast:
            return Desktop::Pointer::SizeWE;
        case SplitterCursor::Arrow:
            break;
    }
    return Desktop::Pointer::Default;
}

}  // namespace

ViewLayout::ViewLayout(QWidget& window, const WindowControls& controls, const MenuActions& menus,
                       Desktop& desktop)
    : QObject(&window), window_(window), controls_(controls), menus_(menus), desktop_(desktop) {
    connectActions();
}

void ViewLayout::connectActions() {
    connect(menus_.toolbar, &QAction::triggered, this, &ViewLayout::onToolbarToggled);
    connect(menus_.sqlTab, &QAction::triggered, this, &ViewLayout::onSqlTabToggled);
    connect(menus_.gridLines, &QAction::triggered, this, &ViewLayout::onGridLinesToggled);
    connect(menus_.fieldsTree, &QAction::triggered, this, &ViewLayout::onFieldsTreeToggled);
    connect(controls_.tabStrip, &TabStrip::tabClicked, this, &ViewLayout::onTabClicked);
    // Splitters report their mouse to the window, which passes it on here.
    controls_.splitters.horizontal->installEventFilter(&window_);
    controls_.splitters.vertical->installEventFilter(&window_);
}

double ViewLayout::dpi() const {
    return desktop_.logicalDpi();
}

int ViewLayout::toPixelsX(int twips) const {
    return twipsToPixels(twips, dpi());
}

int ViewLayout::toPixelsY(int twips) const {
    return twipsToPixels(twips, dpi());
}

int ViewLayout::toTwipsX(int pixels) const {
    return pixelsToTwips(pixels, dpi());
}

int ViewLayout::toTwipsY(int pixels) const {
    return pixelsToTwips(pixels, dpi());
}

// The tops below the toolbar and the tab pages' shared origin.
void ViewLayout::placeInitialPanes(int storedHbarTop, int storedVbarLeft) {
    const int T = options_.toolbarShown ? toTwipsY(controls_.toolbar->sizeHint().height()) : 0;
    panes_ = initialPlacement(T, storedHbarTop, storedVbarLeft, sheet::FormView::kColumnWidth,
                              sheet::FormView::kColumnWidth);
    panes_[Pane::formView].width = toTwipsX(controls_.formView->width());
    panes_[Pane::formView].height = toTwipsY(controls_.formView->height());
    applyPanes();
}

LayoutFrame ViewLayout::layoutFrame() const {
    LayoutFrame f;
    f.clientWidth = toTwipsX(controls_.client->width());
    f.clientHeight = toTwipsY(controls_.client->height());
    // A dock beside the panes takes its width from the window's.
    const QRect outer = window_.frameGeometry();
    const int docks = std::max(0, window_.width() - controls_.client->width());
    f.outerWidth = toTwipsX(outer.width() - docks);
    f.outerHeight = toTwipsY(outer.height());
    f.toolbarHeight = controls_.toolbar->isVisibleTo(&window_)
                          ? toTwipsY(controls_.toolbar->sizeHint().height())
                          : 0;
    f.statusBarHeight = toTwipsY(controls_.statusPanels->sizeHint().height());
    f.statusBarLeft = 0;
    f.firstPanelWidth = toTwipsX(controls_.statusPanels->panelRect(1).width());
    return f;
}

void ViewLayout::layOut() {
    const int w = controls_.client->width();
    const int h = controls_.client->height();
    const int toolbarHeight = controls_.toolbar->sizeHint().height();
    const int statusHeight = controls_.statusPanels->sizeHint().height();
    controls_.toolbar->setGeometry(0, 0, w, toolbarHeight);
    controls_.statusPanels->setGeometry(0, h - statusHeight, w, statusHeight);
    fullLayout(panes_, layoutFrame());
    applyPanes();
}

// Children of the tab control are placed relative to it, the rest relative
// to the client area.
void ViewLayout::applyPanes() {
    const WindowControls& c = controls_;
    const std::pair<Pane, QWidget*> placed[] = {
        {Pane::dataSheet, c.dataSheet},
        {Pane::databaseTree, c.databaseTree},
        {Pane::captionPanel, c.captionPanel},
        {Pane::verticalSplitter, c.splitters.vertical},
        {Pane::verticalDragBar, c.splitters.verticalDrag},
        {Pane::verticalLimitBar, c.splitters.verticalLimit},
        {Pane::horizontalSplitter, c.splitters.horizontal},
        {Pane::horizontalDragBar, c.splitters.horizontalDrag},
        {Pane::horizontalLimitBar, c.splitters.horizontalLimit},
        {Pane::tabStrip, c.tabStrip},
        {Pane::formView, c.formView},
        {Pane::statisticsGrid, c.statisticsGrid},
        {Pane::tableTree, c.tableTree},
        {Pane::sqlBox, c.sqlBox},
        {Pane::runButton, c.sqlButtons.run},
        {Pane::clearButton, c.sqlButtons.clear},
        {Pane::saveQueryButton, c.sqlButtons.saveQuery},
        {Pane::deleteQueryButton, c.sqlButtons.deleteQuery},
        {Pane::lockButton, c.sqlButtons.lock},
        {Pane::unlockButton, c.sqlButtons.unlock},
        {Pane::progressBar, c.progressBar},
    };
    for (const auto& [pane, widget] : placed) {
        widget->setGeometry(toPixels(panes_[pane], dpi(), dpi()));
    }
    if (panes_.formViewColumn1Width > 0) {
        c.formView->setColWidth(1, panes_.formViewColumn1Width);
    }
    if (panes_.statisticsColumn1Width > 0) {
        c.statisticsGrid->setColWidth(1, panes_.statisticsColumn1Width);
    }
}

bool ViewLayout::handleSplitterMouse(QObject* watched, QEvent* event) {
    const bool horizontal = watched == controls_.splitters.horizontal;
    if (!horizontal && watched != controls_.splitters.vertical) {
        return false;
    }
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease) {
        return false;
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint at = mouse->position().toPoint();
    const LayoutFrame frame = layoutFrame();
    if (type == QEvent::MouseButtonPress) {
        horizontal ? hbarPress(panes_, drag_) : vbarPress(panes_, drag_);
    } else if (type == QEvent::MouseMove) {
        const int flags = buttonFlags(mouse->buttons());
        horizontal ? hbarMove(panes_, drag_, flags, toTwipsY(at.y()), frame)
                   : vbarMove(panes_, drag_, flags, toTwipsX(at.x()), frame);
    } else {
        horizontal ? (void)hbarRelease(panes_, drag_, frame)
                   : (void)vbarRelease(panes_, drag_, frame);
    }
    showSplitterDrag();
    return true;
}

void ViewLayout::showSplitterDrag() {
    const SplitterBars& bars = controls_.splitters;
    bars.horizontalDrag->setVisible(drag_.horizontalDragBarShown);
    bars.horizontalLimit->setVisible(drag_.horizontalLimitBarShown);
    bars.verticalDrag->setVisible(drag_.verticalDragBarShown);
    bars.verticalLimit->setVisible(drag_.verticalLimitBarShown);
    desktop_.setPointer(pointerFor(drag_.cursor));
    applyPanes();
}

// The panes under the toolbar move by its height; no full layout runs, so
// splitter positions the user chose stay where they are.
void ViewLayout::onToolbarToggled() {
    const bool shown = menus_.toolbar->isChecked();
    const int T = toTwipsY(controls_.toolbar->sizeHint().height());
    controls_.toolbar->setVisible(shown);
    options_.toolbarShown = shown;
    shiftForToolbar(panes_, shown, T);
    applyPanes();
}

void ViewLayout::applyToolbarShown() {
    controls_.toolbar->setVisible(options_.toolbarShown);
    menus_.toolbar->setChecked(options_.toolbarShown);
}

void ViewLayout::onSqlTabToggled() {
    options_.sqlTabShown = menus_.sqlTab->isChecked();
    controls_.tabStrip->setTabVisible(TabStrip::Sql, options_.sqlTabShown);
    controls_.tabStrip->hide();
    controls_.tabStrip->show();
}

void ViewLayout::onGridLinesToggled() {
    controls_.dataSheet->setGridLines(menus_.gridLines->isChecked() ? 1 : 0);
}

void ViewLayout::onFieldsTreeToggled() {
    options_.fieldsSubtree = menus_.fieldsTree->isChecked();
}

// Only the SQL page keeps the SQL-mode indicator; the unlocked state of the
// SQL box is not touched either way.
void ViewLayout::onTabClicked() {
    if (controls_.tabStrip->currentPage() != TabStrip::Sql) {
        controls_.statusPanels->setPanelText(2, QString());
    }
}

}  // namespace ui
