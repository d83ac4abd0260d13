// MainWindow: loading the window, laying it out on resizes, and the exit
// command. Closing the window in any way goes through the exit command, which
// writes the thirteen settings keys in order and ends the program.
#include <QAction>
#include <QCloseEvent>
#include <QLineEdit>
#include <QResizeEvent>
#include <QShowEvent>
#include <QTimer>

#include "app/main_window.h"
#include "app/query_history_settings.h"
#include "app/recent_files_menu.h"
#include "app/settings_file.h"
#include "app/sheet_files.h"
#include "app/sheet_formatting.h"
#include "app/sheet_modes.h"
#include "app/startup.h"
#include "app/window_placement.h"
#include "sheet/form_view.h"
#include "sheet/grid.h"
#include "sql/sql_workbench.h"
#include "ui/desktop.h"
#include "ui/main_toolbar.h"
#include "ui/maker_info.h"
#include "ui/size_boxes.h"
#include "ui/status_panels.h"
#include "ui/tab_strip.h"
#include "ui/view_layout.h"

namespace app {

namespace {

constexpr int kSheetRows = 50;
constexpr int kSheetCols = 9;
constexpr int kColumnWidth = 1500;
constexpr int kFirstColumnWidth = 410;
constexpr int kMergeRestrictAll = 3;
constexpr int kResizeBoth = 3;
constexpr int kAutoSearchOff = 0;
// The size boxes' first texts.
constexpr int kRowsBoxStart = 50;
constexpr int kColsBoxStart = 10;

void readBoolean(SettingsFile& settings, const char* key, bool& field) {
    if (const auto value = settingsBoolean(
            settings.readValue(QStringLiteral("OPTION"), QString::fromLatin1(key)))) {
        field = *value;
    }
}

}  // namespace

int MainWindow::storedNumber(const char* section, const char* key) const {
    return settingsWholeNumber(
        settings_.readValue(QString::fromLatin1(section), QString::fromLatin1(key)));
}

void MainWindow::load() {
    controls_.statusPanels->setPanelText(
        1, QStringLiteral("%1 %2").arg(QString::fromLatin1(ui::kProductName),
                                       QString::fromLatin1(ui::kProductVersion)));
    restoreGeometry();
    restoreOptions();
    viewLayout_->placeInitialPanes(storedNumber("WINDOWS", "HBAR_TOP"),
                                   storedNumber("WINDOWS", "VBAR_LEFT"));
    viewLayout_->applyToolbarShown();
    formatting_->setAlternateColor(sheetState_.alternateColorOn);
    ui::TabStrip* tabs = controls_.tabStrip;
    actions_.sqlTab->setVisible(false);
    tabs->setTabVisible(ui::TabStrip::Sql, false);
    tabs->setTabVisible(ui::TabStrip::Table, false);
    tabs->hide();
    tabs->show();
    setSheetDefaults();
    sheetState_.flagPicture = controls_.pictures.flag;
    sheet::FormView::setUp(*controls_.formView, *controls_.dataSheet,
                           viewLayout_->panes()[ui::Pane::formView].width, sheetState_.flagColumn);
    tabs->setTabVisible(ui::TabStrip::ColumnStatistics, false);
    modes_->setDragMode(false);
    modes_->setMouseMode(SheetModes::MouseMode::RowAndFind);
    controls_.dataSheet->setMergeCells(kMergeRestrictAll);
    controls_.toolbar->buttons().flag->setVisible(false);
    controls_.toolbar->buttons().barChart->setVisible(false);
    actions_.barChart->setEnabled(false);
    controls_.toolbar->sizeBoxes()->rowsBox->setText(QString::number(kRowsBoxStart));
    controls_.toolbar->sizeBoxes()->colsBox->setText(QString::number(kColsBoxStart));
    loaded_ = true;
    layOut();
    // A file named on the command line opens once the window is up.
    if (!startupFile_.isEmpty()) {
        QTimer::singleShot(0, this, [this] { files_->openFile(startupFile_); });
    }
}

// TOP, LEFT, WIDTH and HEIGHT are the frame's, in twips.
void MainWindow::restoreGeometry() {
    const ui::ViewLayout& v = *viewLayout_;
    const QRect stored(v.toPixelsX(storedNumber("WINDOWS", "LEFT")),
                       v.toPixelsY(storedNumber("WINDOWS", "TOP")),
                       v.toPixelsX(storedNumber("WINDOWS", "WIDTH")),
                       v.toPixelsY(storedNumber("WINDOWS", "HEIGHT")));
    const QRect frame = WindowPlacement::choose(stored, desktop_.screens());
    move(frame.topLeft());
    pendingOuterSize_ = frame.size();
    const QSize margins = frameGeometry().size() - geometry().size();
    resize(frame.size() - margins);
    frameCorrected_ = margins.width() > 0 || margins.height() > 0;
}

void MainWindow::restoreOptions() {
    ui::ViewOptions& view = viewLayout_->options();
    readBoolean(settings_, "TOOLBAR", view.toolbarShown);
    readBoolean(settings_, "SQLTAB", view.sqlTabShown);
    readBoolean(settings_, "ALTERNATECOLOR", sheetState_.alternateColorOn);
    readBoolean(settings_, "FIELDSSUBTREE", view.fieldsSubtree);
    bool hiddenQueries = false;
    readBoolean(settings_, "HIDDENQUERIES", hiddenQueries);
    actions_.hiddenQueries->setChecked(hiddenQueries);
    readBoolean(settings_, "FIRSTLINETITLES", files_->firstLineTitles());
    files_->lastOpenPath() =
        settings_.readValue(QStringLiteral("OPTION"), QStringLiteral("LASTOPENPATH"));
    recentFiles_->list().read(settings_);
    recentFiles_->show();
    QueryHistorySettings::read(settings_, sqlWorkbench_->history());
}

void MainWindow::setSheetDefaults() {
    sheet::Grid& sheet = *controls_.dataSheet;
    sheet.setFixedRows(1);
    sheet.setRows(kSheetRows);
    sheet.setCols(kSheetCols);
    for (int c = 0; c < sheet.cols(); ++c) {
        sheet.setColWidth(c, kColumnWidth);
    }
    sheet.setFixedCols(0);
    sheet.setUserResizing(kResizeBoth);
    sheet.setColAlignment(-1, sheet::Grid::kGeneralAlignment);
    sheet.setGridLines(1);
    sheet.setAutoSearch(kAutoSearchOff);
    sheet.setColWidth(0, kFirstColumnWidth);
}

void MainWindow::layOut() {
    if (loaded_) {
        viewLayout_->layOut();
    }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    correctFrameOnce();
    layOut();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    correctFrameOnce();
}

// The stored size is the frame's. Before the window is shown the frame's
// margins are unknown, so the first time they are, the inner size is corrected
// once; otherwise every run would grow the window by its frame.
void MainWindow::correctFrameOnce() {
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

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    exitProgram();
}

void MainWindow::exitProgram() {
    if (ending_) {
        return;
    }
    ending_ = true;
    writeSettings();
    desktop_.endProgram();
}

// A write that fails is skipped; the remaining keys are still attempted.
void MainWindow::writeSettings() {
    const QRect frame = frameGeometry();
    const ui::ViewLayout& v = *viewLayout_;
    const ui::ViewOptions& view = viewLayout_->options();
    const auto number = [](int value) { return settingsNumberText(value); };
    const auto boolean = [](bool value) { return settingsBooleanText(value); };
    const std::pair<const char*, QString> windows[] = {
        {"TOP", number(v.toTwipsY(frame.top()))},
        {"LEFT", number(v.toTwipsX(frame.left()))},
        {"WIDTH", number(v.toTwipsX(frame.width()))},
        {"HEIGHT", number(v.toTwipsY(frame.height()))},
        {"HBAR_TOP", number(viewLayout_->panes()[ui::Pane::horizontalSplitter].top)},
        {"VBAR_LEFT", number(viewLayout_->panes()[ui::Pane::verticalSplitter].left)},
    };
    for (const auto& [key, value] : windows) {
        (void)settings_.writeValue(QStringLiteral("WINDOWS"), QString::fromLatin1(key), value);
    }
    const std::pair<const char*, QString> options[] = {
        {"TOOLBAR", boolean(view.toolbarShown)},
        {"SQLTAB", boolean(view.sqlTabShown)},
        {"TABLETAB", boolean(false)},
        {"ALTERNATECOLOR", boolean(sheetState_.alternateColorOn)},
        {"FIELDSSUBTREE", boolean(view.fieldsSubtree)},
        {"HIDDENQUERIES", boolean(actions_.hiddenQueries->isChecked())},
        {"FIRSTLINETITLES", boolean(files_->firstLineTitles())},
        {"SHOWTIP", boolean(module_.showTipsAtStartup)},
        {"LASTOPENPATH", files_->lastOpenPath().trimmed()},
    };
    for (const auto& [key, value] : options) {
        (void)settings_.writeValue(QStringLiteral("OPTION"), QString::fromLatin1(key), value);
    }
    recentFiles_->list().write(settings_);
    (void)QueryHistorySettings::write(settings_, sqlWorkbench_->history());
}

}  // namespace app
