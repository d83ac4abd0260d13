// The main window's pane geometry as plain arithmetic in twips (1440 per inch):
// where the full layout puts every pane on a resize, how showing or hiding the
// toolbar shifts them, and the conversion to pixels at a screen's logical DPI.
// The window keeps one PaneGeometry as the true state of its panes, lets these
// functions change it, and then moves its widgets to the pixel rectangles.
#pragma once

#include <array>
#include <vector>

#include <QRect>

namespace ui {

constexpr int kTwipsPerInch = 1440;

struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const TwipsRect&) const = default;
};

// Every control the layout places. The tab-page controls (form view,
// statistics grid, table tree, SQL box and its buttons) are placed relative to
// the tab strip; all others
// relative to the client area below the menu bar.
enum class Pane {
    dataSheet,
    databaseTree,
    captionPanel,
    verticalSplitter,
    verticalDragBar,
    verticalLimitBar,
    horizontalSplitter,
    horizontalDragBar,
    horizontalLimitBar,
    tabStrip,
    formView,
    statisticsGrid,
    tableTree,
    sqlBox,
    runButton,
    clearButton,
    saveQueryButton,
    deleteQueryButton,
    lockButton,
    unlockButton,
    progressBar,
};
constexpr int kPaneCount = static_cast<int>(Pane::progressBar) + 1;
// The pane's control name: the objectName its widget carries.
const char* paneName(Pane pane);

struct PaneGeometry {
    std::array<TwipsRect, kPaneCount> rects{};
    int formViewColumn0Width = 0;
    int formViewColumn1Width = 0;
    int statisticsColumn0Width = 0;
    int statisticsColumn1Width = 0;

    TwipsRect& operator[](Pane pane) { return rects[static_cast<int>(pane)]; }
    const TwipsRect& operator[](Pane pane) const { return rects[static_cast<int>(pane)]; }
    bool operator==(const PaneGeometry&) const = default;
};

// The window's measures the layout works from, in twips.
struct LayoutFrame {
    int clientWidth = 0;      // W: width of the area below the menu bar
    int clientHeight = 0;     // H: height of that area (toolbar, panes, status bar)
    int outerWidth = 0;       // OW: frame width, borders included
    int outerHeight = 0;      // OH: frame height, title bar, menu bar and borders included
    int toolbarHeight = 0;    // T: the toolbar's height while it is shown, else 0
    int statusBarHeight = 0;  // S
    int statusBarLeft = 0;
    int firstPanelWidth = 0;  // width of the status bar's first panel
};

// An assignment the window system would reject (a negative width or height):
// it is not made, the pane keeps its previous size, and later steps go on.
enum class Dimension { Width, Height, Column1Width };
struct SkippedAssignment {
    Pane pane;  // formView or statisticsGrid for Column1Width
    Dimension dimension;
    int rejectedValue;
    bool operator==(const SkippedAssignment&) const = default;
};
using SkippedList = std::vector<SkippedAssignment>;

// Assignments that skip (and record in skipped) a negative size.
void setWidth(PaneGeometry& g, Pane pane, int value, SkippedList& skipped);
void setHeight(PaneGeometry& g, Pane pane, int value, SkippedList& skipped);
// Column 1 of the form view or of the statistics grid.
void setColumn1Width(PaneGeometry& g, Pane pane, int value, SkippedList& skipped);
// The SQL buttons' row below the SQL box: cmdRun 500 below the box's height,
// the others level with it.
void placeSqlButtons(PaneGeometry& g);

constexpr int kSplitterThickness = 60;
// Where the tab-page controls sit inside the tab control, the room the tab
// control keeps around them, and the room the SQL box leaves for its buttons.
constexpr int kPageLeft = 100;
constexpr int kPageTop = 400;
constexpr int kPageHeightAllowance = 480;
constexpr int kPageWidthAllowance = 200;
constexpr int kButtonRowAllowance = 500;
constexpr int kDefaultHbarTop = 2970;
constexpr int kDefaultVbarLeft = 3570;
// Stored splitter positions are held within this many twips of zero so that
// the arithmetic cannot overflow on a hostile settings file.
constexpr int kMaxPosition = 100'000'000;

// The placement made at load, before the first full layout. toolbarTop is T
// (0 when the toolbar is hidden). Stored splitter positions of 0 or less become
// kDefaultHbarTop and kDefaultVbarLeft. formViewColumn0Width and statisticsColumn0Width are
// the fixed first-column widths of the form view and the statistics grid.
PaneGeometry initialPlacement(int toolbarTop, int storedHbarTop, int storedVbarLeft,
                              int formViewColumn0Width, int statisticsColumn0Width);

// The full layout run on every resize. Changes g in place and returns the
// assignments it skipped. Splitter positions are used as they are, unclamped.
SkippedList fullLayout(PaneGeometry& g, const LayoutFrame& frame);

// Shows (shown = true) or hides the toolbar of height toolbarHeight: the sheet,
// the tree, its caption panel and the vertical splitter bars start below it or
// at the top, growing or shrinking by its height; the horizontal splitter and
// the tab control stay. No full layout is run.
SkippedList shiftForToolbar(PaneGeometry& g, bool shown, int toolbarHeight);

// Twips to pixels and back at a logical DPI (96 on most screens: 15 twips per
// pixel), rounded to the nearest whole number.
int twipsToPixels(int twips, double dpi);
int pixelsToTwips(int pixels, double dpi);

// A rectangle in pixels. Its edges are rounded, not its size, so panes that
// touch in twips also touch in pixels.
QRect toPixels(const TwipsRect& r, double dpiX, double dpiY);

}  // namespace ui
