#include "sql/tree_names.h"

#include <QTreeWidget>

#include "db/database_tree.h"
#include "db/tree_keys.h"

namespace sql {

namespace {

void addBranch(const QTreeWidget& tree, const QString& branchKey, bool queries, SqlNames& names) {
    const QTreeWidgetItem* branch = db::DatabaseTree::find(tree, branchKey);
    if (!branch) {
        return;
    }
    for (int i = 0; i < branch->childCount(); ++i) {
        const QTreeWidgetItem* node = branch->child(i);
        SqlNames::Source source{db::DatabaseTree::name(node), queries, {}};
        for (int j = 0; j < node->childCount(); ++j) {
            source.fields.append(db::DatabaseTree::name(node->child(j)));
        }
        names.sources.push_back(std::move(source));
    }
}

}  // namespace

SqlNames namesInTree(const QTreeWidget& tree) {
    SqlNames names;
    addBranch(tree, db::TreeKeys::tables(), false, names);
    addBranch(tree, db::TreeKeys::queries(), true, names);
    return names;
}

}  // namespace sql
