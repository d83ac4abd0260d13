// What the SQL workbench needs from the database browser: running a statement
// into the sheet, the open database, its tree and the query last clicked.
#pragma once

#include <QString>

class QTreeWidget;
class QTreeWidgetItem;

namespace db {
class Database;
}

namespace sql {

class QueryBrowser {
  public:
    virtual ~QueryBrowser() = default;
    // Runs `statement` into the data sheet; false, with the error shown, when
    // it could not be opened (the sheet is then unchanged).
    virtual bool runStatement(const QString& statement) = 0;
    // The open database, or null.
    virtual db::Database* openDatabase() const = 0;
    virtual QTreeWidget& databaseTree() const = 0;
    // The name of the query node last clicked.
    virtual QString currentQueryName() const = 0;
    // `node` and its children are about to be deleted from the tree.
    virtual void forgetNode(QTreeWidgetItem* node) = 0;
};

}  // namespace sql
