#include "app/sheet_undo.h"

#include <QAction>
#include <QKeySequence>
#include <QPlainTextEdit>

#include <algorithm>

#include "sheet/grid.h"
#include "sheet/grid_model.h"
#include "sheet/sheet_update.h"
#include "ui/menu_actions.h"
#include "ui/window_controls.h"

namespace app {

SheetUndo::SheetUndo(const ui::WindowControls& controls, const ui::MenuActions& menus,
                     sheet::SheetState& state, QObject* parent)
    : QObject(parent), controls_(controls), menus_(menus), state_(state) {
    // Both the Windows key and the one other desktops use.
    menus_.redo->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
    connect(menus_.undo, &QAction::triggered, this, &SheetUndo::undo);
    connect(menus_.redo, &QAction::triggered, this, &SheetUndo::redo);
    history_.setChangeHandler([this] { showEntries(); });
    sheet::Grid* sheet = controls_.dataSheet;
    // A cell typed into is one step of its own.
    connect(sheet, &sheet::Grid::beforeEdit, this, [this, sheet](int row, int col) {
        history_.beforeCells(*sheet->gridModel(), state_, QStringLiteral("Typing"), row, col, row,
                             col);
    });
    connect(sheet, &sheet::Grid::afterEdit, this,
            [this, sheet] { history_.after(*sheet->gridModel(), state_); });
    QPlainTextEdit* box = controls_.sqlBox;
    connect(box, &QPlainTextEdit::undoAvailable, this, &SheetUndo::showEntries);
    connect(box, &QPlainTextEdit::redoAvailable, this, &SheetUndo::showEntries);
    showEntries();
}

bool SheetUndo::sqlBoxActive() const {
    return state_.lastFocusedPane == sheet::FocusedPane::SqlBox;
}

void SheetUndo::showEntries() {
    if (sqlBoxActive()) {
        QTextDocument* text = controls_.sqlBox->document();
        menus_.undo->setText(QStringLiteral("&Undo"));
        menus_.redo->setText(QStringLiteral("&Redo"));
        menus_.undo->setEnabled(text->isUndoAvailable());
        menus_.redo->setEnabled(text->isRedoAvailable());
        return;
    }
    const QString undoLabel = history_.undoLabel(), redoLabel = history_.redoLabel();
    menus_.undo->setText(undoLabel.isEmpty() ? QStringLiteral("&Undo")
                                             : QStringLiteral("&Undo %1").arg(undoLabel));
    menus_.redo->setText(redoLabel.isEmpty() ? QStringLiteral("&Redo")
                                             : QStringLiteral("&Redo %1").arg(redoLabel));
    menus_.undo->setEnabled(history_.canUndo());
    menus_.redo->setEnabled(history_.canRedo());
}

void SheetUndo::undo() {
    if (sqlBoxActive()) {
        controls_.sqlBox->undo();
        return;
    }
    sheet::Grid& sheet = *controls_.dataSheet;
    if (const auto change = history_.undo(*sheet.gridModel(), state_)) {
        select(*change);
        emit applied(*change);
    }
}

void SheetUndo::redo() {
    if (sqlBoxActive()) {
        controls_.sqlBox->redo();
        return;
    }
    sheet::Grid& sheet = *controls_.dataSheet;
    if (const auto change = history_.redo(*sheet.gridModel(), state_)) {
        select(*change);
        emit applied(*change);
    }
}

void SheetUndo::clear() {
    history_.clear();
}

// The cells the step put back are selected and brought into view, so the
// user sees what changed; a title row alone leaves the selection be.
void SheetUndo::select(const sheet::EditHistory::Change& change) {
    sheet::Grid& sheet = *controls_.dataSheet;
    const int first = sheet.fixedRows();
    if (change.row2 < first) {
        return;
    }
    const int row1 = std::max(change.row1, first);
    const int row2 = std::min(std::max(change.row2, row1), sheet.rows() - 1);
    const int col1 = std::clamp(change.col1, 0, std::max(0, sheet.cols() - 1));
    const int col2 = std::clamp(change.col2, col1, std::max(0, sheet.cols() - 1));
    if (row1 > row2 || sheet.cols() <= 0) {
        return;
    }
    sheet.select(row1, col1, row2, col2);
    sheet.scrollTo(sheet.currentIndex());
}

}  // namespace app
