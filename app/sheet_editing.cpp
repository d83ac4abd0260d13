#include "app/sheet_editing.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPlainTextEdit>

#include <algorithm>

#include "analysis/statistics_controller.h"
#include "app/database_browser.h"
#include "sheet/edit_commands.h"
#include "sheet/flag_column_controller.h"
#include "sheet/form_view.h"
#include "sheet/grid.h"
#include "sheet/sheet_update.h"
#include "sql/sql_workbench.h"
#include "ui/dialogs.h"
#include "ui/menu_actions.h"
#include "ui/window_controls.h"

namespace app {

namespace {

// The clipboard is emptied first, so a pane with nothing selected leaves
// nothing stale behind for the next paste.
void putOnClipboard(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    if (!text.isEmpty()) {
        clipboard->setText(text);
    }
}

// A block of a grid: rows separated by line feeds, and offered as
// tab-separated values as well.
void putBlockOnClipboard(const sheet::Grid& grid, bool withTitles = false) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    QMimeData* block = grid.copyData(withTitles);
    if (block->text().isEmpty()) {
        delete block;
        return;
    }
    clipboard->setMimeData(block);
}

QString clipboardText() {
    return QGuiApplication::clipboard()->text();
}

}  // namespace

SheetEditing::SheetEditing(const ui::WindowControls& controls, const ui::MenuActions& menus,
                           sheet::SheetState& state, sql::SqlWorkbench& sqlWorkbench,
                           const DatabaseBrowser& browser,
                           analysis::StatisticsController& statistics,
                           sheet::FlagColumnController& flags, sheet::EditHistory& history,
                           ui::Dialogs& dialogs, QObject* parent)
    : QObject(parent),
      controls_(controls),
      menus_(menus),
      state_(state),
      sqlWorkbench_(sqlWorkbench),
      browser_(browser),
      statistics_(statistics),
      flags_(flags),
      history_(history),
      dialogs_(dialogs) {
    connectActions();
}

void SheetEditing::connectActions() {
    const struct {
        QAction* action;
        void (SheetEditing::*command)();
    } commands[] = {
        {menus_.copy, &SheetEditing::copy},
        {menus_.copyWithTitles, &SheetEditing::copyWithTitles},
        {menus_.cut, &SheetEditing::cut},
        {menus_.popupCut, &SheetEditing::cut},
        {menus_.paste, &SheetEditing::paste},
        {menus_.popupCopy, &SheetEditing::copyFromSheet},
        {menus_.popupPaste, &SheetEditing::pasteIntoSheet},
        {menus_.selectAll, &SheetEditing::selectAll},
        {menus_.insertRow, &SheetEditing::insertRow},
        {menus_.popupInsertRow, &SheetEditing::insertRow},
        {menus_.insertColumn, &SheetEditing::insertColumn},
        {menus_.popupInsertColumn, &SheetEditing::insertColumn},
        {menus_.deleteRows, &SheetEditing::deleteRows},
        {menus_.popupDeleteRows, &SheetEditing::deleteRows},
        {menus_.deleteColumn, &SheetEditing::deleteColumn},
        {menus_.popupDeleteColumn, &SheetEditing::deleteColumn},
        {menus_.columnTitle, &SheetEditing::editColumnTitle},
        {menus_.popupColumnTitle, &SheetEditing::editColumnTitle},
        {menus_.setHeaderRow, &SheetEditing::setHeaderRow},
        {menus_.popupHeaderRow, &SheetEditing::setHeaderRow},
        {menus_.popupEditCell, &SheetEditing::editCell},
    };
    for (const auto& c : commands) {
        connect(c.action, &QAction::triggered, this, c.command);
    }
}

// Every sheet command records what it changes, for Undo.
sheet::EditCommands SheetEditing::commands() const {
    return sheet::EditCommands(*controls_.dataSheet, state_, &history_);
}

void SheetEditing::copy() {
    switch (state_.lastFocusedPane) {
        case sheet::FocusedPane::DataSheet:
            putBlockOnClipboard(*controls_.dataSheet);
            break;
        case sheet::FocusedPane::FormView:
            putBlockOnClipboard(*controls_.formView);
            break;
        case sheet::FocusedPane::SqlBox:
            putOnClipboard(sqlWorkbench_.selectedText());
            break;
        case sheet::FocusedPane::DatabaseTree: {
            // Bracketed and spaced, so a table or field name pastes into SQL
            // ready to use.
            const QString name = browser_.currentNodeName();
            putOnClipboard(name.isNull() ? QString() : QStringLiteral(" [%1] ").arg(name));
            break;
        }
        case sheet::FocusedPane::None:
            QGuiApplication::clipboard()->clear();
            break;
    }
}

// The grids give their blocks under their titles; in the SQL box and the
// tree there are no titles, and the command copies as Copy does.
void SheetEditing::copyWithTitles() {
    switch (state_.lastFocusedPane) {
        case sheet::FocusedPane::DataSheet:
            putBlockOnClipboard(*controls_.dataSheet, true);
            break;
        case sheet::FocusedPane::FormView:
            putBlockOnClipboard(*controls_.formView, true);
            break;
        default:
            copy();
            break;
    }
}

void SheetEditing::copyFromSheet() {
    putBlockOnClipboard(*controls_.dataSheet);
}

void SheetEditing::cut() {
    if (state_.lastFocusedPane != sheet::FocusedPane::DataSheet) {
        return;
    }
    putBlockOnClipboard(*controls_.dataSheet);
    commands().cut();
}

void SheetEditing::paste() {
    const QString text = clipboardText();
    if (text.isEmpty()) {
        return;  // a clipboard without text pastes nothing
    }
    if (state_.lastFocusedPane == sheet::FocusedPane::DataSheet) {
        commands().paste(text);
    } else if (state_.lastFocusedPane == sheet::FocusedPane::SqlBox) {
        sqlWorkbench_.setText(text);
    }
}

void SheetEditing::pasteIntoSheet() {
    commands().paste(clipboardText());
}

// Typed in the SQL box, Select All takes its text and the commands that only
// make sense on the sheet do nothing, rather than change a sheet the user is
// not looking at.
bool SheetEditing::sqlBoxActive() const {
    return state_.lastFocusedPane == sheet::FocusedPane::SqlBox;
}

void SheetEditing::selectAll() {
    if (sqlBoxActive()) {
        controls_.sqlBox->selectAll();
        return;
    }
    commands().selectAll();
}

void SheetEditing::insertRow() {
    if (sqlBoxActive()) {
        return;
    }
    if (commands().insertRow()) {
        emit shapeChanged();
    }
}

void SheetEditing::insertColumn() {
    if (sqlBoxActive()) {
        return;
    }
    const int at = std::max(controls_.dataSheet->col(), 0);
    if (commands().insertColumn()) {
        statistics_.columnInserted(at);
        emit shapeChanged();
    }
}

void SheetEditing::deleteRows() {
    if (sqlBoxActive()) {
        return;
    }
    if (commands().deleteRows() > 0) {
        emit shapeChanged();
    }
}

void SheetEditing::deleteColumn() {
    if (sqlBoxActive()) {
        return;
    }
    const int at = controls_.dataSheet->col();
    const auto deleted = commands().deleteColumn();
    if (deleted == sheet::EditCommands::ColumnDeleted::None) {
        return;
    }
    statistics_.columnRemoved(at);
    if (deleted == sheet::EditCommands::ColumnDeleted::Flag) {
        flags_.deletedByUser();  // as Save As leaves it: the user may add one again
    }
    emit shapeChanged();
}

void SheetEditing::editColumnTitle() {
    sheet::Grid& sheet = *controls_.dataSheet;
    if (sheet.cols() <= 0) {
        return;
    }
    const QString title =
        dialogs_.inputBox(QStringLiteral("Enter New Column Title (Header):"),
                          QStringLiteral("Column Title"), sheet.textMatrix(0, sheet.col()));
    if (commands().setColumnTitle(title)) {
        sheet::FormView::fillTitles(*controls_.formView, sheet);
    }
}

void SheetEditing::setHeaderRow() {
    if (!commands().setHeaderRow()) {
        return;
    }
    sheet::FormView::fillTitles(*controls_.formView, *controls_.dataSheet);
    state_.titlesBuilt = true;
    emit headerRowSet();
}

void SheetEditing::editCell() {
    controls_.dataSheet->editCell();
}

}  // namespace app
