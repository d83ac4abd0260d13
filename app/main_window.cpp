#include "app/main_window.h"

#include <QItemSelectionModel>

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>

#include "analysis/statistics_controller.h"
#include "app/cell_viewing.h"
#include "app/database_browser.h"
#include "app/pane_focus.h"
#include "app/recent_files_menu.h"
#include "app/sheet_editing.h"
#include "app/sheet_files.h"
#include "app/sheet_formatting.h"
#include "app/sheet_modes.h"
#include "app/sheet_search.h"
#include "app/sheet_undo.h"
#include "app/startup.h"
#include "db/progress_bar_feedback.h"
#include "sheet/flag_column_controller.h"
#include "sheet/grid.h"
#include "sheet/sort_markers.h"
#include "sql/sql_workbench.h"
#include "ui/caption_panel.h"
#include "ui/color_palette.h"
#include "ui/desktop.h"
#include "ui/dialogs.h"
#include "ui/help_menu.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/maker_info.h"
#include "ui/status_panels.h"
#include "ui/tab_strip.h"
#include "ui/view_layout.h"

namespace app {

namespace {

constexpr int kPositionPanel = 5;
constexpr int kRowsBeforeStatistics = 3;
const char* const kCrLf = "\r\n";

}  // namespace

MainWindow::MainWindow(Startup& module, SettingsFile& settings, ui::Dialogs& dialogs,
                       ui::Desktop& desktop, QWidget* parent)
    : QMainWindow(parent),
      module_(module),
      settings_(settings),
      dialogs_(dialogs),
      desktop_(desktop) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Tablescope"));
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setMouseTracking(true);
    setCentralWidget(client);
    menus_ = new ui::MainMenus(menuBar(), this);
    actions_ = ui::MenuActions::from(*menus_);
    controls_ = ui::WindowControls::create(client, desktop_.logicalDpi());
    sheetUpdate_ = std::make_unique<sheet::SheetUpdate>(
        *controls_.dataSheet, *controls_.formView, sheetState_,
        static_cast<sheet::SheetUpdateView&>(*this), controls_.pictures.blank);
    createControllers();
    connectControllers();
}

MainWindow::~MainWindow() {
    // The controls outlive the controllers while the window is taken down:
    // a current-cell change then must not reach the sheet update.
    disconnect(controls_.dataSheet->selectionModel(), nullptr, this, nullptr);
}

void MainWindow::createControllers() {
    const ui::WindowControls& c = controls_;
    loadProgress_ = std::make_unique<db::ProgressBarFeedback>(c.progressBar);
    viewLayout_ = new ui::ViewLayout(*this, c, actions_, desktop_);
    sqlWorkbench_ = new sql::SqlWorkbench(c, dialogs_, desktop_, this);
    browser_ =
        new DatabaseBrowser(c, actions_, *sqlWorkbench_, *loadProgress_, dialogs_, desktop_, this);
    sqlWorkbench_->setBrowser(browser_);
    flags_ = new sheet::FlagColumnController(*c.dataSheet, *c.formView, sheetState_,
                                             *actions_.addFlagColumn, *c.toolbar->buttons().flag,
                                             c.pictures.blank, this);
    statistics_ = new analysis::StatisticsController(c, actions_, sheetState_, desktop_, this);
    files_ = new SheetFiles(c, actions_, *browser_, *flags_, sheetState_, module_.fileSystem(),
                            *loadProgress_, dialogs_, desktop_, this);
    modes_ = new SheetModes(c, *menus_, actions_, *flags_, sheetState_, dialogs_, this);
    undo_ = new SheetUndo(c, actions_, sheetState_, this);
    editing_ = new SheetEditing(c, actions_, sheetState_, *sqlWorkbench_, *browser_, *statistics_,
                                *flags_, undo_->history(), dialogs_, this);
    formatting_ = new SheetFormatting(c, actions_, sheetState_, undo_->history(), this);
    search_ = new SheetSearch(*c.dataSheet, actions_, this);
    paneFocus_ = new PaneFocus(c, actions_, this);
    recentFiles_ = new RecentFilesMenu(actions_, *files_, module_.fileSystem(), dialogs_, this);
    cellViewing_ =
        new CellViewing(*this, c, actions_, *files_, module_.fileSystem(), dialogs_, this);
    help_ = new ui::HelpMenu(*this, actions_, desktop_, module_.showTipsAtStartup,
                             module_.programFolder());
}

void MainWindow::connectControllers() {
    connect(actions_.exit, &QAction::triggered, this, &MainWindow::exitProgram);
    connectFileMenu();
    connectSheet();
    connectFocus();
    connectUndo();
    connect(browser_, &DatabaseBrowser::resultLoaded, this, &MainWindow::onResultLoaded);
    connect(flags_, &sheet::FlagColumnController::columnsChanged, modes_,
            &SheetModes::showColumnCount);
    connect(flags_, &sheet::FlagColumnController::flagsChanged, this, &MainWindow::runSheetUpdate);
    connect(modes_, &SheetModes::sheetResized, this, &MainWindow::runSheetUpdate);
    connect(editing_, &SheetEditing::shapeChanged, this, &MainWindow::afterShapeChange);
    connect(search_, &SheetSearch::filterChanged, this, &MainWindow::runSheetUpdate);
    connect(editing_, &SheetEditing::headerRowSet, this, [this] {
        search_->reset();
        modes_->showSheetSize();
        runSheetUpdate();
        // One data row fewer: the last figures no longer describe the sheet.
        statistics_->resetOnShapeChange();
    });
    connect(statistics_, &analysis::StatisticsController::stopped, this, [this] {
        dialogs_.messageBox(QStringLiteral("Statistics stopped: no column figures were kept."),
                            QString::fromLatin1(ui::kProductName), ui::Dialogs::Icon::Information,
                            ui::Dialogs::Buttons::Ok);
    });
    connect(controls_.captionPanel, &ui::CaptionPanel::webClicked, help_,
            &ui::HelpMenu::openWebSite);
    createToolbarCommands();
    keepMenuShortcutsInSqlBox();
    const ui::WindowControls& c = controls_;
    resetPointerOver({c.client, c.captionPanel, c.tabStrip, c.sqlBox->viewport(),
                      c.databaseTree->viewport(), c.fontPalette});
    for (int i = 0; i < ui::ColorPalette::kSwatchCount; ++i) {
        resetPointerOver({c.fontPalette->swatch(i)});
    }
}

void MainWindow::connectFileMenu() {
    setAcceptDrops(true);
    connect(actions_.newSheet, &QAction::triggered, this, &MainWindow::onNewSheet);
    connect(actions_.refresh, &QAction::triggered, this, [this] {
        if (files_->openFileType() == OpenFileType::Database) {
            browser_->refresh();
        }
    });
    connect(files_, &SheetFiles::opened, this, &MainWindow::onFileOpened);
    connect(files_, &SheetFiles::alternateColorLoaded, formatting_,
            &SheetFormatting::showAlternateColor);
    connect(files_, &SheetFiles::fileSheetReady, this, &MainWindow::runSheetUpdate);
}

void MainWindow::connectSheet() {
    sheet::Grid* sheet = controls_.dataSheet;
    // Every change of the current cell (a click, any key, Find, a command
    // that moves it) and every sort, which brings another row under it, runs
    // the sheet update, so the form view and the position never go stale.
    connect(sheet, &sheet::Grid::clickedCell, this, &MainWindow::runSheetUpdate);
    // The first current cell a load or a reset sets is left to the command
    // that filled the sheet, which runs the update once it is done.
    connect(sheet->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex&, const QModelIndex& previous) {
                if (previous.isValid()) {
                    runSheetUpdate();
                }
            });
    connect(sheet, &sheet::Grid::afterSort, this, &MainWindow::runSheetUpdate);
    for (sheet::Grid* grid : {controls_.dataSheet, controls_.formView}) {
        connect(grid, &sheet::Grid::mouseMoved, this,
                [this] { desktop_.setPointer(ui::Desktop::Pointer::Default); });
    }
    const auto markers = [this] {
        const ui::SheetPictures& p = controls_.pictures;
        return sheet::SortMarkers(*controls_.dataSheet, sheetState_, p.sortUp, p.sortDown, p.blank);
    };
    connect(sheet, &sheet::Grid::beforeSort, this, [markers](int, int) { markers().beforeSort(); });
    connect(sheet, &sheet::Grid::afterSort, this,
            [markers](int col, int order) { markers().afterSort(col, order); });
    connect(sheet, &sheet::Grid::afterMoveColumn, this, [this, markers](int col, int position) {
        markers().afterMove(col, position);
        flags_->afterColumnMoved();
    });
    connect(actions_.popupSetFlag, &QAction::triggered, flags_,
            &sheet::FlagColumnController::toggleSelectedRows);
    connect(actions_.addFlagColumn, &QAction::triggered, flags_,
            &sheet::FlagColumnController::addByHand);
}

// The pane that last had the focus decides what Cut, Copy and Paste act on;
// Cut works on the data sheet only.
void MainWindow::connectFocus() {
    using sheet::FocusedPane;
    connect(controls_.dataSheet, &sheet::Grid::gotFocus, this,
            [this] { setFocusedPane(FocusedPane::DataSheet, true); });
    connect(controls_.formView, &sheet::Grid::gotFocus, this,
            [this] { setFocusedPane(FocusedPane::FormView, false); });
    connect(browser_, &DatabaseBrowser::focused, this,
            [this] { setFocusedPane(FocusedPane::DatabaseTree, false); });
    connect(sqlWorkbench_, &sql::SqlWorkbench::focused, this, [this] {
        sheetState_.lastFocusedPane = FocusedPane::SqlBox;
        undo_->showEntries();
    });
    connect(statistics_, &analysis::StatisticsController::focused, this,
            [this] { actions_.cut->setEnabled(false); });
}

void MainWindow::setFocusedPane(sheet::FocusedPane pane, bool cutOffered) {
    sheetState_.lastFocusedPane = pane;
    actions_.cut->setEnabled(cutOffered);
    undo_->showEntries();
}

// Undo keeps the steps by the rows' and columns' places: whatever moves or
// replaces them without a step of its own ends the history.
void MainWindow::connectUndo() {
    connect(undo_, &SheetUndo::applied, this, &MainWindow::afterUndo);
    sheet::Grid* sheet = controls_.dataSheet;
    connect(sheet, &sheet::Grid::beforeSort, undo_, &SheetUndo::clear);
    connect(sheet, &sheet::Grid::afterMoveColumn, undo_, &SheetUndo::clear);
    connect(flags_, &sheet::FlagColumnController::columnsChanged, undo_, &SheetUndo::clear);
    connect(modes_, &SheetModes::sheetResized, undo_, &SheetUndo::clear);
}

void MainWindow::afterUndo(const sheet::EditHistory::Change& change) {
    using Shape = sheet::EditHistory::Shape;
    flags_->followState();
    if (change.shape == Shape::ColumnInserted) {
        statistics_->columnInserted(change.column);
    } else if (change.shape == Shape::ColumnRemoved) {
        statistics_->columnRemoved(change.column);
    }
    if (change.shape == Shape::Cells) {
        sheetState_.titlesBuilt = false;  // a title may be among the cells
        runSheetUpdate();
    } else {
        afterShapeChange();
    }
}

// Each button runs the command of its menu twin; the two-state buttons have
// already flipped when the click arrives, and the commands decide whether
// that look stands. "Save", "Cut" and "Paste" have no command.
void MainWindow::createToolbarCommands() {
    const ui::ToolbarButtons& b = controls_.toolbar->buttons();
    toolbarCommands_ = {
        {b.newSheet, [this] { onNewSheet(); }},
        {b.open, [this] { files_->chooseAndOpen(); }},
        {b.bold, [this] { formatting_->toggleBold(); }},
        {b.italic, [this] { formatting_->toggleItalic(); }},
        {b.underline, [this] { formatting_->toggleUnderline(); }},
        {b.fontColor, [this] { formatting_->applyFontColor(); }},
        {b.fontColorPalette, [this] { formatting_->openPalette(); }},
        // Whatever the Edit menu's Copy is connected to runs, enabled state included.
        {b.copy, [this] { actions_.copy->trigger(); }},
        {b.rowMode,
         [this, &b] {
             modes_->setMouseMode(SheetModes::MouseMode::RowAndFind);
             if (actions_.rowMode->isChecked()) {
                 b.rowMode->setChecked(true);
             }
         }},
        {b.blockMode,
         [this, &b] {
             modes_->setMouseMode(SheetModes::MouseMode::BlockAndEdit);
             if (actions_.blockMode->isChecked()) {
                 b.blockMode->setChecked(true);
             }
         }},
        // The look the click has just given the button decides; the menu follows.
        {b.dragMode, [this, &b] { modes_->setDragMode(b.dragMode->isChecked()); }},
        {b.alternateColor,
         [this, &b] { formatting_->setAlternateColor(b.alternateColor->isChecked()); }},
        {b.merge, [this] { formatting_->toggleMerge(); }},
        {b.flag, [this] { flags_->toggleSelectedRows(); }},
        {b.barChart, [this] { statistics_->toggleBarChart(); }},
        {b.statistics,
         [this, &b] {
             if (statistics_->offered()) {
                 statistics_->run();
                 if (statistics_->offered()) {
                     return;  // stopped: nothing to show
                 }
             }
             // Pressed even when nothing ran: the button says the figures are shown.
             b.statistics->setChecked(true);
         }},
    };
    for (QAction* button : toolbarCommands_.keys()) {
        connect(button, &QAction::triggered, this, [this, button] { runToolbarButton(button); });
    }
}

void MainWindow::runToolbarButton(QAction* button) {
    const auto found = toolbarCommands_.constFind(button);
    if (found != toolbarCommands_.constEnd()) {
        found.value()();
    }
}

void MainWindow::runSheetUpdate() {
    sheetUpdate_->run();
    if (cellViewing_) {
        cellViewing_->follow();
    }
}

void MainWindow::showStyleButton(const QString& key, bool pressed) {
    controls_.toolbar->setPressed(key, pressed);
}

// A filtered sheet adds how many of its rows are shown.
void MainWindow::showPosition(const QString& text) {
    const QString shown = search_ ? search_->shownText() : QString();
    controls_.statusPanels->setPanelText(
        kPositionPanel,
        shown.isEmpty() ? text : QStringLiteral("%1   (%2 shown)").arg(text, shown));
}

void MainWindow::showColumnStatistics(int col) {
    statistics_->display(col);
}

// Every database result (the first table of an opened file, a clicked node,
// a statement run, a refresh) reaches the window the same way: the sheet
// gets its flag column, the form view, status bar and size boxes follow it,
// and the analysis commands start over.
void MainWindow::onResultLoaded(const db::RecordsetSink::Outcome& outcome) {
    undo_->clear();
    search_->reset();
    sheetState_.titlesChanged = true;
    controls_.dataSheet->refresh();
    flags_->addToResult();
    sheetState_.titlesBuilt = false;
    controls_.formView->setRows(controls_.dataSheet->cols() + 1);
    runSheetUpdate();
    statistics_->reset();
    controls_.statisticsGrid->setRows(kRowsBeforeStatistics);
    modes_->showSheetSize();
    desktop_.setPointer(ui::Desktop::Pointer::Default);
    if (outcome.stopped) {
        dialogs_.messageBox(QStringLiteral("Loading stopped: the sheet shows the %L1 rows read "
                                           "until then.")
                                .arg(std::max(0, controls_.dataSheet->rows() - 1)),
                            QString::fromLatin1(ui::kProductName), ui::Dialogs::Icon::Information,
                            ui::Dialogs::Buttons::Ok);
    }
    reportIncomplete(outcome.status);
}

// A result whose rows failed part way stays on the sheet as far as it was
// read; the user is told it is incomplete.
void MainWindow::reportIncomplete(const jet::Status& status) {
    if (status.isOk()) {
        return;
    }
    dialogs_.messageBox(QStringLiteral("The result is incomplete.") + QLatin1String(kCrLf) +
                            QString::fromStdString(status.message()),
                        QStringLiteral("Error"), ui::Dialogs::Icon::Critical,
                        ui::Dialogs::Buttons::Ok);
}

void MainWindow::onFileOpened() {
    undo_->clear();
    search_->reset();
    modes_->showSheetSize();
    statistics_->reset();
    modes_->setMouseMode(SheetModes::MouseMode::RowAndFind);
    actions_.popupSetFlag->setEnabled(true);
}

void MainWindow::onNewSheet() {
    undo_->clear();
    controls_.databaseTree->setVisible(false);
    controls_.captionPanel->setVisible(true);
    sqlWorkbench_->setText(QString());
    controls_.dataSheet->clear();
    search_->reset();
    runSheetUpdate();
    statistics_->reset();
    files_->setUpFileSheet();
}

// The size boxes show the sheet as it now is, and the form view's titles are
// refilled: columns may have shifted under them.
void MainWindow::afterShapeChange() {
    search_->afterShapeChange();
    modes_->showSheetSize();
    sheetState_.titlesBuilt = false;
    runSheetUpdate();
    statistics_->resetOnShapeChange();
}

// The SQL box would take the editing shortcuts for itself; the menu's
// commands run instead, so Cut/Copy/Paste act on the last-focused pane.
// Find and the filter row search the sheet from there too (the box has no
// find of its own); Undo and Redo are left to the box, which keeps its own
// history of the statement's text.
void MainWindow::keepMenuShortcutsInSqlBox() {
    controls_.sqlBox->installEventFilter(this);
}

void MainWindow::resetPointerOver(std::initializer_list<QWidget*> widgets) {
    for (QWidget* w : widgets) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (viewLayout_->handleSplitterMouse(watched, event)) {
        return true;
    }
    if (event->type() == QEvent::MouseMove) {
        desktop_.setPointer(ui::Desktop::Pointer::Default);
        return false;
    }
    // A dock shown or hidden beside the panes resizes the client area alone.
    if (watched == controls_.client && event->type() == QEvent::Resize) {
        layOut();
        return false;
    }
    if (watched == controls_.sqlBox && event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        static const char* const kMenuKeys[] = {
            "Ctrl+C",    "Ctrl+V", "Ctrl+X", "Ctrl+A", "Shift+Ins",    "Ctrl+Ins",
            "Shift+Del", "Ctrl+D", "Ctrl+F", "Ctrl+G", "Ctrl+Shift+G", "Ctrl+Shift+L"};
        for (const char* k : kMenuKeys) {
            if (pressed == QKeySequence(QString::fromLatin1(k))) {
                return true;  // not accepted: the menu's shortcut runs
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!SheetFiles::droppedFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString file = SheetFiles::droppedFile(event->mimeData());
    if (file.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    // Opened once the drop has ended, so the program the file came from is
    // not held up by the messages the open command may show.
    QTimer::singleShot(0, this, [this, file] { files_->openFile(file); });
}

}  // namespace app
