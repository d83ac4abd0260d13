// frmMain: the editing commands. Cut, Copy and Paste go through the system
// clipboard as plain text and act on the pane that last had the focus; the
// sheet's own rules live in sheet::EditCommands. After a command reshapes the
// sheet, the size boxes, the form view and the analysis commands follow.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTreeWidgetItem>

#include "app/frm_main.h"
#include "sheet/edit_commands.h"
#include "sheet/form_view.h"
#include "sheet/grid.h"
#include "sql/sql_text.h"
#include "ui/dialogs.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/size_boxes.h"

namespace {

enum Pane : unsigned char { DataSheet = 1, FormView = 2, SqlBox = 3, Tree = 4 };

QAction* entry(ui::MainMenus* menus, const char* name) {
    return menus->action(QString::fromLatin1(name));
}

// The clipboard is emptied first, so a pane with nothing selected leaves
// nothing stale behind for the next paste.
void putOnClipboard(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    if (!text.isEmpty()) {
        clipboard->setText(text);
    }
}

QString clipboardText() {
    return QGuiApplication::clipboard()->text();
}

// The SQL box's selection, its paragraph breaks as the CR LF the box's text
// uses everywhere else.
QString selectedSql(const QPlainTextEdit& box) {
    QString text = box.textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return sql::SqlText::toCrLf(text);
}

}  // namespace

void frmMain::connectEditHandlers() {
    const struct {
        const char* name;
        void (frmMain::*handler)();
    } entries[] = {
        {"mnuEditCopy", &frmMain::mnuEditCopy_Click},
        {"mnuEditCut", &frmMain::mnuEditCut_Click},
        {"mnuPUCut", &frmMain::mnuEditCut_Click},
        {"mnuEditPaste", &frmMain::mnuEditPaste_Click},
        {"mnuPUCopy", &frmMain::mnuPUCopy_Click},
        {"mnuPUPaste", &frmMain::mnuPUPaste_Click},
        {"mnuSelectAll", &frmMain::mnuSelectAll_Click},
        {"mnuInsertRow", &frmMain::mnuInsertRow_Click},
        {"mnuPUInsertRow", &frmMain::mnuInsertRow_Click},
        {"mnuInsertCol", &frmMain::mnuInsertCol_Click},
        {"mnuPUInsertCol", &frmMain::mnuInsertCol_Click},
        {"mnuDeleteRow", &frmMain::mnuDeleteRow_Click},
        {"mnuPUDeleteRow", &frmMain::mnuDeleteRow_Click},
        {"mnuDeleteCol", &frmMain::mnuDeleteCol_Click},
        {"mnuPUDeleteCol", &frmMain::mnuDeleteCol_Click},
        {"mnuEditColTitle", &frmMain::mnuEditColTitle_Click},
        {"mnuPUColTitle", &frmMain::mnuEditColTitle_Click},
        {"mnuSetColHeaderRow", &frmMain::mnuSetColHeaderRow_Click},
        {"mnuPUColHeader", &frmMain::mnuSetColHeaderRow_Click},
        {"mnuPUEditCell", &frmMain::mnuPUEditCell_Click},
    };
    for (const auto& e : entries) {
        connect(entry(menus, e.name), &QAction::triggered, this, e.handler);
    }
}

void frmMain::mnuEditCopy_Click() {
    switch (sheetState.lastFocusedPane) {
        case DataSheet:
            putOnClipboard(fa->clip());
            break;
        case FormView:
            putOnClipboard(fb->clip());
            break;
        case SqlBox:
            putOnClipboard(selectedSql(*txtSQL));
            break;
        case Tree:
            // Bracketed and spaced, so a table or field name pastes into SQL
            // ready to use.
            putOnClipboard(currentNode ? QStringLiteral(" [%1] ").arg(currentNode->text(0))
                                       : QString());
            break;
        default:
            QGuiApplication::clipboard()->clear();
    }
}

void frmMain::mnuPUCopy_Click() {
    putOnClipboard(fa->clip());
}

void frmMain::mnuEditCut_Click() {
    if (sheetState.lastFocusedPane != DataSheet) {
        return;
    }
    putOnClipboard(sheet::EditCommands(*fa, sheetState).cut());
}

void frmMain::mnuEditPaste_Click() {
    const QString text = clipboardText();
    if (text.isEmpty()) {
        return;  // a clipboard without text pastes nothing
    }
    if (sheetState.lastFocusedPane == DataSheet) {
        sheet::EditCommands(*fa, sheetState).paste(text);
    } else if (sheetState.lastFocusedPane == SqlBox) {
        setSqlText(text);
    }
}

void frmMain::mnuPUPaste_Click() {
    sheet::EditCommands(*fa, sheetState).paste(clipboardText());
}

void frmMain::mnuSelectAll_Click() {
    sheet::EditCommands(*fa, sheetState).selectAll();
}

void frmMain::mnuInsertRow_Click() {
    if (sheet::EditCommands(*fa, sheetState).insertRow()) {
        afterShapeChange();
    }
}

void frmMain::mnuInsertCol_Click() {
    const int at = std::max(fa->col(), 0);
    if (sheet::EditCommands(*fa, sheetState).insertColumn()) {
        statistics_.insertColumn(at);
        afterShapeChange();
    }
}

void frmMain::mnuDeleteRow_Click() {
    if (sheet::EditCommands(*fa, sheetState).deleteRows() > 0) {
        afterShapeChange();
    }
}

void frmMain::mnuDeleteCol_Click() {
    const int at = fa->col();
    const auto deleted = sheet::EditCommands(*fa, sheetState).deleteColumn();
    if (deleted == sheet::EditCommands::ColumnDeleted::None) {
        return;
    }
    statistics_.removeColumn(at);
    if (deleted == sheet::EditCommands::ColumnDeleted::Flag) {
        // As Save As leaves it: the user may add a flag column again.
        entry(menus, "mnuAddFlagCol")->setEnabled(true);
        Toolbar->button(QStringLiteral("Flag"))->setVisible(false);
    }
    afterShapeChange();
}

// The size boxes show the sheet as it now is, and the form view's titles are
// refilled: columns may have shifted under them.
void frmMain::afterShapeChange() {
    ui::SizeBoxes* boxes = Toolbar->sizeBoxes();
    boxes->txtRow->setText(QString::number(fa->rows() - 1));
    boxes->txtCol->setText(QString::number(fa->cols()));
    sheetState.titlesBuilt = false;
    SheetUpdate();
    AnalysisResetOnShapeChange();
}

void frmMain::mnuEditColTitle_Click() {
    if (fa->cols() <= 0) {
        return;
    }
    const QString title =
        dialogs_.inputBox(QStringLiteral("Enter New Column Title (Header):"),
                          QStringLiteral("Column Title"), fa->textMatrix(0, fa->col()));
    if (sheet::EditCommands(*fa, sheetState).setColumnTitle(title)) {
        sheet::FormView::fillTitles(*fb, *fa);
    }
}

void frmMain::mnuSetColHeaderRow_Click() {
    if (!sheet::EditCommands(*fa, sheetState).setHeaderRow()) {
        return;
    }
    Toolbar->sizeBoxes()->txtRow->setText(QString::number(fa->rows() - 1));
    sheet::FormView::fillTitles(*fb, *fa);
    sheetState.titlesBuilt = true;
    SheetUpdate();
    // One data row fewer: the last figures no longer describe the sheet.
    AnalysisResetOnShapeChange();
}

void frmMain::mnuPUEditCell_Click() {
    fa->editCell();
}
