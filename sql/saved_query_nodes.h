// The query nodes that Save adds to and Delete removes from the database
// tree: a saved query's node hangs last under the "Queries" branch with the
// key "Q" + its name; Delete acts on the first query node in tree order whose
// text is the query's name exactly.
#pragma once

#include <QString>

class QTreeWidget;
class QTreeWidgetItem;

namespace sql {

class SavedQueryNodes {
  public:
    // Appends the node of the newly saved query `name` under "N2". Null, and
    // the tree unchanged, when the key "Q" + name is already used or the
    // tree has no "Queries" branch.
    static QTreeWidgetItem* add(QTreeWidget& tree, const QString& name);
    // The first node in tree order whose key begins with "Q", whose parent
    // is "N2" and whose text equals `name` (letter case counts); null if none.
    static QTreeWidgetItem* find(const QTreeWidget& tree, const QString& name);
};

}  // namespace sql
