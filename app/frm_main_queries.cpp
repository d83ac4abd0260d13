// frmMain: saving the SQL text as a new query and deleting the current query.
// The engine writes the file; the node rules live in sql/saved_query_nodes.
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "app/frm_main.h"
#include "db/database.h"
#include "db/scoped_action.h"
#include "sql/saved_query_nodes.h"
#include "ui/dialogs.h"

namespace {

const char* const kCrLf = "\r\n";

}  // namespace

void frmMain::connectQueryHandlers() {
    connect(cmdSaveSQL, &QPushButton::clicked, this, &frmMain::cmdSaveSQL_Click);
    connect(cmdDeleteSQL, &QPushButton::clicked, this, &frmMain::cmdDeleteSQL_Click);
}

void frmMain::cmdSaveSQL_Click() {
    const QString name = dialogs_.inputBox(QStringLiteral("Enter New Query Name:"),
                                           QStringLiteral("Save Query"), QString());
    if (name.isEmpty()) {
        return;
    }
    const jet::Status saved = writeQuery([&](db::QueryDefinitions& queries) {
        return queries.create(name.toStdString(), SqlText().toStdString());
    });
    if (!saved) {
        dialogs_.messageBox(QString::fromStdString(saved.message()),
                            QStringLiteral("Error Create Query"), ui::Dialogs::Icon::Critical,
                            ui::Dialogs::Buttons::Ok);
        return;
    }
    sql::SavedQueryNodes::add(*TreeView1, name);
    txtSQL->setFocus();
}

// The file is changed first: the node goes only when the query is gone from
// the file (deleted now, or already missing), so the tree never hides a
// query that is still stored.
void frmMain::cmdDeleteSQL_Click() {
    const QString name = currentQueryName;
    const ui::Dialogs::Answer answer =
        dialogs_.messageBox(QStringLiteral("Are you sure you want to delete Query '%1'?").arg(name),
                            QStringLiteral("Delete Query"), ui::Dialogs::Icon::Question,
                            ui::Dialogs::Buttons::YesNoCancel);
    if (answer != ui::Dialogs::Answer::Yes) {
        return;
    }
    QTreeWidgetItem* node = sql::SavedQueryNodes::find(*TreeView1, name);
    if (!node) {
        return;
    }
    const jet::Status deleted = writeQuery(
        [&](db::QueryDefinitions& queries) { return queries.remove(name.toStdString()); });
    if (!deleted && deleted.code() != jet::ErrorCode::NotFound) {
        dialogs_.messageBox(QStringLiteral("The query was not deleted.") + QLatin1String(kCrLf) +
                                QString::fromStdString(deleted.message()),
                            QStringLiteral("Delete Query"), ui::Dialogs::Icon::Critical,
                            ui::Dialogs::Buttons::Ok);
        return;
    }
    for (QTreeWidgetItem* n = currentNode; n; n = n->parent()) {
        if (n == node) {
            currentNode = nullptr;
            break;
        }
    }
    // Left to itself the tree would highlight a neighbour that the sheet does
    // not show; nothing stays highlighted instead.
    for (QTreeWidgetItem* n = TreeView1->currentItem(); n; n = n->parent()) {
        if (n == node) {
            TreeView1->setCurrentItem(nullptr);
            break;
        }
    }
    delete node;
}

// Writing copies and verifies the whole file, which takes a while on a big
// database: the busy pointer shows for the whole of it.
jet::Status frmMain::writeQuery(const std::function<jet::Status(db::QueryDefinitions&)>& change) {
    if (!openDb) {
        return jet::Status(jet::ErrorCode::Invalid, "No database is open.");
    }
    desktop_.setPointer(ui::Desktop::Pointer::Busy);
    db::ScopedAction restore([this] { desktop_.setPointer(ui::Desktop::Pointer::Default); });
    return change(openDb->queryDefs());
}
