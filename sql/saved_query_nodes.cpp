#include "sql/saved_query_nodes.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "db/database_tree.h"
#include "db/tree_images.h"
#include "db/tree_keys.h"

namespace sql {

QTreeWidgetItem* SavedQueryNodes::add(QTreeWidget& tree, const QString& name) {
    const QString key = QStringLiteral("Q") + name;
    if (db::DatabaseTree::find(tree, key) ||
        !db::DatabaseTree::find(tree, db::TreeKeys::queries())) {
        return nullptr;
    }
    return db::DatabaseTree::add(tree, db::TreeKeys::queries(), key, name, db::TreeImages::kQuery,
                                 db::TreeImages::kQuerySelected);
}

QTreeWidgetItem* SavedQueryNodes::find(const QTreeWidget& tree, const QString& name) {
    // The iterator walks a non-const tree but only reads it here.
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(&tree)); *it; ++it) {
        const QTreeWidgetItem* node = *it;
        if (db::DatabaseTree::key(node).startsWith(QLatin1Char('Q')) && node->parent() &&
            db::DatabaseTree::key(node->parent()) == db::TreeKeys::queries() &&
            node->text(0) == name) {
            return *it;
        }
    }
    return nullptr;
}

}  // namespace sql
