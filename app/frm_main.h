// frmMain: the program's main window. It owns every control and the window
// state (plain fields), and runs the lifecycle handlers: Form_Load restores
// geometry and options from the settings file and puts the controls into their
// first state; Form_Resize lays the panes out; closing the window in any way
// runs the exit command, which writes the settings back and ends the program.
#pragma once

#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

#include "analysis/statistics_store.h"
#include "app/open_file_dialog.h"
#include "db/data_control.h"
#include "db/progress_bar_feedback.h"
#include "db/sheet_binding.h"
#include "sheet/sheet_update.h"
#include "ui/desktop.h"
#include "ui/pane_layout.h"
#include "ui/splitter_drag.h"

class QFrame;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace app {
class SettingsFile;
}
namespace db {
class QueryDefinitions;
}
namespace sheet {
class Grid;
enum class CellSetting;
}  // namespace sheet
namespace ui {
class CaptionPanel;
class ColorPalette;
class frmAbout;
class Dialogs;
class MainMenus;
class MainToolbar;
class StatusPanels;
class TabStrip;
}  // namespace ui

class ModuleMain;

class frmMain : public QMainWindow, private sheet::SheetUpdateView {
    Q_OBJECT
  public:
    // Initial limits of the splitters, in twips.
    static constexpr int kVBarLeftLimit = 500;
    static constexpr int kVBarRightMargin = 600;
    static constexpr int kHBarUpperLimit = 600;
    static constexpr int kHBarBottomMargin = 1000;
    static constexpr unsigned kAlternateColor = 0xC0FFC0;  // light green

    frmMain(ModuleMain& module, app::SettingsFile& settings, ui::Dialogs& dialogs,
            ui::Desktop& desktop, QWidget* parent = nullptr);
    ~frmMain() override;

    // Lifecycle.
    void Form_Load();
    void Form_Resize();
    void Form_Unload();
    void mnuExit_Click();
    void SetDefaults();

    // The sheet update: form view, style buttons, status panel 5 and the
    // statistics display follow the sheet's current cell.
    void SheetUpdate();
    // Mouse modes, drag mode, the grid pop-up menu and the "Rows" and "Cols"
    // boxes (frm_main_modes.cpp). Mouse mode 0 (row and find) or 1 (block and
    // edit); other values do nothing.
    void SetMouseMode(int index);
    void mnuMouseMode_Click(int index) { SetMouseMode(index); }
    void mnuDragDrop_Click();
    // Drag mode on or off, with the menu check, the button and panel 4.
    void SetDragMode(bool on);
    void fa_MouseUp(Qt::MouseButton button, const QPoint& globalPos);
    void txtRow_Enter();
    void UpDownRow_DownClick();
    void UpDownRow_UpClick();
    void txtCol_Enter();
    void UpDownCol_DownClick();
    void UpDownCol_UpClick();

    // Toolbar (frm_main_toolbar.cpp): runs the command of the clicked
    // button's key; an unknown key does nothing.
    void Toolbar_ButtonClick(const QString& key);

    // Database browser (frm_main_browser.cpp). The database opener: opens the
    // file, fills TreeView1 and shows the first table or query. False when the
    // file could not be opened even with a password (the message was shown
    // and nothing changed); true when it is now the open database.
    bool OpenDatabase(const QString& path);
    // Closes the open database; Data1 lets go of it too.
    void CloseDatabase();
    void ResultLoader();
    void AnalysisReset();
    void TreeView1_NodeClick(QTreeWidgetItem* node);
    void TreeView1_DblClick();
    void mnuRefresh_Click();
    void mnuNew_Click();

    // Files (frm_main_files.cpp): the open command, opening one named file
    // (after the dialog, a drop or the command line), the file-sheet set-up
    // and Save As.
    void mnuOpen_Click();
    void OpenFile(const QString& fileName);
    void FileSheetSetUp();
    void mnuSaveAs_Click();

    // Data sheet commands (frm_main_sheet_commands.cpp): flags, sort markers,
    // keeping the flag column's place and width.
    void fa_DblClick();
    void mnuPUSetFlag_Click();
    void mnuAddFlagCol_Click();
    void fa_BeforeSort(int col, int order);
    void fa_AfterSort(int col, int order);
    void fa_AfterMoveColumn(int col, int position);
    void fa_AfterUserResize(int row, int col);

    // Editing (frm_main_edit.cpp). Cut, Copy and Paste of the Edit menu act
    // on the last-focused pane; their pop-up twins on the data sheet.
    void mnuEditCopy_Click();
    void mnuEditCut_Click();
    void mnuEditPaste_Click();
    void mnuPUCopy_Click();
    void mnuPUPaste_Click();
    void mnuSelectAll_Click();
    void mnuInsertRow_Click();
    void mnuInsertCol_Click();
    void mnuDeleteRow_Click();
    void mnuDeleteCol_Click();
    void mnuEditColTitle_Click();
    void mnuSetColHeaderRow_Click();
    void mnuPUEditCell_Click();

    // Formatting and the font colour palette (frm_main_format.cpp). The style
    // and colour commands act on the style range, which follows the mouse
    // mode shown by the "BlockMode" button.
    void mnuBold_Click();
    void mnuItalic_Click();
    void mnuUnderline_Click();
    void mnuFontColor_Click();     // "A": the current font colour again
    void mnuSetFontColor_Click();  // "Acolor": drops the palette down
    void SSPanelColor_Click(int index);
    void PanColor_Click();
    void SetColumnFormat(const QString& format);
    void mnuAlternateColor_Click();
    // Alternate row colour on or off, with the menu check and the button.
    void SetAlternateColor(bool on);
    void mnuMerge_Click();

    // SQL box (frm_main_sql.cpp). The SQL text: the box's contents with every
    // line break as CR LF.
    QString SqlText() const;
    void setSqlText(const QString& text);
    void cmdRun_Click();
    void cmdClear_Click();
    void cmdLockSQL_Click();
    void cmdUnlockSQL_Click();

    // Saved queries (frm_main_queries.cpp): Save As New Query and Delete.
    void cmdSaveSQL_Click();
    void cmdDeleteSQL_Click();

    // Column statistics and the instant bar chart (frm_main_statistics.cpp).
    void mnuAnalysis_Click();
    void mnuStatistics_Click() { mnuAnalysis_Click(); }  // the toolbar's name
    void mnuBarChart_Click();
    // Shows the figures of sheet column `col` in fs.
    void StatisticsDisplay(int col);
    // After rows or columns were inserted or deleted: the command is offered
    // again while fs keeps the figures of the last run.
    void AnalysisResetOnShapeChange();
    const analysis::StatisticsStore& statisticsStore() const { return statistics_; }

    // View toggles, tab clicks and the Help menu (frm_main_view.cpp).
    void mnuToolbar_Click();
    void mnuSQLtab_Click();
    void mnuGrid_Click();
    void mnuFieldsTree_Click();
    void TabStrip1_Click();
    // The tip window: modal from the menu (the call returns when it closes),
    // non-modal at start-up.
    void ShowTips(bool modal);
    void mnuTip_Click() { ShowTips(true); }
    void mnuWeb_Click();
    void mnuDisclaimer_Click();
    void mnuAbout_Click();
    // The disclaimer file beside the program.
    QString disclaimerPath() const;

    // Converts between twips and this screen's pixels.
    int toPixelsX(int twips) const;
    int toPixelsY(int twips) const;
    int toTwipsX(int pixels) const;
    int toTwipsY(int pixels) const;

    // Controls.
    QWidget* client = nullptr;  // the area below the menu bar
    ui::MainMenus* menus = nullptr;
    ui::MainToolbar* Toolbar = nullptr;
    ui::StatusPanels* SBar = nullptr;
    QProgressBar* Progress = nullptr;
    sheet::Grid* fa = nullptr;
    sheet::Grid* fb = nullptr;
    sheet::Grid* fs = nullptr;
    QTreeWidget* TreeView1 = nullptr;
    QTreeWidget* Tree2 = nullptr;
    ui::CaptionPanel* VTPan = nullptr;
    ui::TabStrip* TabStrip1 = nullptr;
    QPlainTextEdit* txtSQL = nullptr;
    QPushButton* cmdLockSQL = nullptr;
    QPushButton* cmdRun = nullptr;
    QPushButton* cmdClear = nullptr;
    QPushButton* cmdSaveSQL = nullptr;
    QPushButton* cmdDeleteSQL = nullptr;
    QPushButton* cmdUnlockSQL = nullptr;
    QFrame* HBar = nullptr;
    QFrame* HBar1 = nullptr;
    QFrame* HBar2 = nullptr;
    QFrame* VBar = nullptr;
    QFrame* VBar1 = nullptr;
    QFrame* VBar2 = nullptr;
    ui::ColorPalette* PanColor = nullptr;
    QPixmap ImgFlag[4];
    QPixmap ImgU, ImgD, ImgUp, ImgDown, ImgNone;

    // Window state.
    int vbarLeftLimit = 0;
    int vbarRightMargin = 0;
    int hbarUpperLimit = 0;
    int hbarBottomMargin = 0;
    bool toolbarShown = false;
    bool sqlTabShown = false;
    bool alternateColorOn = false;
    bool fieldsSubtree = false;
    QString lastOpenPath;
    sheet::SheetState sheetState;
    ui::PaneGeometry panes;  // every pane's place, in twips
    const ui::SplitterDragState& splitterDrag() const { return splitterDrag_; }
    unsigned char openFileType = 0;
    int currentColor = 0;

    // Database browser and SQL box state.
    db::DataControl Data1;
    std::shared_ptr<db::Database> openDb;  // the open database, or none
    QTreeWidgetItem* currentNode = nullptr;
    QString currentQueryName;
    bool sqlUnlocked = false;
    int insertionPoint = 0;  // character index into the SQL text

    // A file named on the command line, opened once the window is up.
    QString startupFile;
    // The file dialog shared by Open and Save As.
    app::OpenFileDialog CommonDialog1;

    // Whether the exit command has run: the window is ending.
    bool ending() const { return ending_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // SheetUpdateView
    void showStyleButton(const QString& key, bool pressed) override;
    void showPosition(const QString& text) override;
    void showColumnStatistics(int col) override;

    void createControls();
    void createSheetControls();
    void createTabPages();
    void createSqlButtons();
    void createSplitters();
    void createPictures();
    void connectHandlers();
    void connectSheetHandlers();
    void keepMenuShortcutsInSqlBox();
    void resetPointerOver(std::initializer_list<QWidget*> widgets);

    void restoreGeometry();
    void restoreOptions();
    void applyToolbarShown();
    void applyAlternateColor();
    void placeInitialPanes();
    void applyPanes();
    void correctFrameOnce();
    ui::LayoutFrame layoutFrame() const;
    double dpiX() const;
    double dpiY() const;
    void writeSettings();

    bool splitterMouse(QObject* watched, QEvent* event);
    void showSplitterDrag();

    void connectStatisticsHandlers();
    void statisticsGridSetUp();
    void fs_GotFocus();
    void connectBrowserHandlers();
    void connectSqlHandlers();
    void connectQueryHandlers();
    jet::Status writeQuery(const std::function<jet::Status(db::QueryDefinitions&)>& change);
    void connectFileHandlers();
    void connectSheetCommandHandlers();
    void connectFormatHandlers();
    void connectEditHandlers();
    void afterShapeChange();
    void connectViewHandlers();
    void connectModeHandlers();
    void connectToolbarHandlers();
    // Applies a size box's text; false when it was refused (the box then
    // shows the sheet's count again).
    bool applyRowsBox();
    bool applyColsBox();
    void centreOnScreen(QWidget* window) const;
    bool blockModeOn() const;
    void toggleStyle(sheet::CellSetting style, const QString& key);
    bool loadSheetFile(const QString& fileName, int kind);
    void switchFileMode(bool database);
    void removeFlagColumnForSave();
    void showFirstObject(QTreeWidgetItem* first);
    void showLoaded(const db::RecordsetSink::Outcome& outcome);
    db::RecordsetSink::Outcome showQuery(const QString& name);
    void showClickedResult(const db::RecordsetSink::Outcome& outcome);
    void reportRecordSourceError(const jet::Status& status);
    void TreeView1_GotFocus();
    void txtSQL_Click();
    void txtSQL_GotFocus();
    void txtSQL_KeyDown();

    void fa_Click();
    void fa_KeyDown(int key);
    void fa_GotFocus();
    void fb_GotFocus();

    ModuleMain& module_;
    app::SettingsFile& settings_;
    ui::Dialogs& dialogs_;
    ui::Desktop& desktop_;
    sheet::SheetUpdate* sheetUpdate_ = nullptr;
    std::unique_ptr<db::ProgressBarFeedback> loadProgress_;
    std::unique_ptr<db::SheetBinding> binding_;
    ui::SplitterDragState splitterDrag_;
    QSize pendingOuterSize_;
    bool frameCorrected_ = false;
    bool ending_ = false;
    bool loaded_ = false;
    analysis::StatisticsStore statistics_;
    bool statisticsRunning_ = false;
    QPointer<ui::frmAbout> about_;
};
