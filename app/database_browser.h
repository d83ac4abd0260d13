// The database browser: opening an Access file into the tree `TreeView1`,
// showing a clicked table or query on the data sheet through the data control,
// putting a double-clicked name into the SQL box, and Refresh. A result that
// reached the sheet is announced with resultLoaded; the window runs the one
// "result loaded" sequence for it. The rules live in db/.
#pragma once

#include <QObject>
#include <QString>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "db/data_control.h"
#include "db/recordset_sink.h"
#include "sql/query_browser.h"

class QTreeWidgetItem;

namespace jet {
class DamageReport;
}
namespace db {
class Database;
class LoadProgress;
class SheetBinding;
}  // namespace db
namespace sql {
class SqlWorkbench;
}
namespace ui {
class Desktop;
class Dialogs;
struct MenuActions;
struct WindowControls;
}  // namespace ui

namespace app {

class DatabaseBrowser : public QObject, public sql::QueryBrowser {
    Q_OBJECT
  public:
    DatabaseBrowser(const ui::WindowControls& controls, const ui::MenuActions& menus,
                    sql::SqlWorkbench& sqlWorkbench, db::LoadProgress& loadProgress,
                    ui::Dialogs& dialogs, ui::Desktop& desktop, QObject* parent = nullptr);
    ~DatabaseBrowser() override;

    // Opens the file, fills the tree and shows the first table or query.
    // False when the file could not be opened even with a password (the
    // message was shown and nothing changed); true when it is now the open
    // database.
    bool open(const QString& path);
    // Closes the open database; the data control lets go of it too.
    void close();

    void onNodeClicked(QTreeWidgetItem* node);
    void onNodeDoubleClicked();
    // Opens the record source again (the window offers it in database mode).
    void refresh();

    db::DataControl& dataControl() { return dataControl_; }
    const std::shared_ptr<db::Database>& database() const { return database_; }
    QTreeWidgetItem* currentNode() const { return currentNode_; }
    // The name of the node last clicked; empty when none.
    QString currentNodeName() const;

    // sql::QueryBrowser
    bool runStatement(const QString& statement) override;
    db::Database* openDatabase() const override { return database_.get(); }
    QTreeWidget& databaseTree() const override;
    QString currentQueryName() const override { return currentQueryName_; }
    void forgetNode(QTreeWidgetItem* node) override;

  signals:
    // A result replaced the sheet's contents; outcome.status tells whether
    // every row was read.
    void resultLoaded(const db::RecordsetSink::Outcome& outcome);
    // The tree got the focus.
    void focused();

  private:
    void connectTree();
    // Builds the tree again (View > Hidden Queries changed), keeping the
    // node last clicked when it is still listed.
    void rebuildTree();
    // When `table` is linked to a back-end file that cannot be found, asks
    // for it with the open dialog (once per back-end, remembered while the
    // program runs). False, with `why` naming the missing file, when the user
    // cancels or picks a file the table cannot be read from.
    bool locateBackEnd(const QString& table, jet::Status& why);
    void showFirstObject(QTreeWidgetItem* first);
    db::RecordsetSink::Outcome showTable(const QString& name);
    db::RecordsetSink::Outcome refreshData();
    // True when the user wants the rows that can be read despite `failure`.
    bool askToSalvage(const jet::Status& failure);
    // A result reached the sheet: the window is told, and the user what a
    // salvaging read left out.
    void announce(const db::RecordsetSink::Outcome& outcome);
    void reportSkipped(const jet::DamageReport& damage);
    // False when the query modifies data: it is refused and nothing is shown.
    bool showQuery(const QString& name, db::RecordsetSink::Outcome& outcome);
    db::RecordsetSink::Outcome openQuery(const QString& name);
    db::RecordsetSink::Outcome openStatement(const std::string& statement);
    jet::ParameterValues askParameterValues(const std::vector<std::string>& names);
    void reportRecordSourceError(const jet::Status& status);
    void showMessage(const QString& text, const QString& title);

    const ui::WindowControls& controls_;
    const ui::MenuActions& menus_;
    sql::SqlWorkbench& sqlWorkbench_;
    ui::Dialogs& dialogs_;
    ui::Desktop& desktop_;
    std::unique_ptr<db::SheetBinding> binding_;
    db::DataControl dataControl_;
    std::shared_ptr<db::Database> database_;
    QTreeWidgetItem* currentNode_ = nullptr;
    QString currentQueryName_;
    QString path_;
    // Back-end files the user pointed at: the link's stored path -> the file.
    std::map<std::string, std::string> chosenBackEnds_;
};

}  // namespace app
