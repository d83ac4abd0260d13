// Every control of the main window's client area, created in their places in
// the widget tree with their object names, and the pictures the sheet uses.
// The window and its controllers share these pointers; Qt's parent chain owns
// the widgets.
#pragma once

#include <QPixmap>

class QFrame;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QWidget;

namespace sheet {
class Grid;
}

namespace ui {

class CaptionPanel;
class ColorPalette;
class MainToolbar;
class StatusPanels;
class TabStrip;

// The buttons of the "SQL" tab page.
struct SqlButtons {
    QPushButton* lock = nullptr;         // cmdLockSQL
    QPushButton* run = nullptr;          // cmdRun
    QPushButton* clear = nullptr;        // cmdClear
    QPushButton* saveQuery = nullptr;    // cmdSaveSQL
    QPushButton* deleteQuery = nullptr;  // cmdDeleteSQL
    QPushButton* unlock = nullptr;       // cmdUnlockSQL
};

// The two splitters, each with the bar that follows the pointer during a drag
// and the bar that stands in for it at a limit.
struct SplitterBars {
    QFrame* horizontal = nullptr;       // HBar
    QFrame* horizontalDrag = nullptr;   // HBar1
    QFrame* horizontalLimit = nullptr;  // HBar2
    QFrame* vertical = nullptr;         // VBar
    QFrame* verticalDrag = nullptr;     // VBar1
    QFrame* verticalLimit = nullptr;    // VBar2
};

struct SheetPictures {
    QPixmap flag;
    QPixmap sortUp;
    QPixmap sortDown;
    QPixmap blank;
};

struct WindowControls {
    // Builds the controls inside `client`, the area below the menu bar; dpi
    // places the colour palette.
    static WindowControls create(QWidget* client, double dpi);

    QWidget* client = nullptr;
    MainToolbar* toolbar = nullptr;
    StatusPanels* statusPanels = nullptr;
    QProgressBar* progressBar = nullptr;
    sheet::Grid* dataSheet = nullptr;
    QTreeWidget* databaseTree = nullptr;
    CaptionPanel* captionPanel = nullptr;
    TabStrip* tabStrip = nullptr;
    sheet::Grid* formView = nullptr;
    sheet::Grid* statisticsGrid = nullptr;
    QTreeWidget* tableTree = nullptr;
    QPlainTextEdit* sqlBox = nullptr;
    SqlButtons sqlButtons;
    SplitterBars splitters;
    ColorPalette* fontPalette = nullptr;
    SheetPictures pictures;

  private:
    void createSheetControls();
    void createTabPages();
    void createSqlButtons();
    void createSplitters();
};

}  // namespace ui
