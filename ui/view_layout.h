// The main window's panes and the View menu's toggles: the pane geometry in
// twips and the widgets moved to it on every resize, the two splitters'
// mouse, the toolbar, "SQL" tab, grid line and fields-subtree toggles, and
// the tab click rule. Pixel and twip conversions at the desktop's DPI live
// here too.
#pragma once

#include <QObject>
#include <QSize>

#include "ui/pane_layout.h"
#include "ui/splitter_drag.h"

class QEvent;
class QWidget;

namespace ui {

class Desktop;
struct MenuActions;
struct WindowControls;

// The view options the settings file keeps.
struct ViewOptions {
    bool toolbarShown = false;
    bool sqlTabShown = false;
    bool fieldsSubtree = false;
};

class ViewLayout : public QObject {
    Q_OBJECT
  public:
    ViewLayout(QWidget& window, const WindowControls& controls, const MenuActions& menus,
               Desktop& desktop);

    // The first placement, from the stored splitter positions (0 or less:
    // their defaults), then the toolbar as the options say.
    void placeInitialPanes(int storedHbarTop, int storedVbarLeft);
    // The full layout of a resize.
    void layOut();
    // Moves every widget to its pane's rectangle.
    void applyPanes();
    // A splitter's mouse event, handled; false for any other event.
    bool handleSplitterMouse(QObject* watched, QEvent* event);

    ViewOptions& options() { return options_; }
    PaneGeometry& panes() { return panes_; }
    const SplitterDragState& splitterDrag() const { return drag_; }
    LayoutFrame layoutFrame() const;

    int toPixelsX(int twips) const;
    int toPixelsY(int twips) const;
    int toTwipsX(int pixels) const;
    int toTwipsY(int pixels) const;

    // View menu toggles; each action has already flipped its check mark.
    void onToolbarToggled();
    void onSqlTabToggled();
    void onGridLinesToggled();
    void onFieldsTreeToggled();
    // Shows the toolbar as the options say, with the menu check.
    void applyToolbarShown();
    void onTabClicked();

  private:
    void connectActions();
    void showSplitterDrag();
    double dpi() const;

    QWidget& window_;
    const WindowControls& controls_;
    const MenuActions& menus_;
    Desktop& desktop_;
    ViewOptions options_;
    PaneGeometry panes_;
    SplitterDragState drag_;
};

}  // namespace ui
