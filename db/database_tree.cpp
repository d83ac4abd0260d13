#include "db/database_tree.h"

#include <QBrush>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>

#include "db/database.h"
#include "db/tree_images.h"
#include "db/tree_keys.h"

namespace db {

namespace {

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// A table whose definition the engine could not read stays listed, marked,
// with the reason as its tip.
void markUnreadable(QTreeWidgetItem* node, const Database& database, const std::string& name) {
    const jet::TableDef* def = database.engine() ? database.engine()->findTable(name) : nullptr;
    if (!def || def->definitionError.empty())
        return;
    node->setToolTip(0, text(def->definitionError));
    node->setForeground(0, QBrush(Qt::red));
}

}  // namespace

void DatabaseTree::build(QTreeWidget& tree, Database& database, const QString& path) {
    tree.setUpdatesEnabled(false);
    tree.clear();
    QTreeWidgetItem* root = add(tree, QString(), TreeKeys::database(), fileNodeText(path),
                                TreeImages::kDatabase, TreeImages::kDatabase);
    QTreeWidgetItem* tables = addUnder(root, TreeKeys::tables(), QStringLiteral("Tables"),
                                       TreeImages::kTable, TreeImages::kTable);
    QTreeWidgetItem* queries = addUnder(root, TreeKeys::queries(), QStringLiteral("Queries"),
                                        TreeImages::kQuery, TreeImages::kQuery);
    addTables(tables, database);
    addQueries(queries, database);
    root->setExpanded(true);
    tables->setExpanded(true);
    queries->setExpanded(true);
    tree.setUpdatesEnabled(true);
}

void DatabaseTree::addTables(QTreeWidgetItem* branch, Database& database) {
    for (int i = 0; i < database.tableDefCount(); ++i) {
        const TableDefinition& table = database.tableDef(i);
        if (isSkipped(text(table.name))) {
            continue;
        }
        QTreeWidgetItem* node = addUnder(branch, TreeKeys::table(i), text(table.name),
                                         TreeImages::kTable, TreeImages::kTableSelected);
        markUnreadable(node, database, table.name);
        for (int j = 0; j < int(table.fields.size()); ++j) {
            addUnder(node, TreeKeys::tableField(i, j), text(table.fields[std::size_t(j)]),
                     TreeImages::kField, TreeImages::kField);
        }
    }
}

void DatabaseTree::addQueries(QTreeWidgetItem* branch, Database& database) {
    QueryDefinitions& queries = database.queryDefs();
    for (int i = 0; i < queries.count(); ++i) {
        QueryDefinition& query = queries.item(i);
        QTreeWidgetItem* node = addUnder(branch, TreeKeys::query(i), text(query.name()),
                                         TreeImages::kQuery, TreeImages::kQuerySelected);
        for (int j = 0; j < int(query.fields().size()); ++j) {
            addUnder(node, TreeKeys::queryField(i, j), text(query.fields()[std::size_t(j)]),
                     TreeImages::kField, TreeImages::kField);
        }
    }
}

QString DatabaseTree::fileNodeText(const QString& path) {
    const qsizetype cut =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return cut < 0 ? QString() : path.mid(cut + 1);
}

bool DatabaseTree::isSkipped(const QString& tableName) {
    return tableName.startsWith(QLatin1String("MSys"), Qt::CaseSensitive);
}

QTreeWidgetItem* DatabaseTree::fourthNode(const QTreeWidget& tree) {
    for (const QString& branch : {TreeKeys::tables(), TreeKeys::queries()}) {
        QTreeWidgetItem* node = find(tree, branch);
        if (node && node->childCount() > 0) {
            return node->child(0);
        }
    }
    return nullptr;
}

QTreeWidgetItem* DatabaseTree::find(const QTreeWidget& tree, const QString& key) {
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(&tree)); *it; ++it) {
        if (DatabaseTree::key(*it) == key) {
            return *it;
        }
    }
    return nullptr;
}

QTreeWidgetItem* DatabaseTree::add(QTreeWidget& tree, const QString& parentKey, const QString& key,
                                   const QString& text, int image, int selectedImage) {
    if (parentKey.isEmpty()) {
        auto* node = new QTreeWidgetItem(&tree);
        decorate(node, key, text, image, selectedImage);
        return node;
    }
    QTreeWidgetItem* parent = find(tree, parentKey);
    return parent ? addUnder(parent, key, text, image, selectedImage) : nullptr;
}

QTreeWidgetItem* DatabaseTree::addUnder(QTreeWidgetItem* parent, const QString& key,
                                        const QString& text, int image, int selectedImage) {
    auto* node = new QTreeWidgetItem(parent);
    decorate(node, key, text, image, selectedImage);
    return node;
}

void DatabaseTree::decorate(QTreeWidgetItem* node, const QString& key, const QString& text,
                            int image, int selectedImage) {
    node->setText(0, text);
    node->setData(0, kKeyRole, key);
    node->setData(0, kImageRole, image);
    node->setData(0, kSelectedImageRole, selectedImage);
    node->setIcon(0, TreeImages::icon(image, selectedImage));
}

QString DatabaseTree::key(const QTreeWidgetItem* node) {
    return node ? node->data(0, kKeyRole).toString() : QString();
}

int DatabaseTree::image(const QTreeWidgetItem* node) {
    return node ? node->data(0, kImageRole).toInt() : 0;
}

int DatabaseTree::selectedImage(const QTreeWidgetItem* node) {
    return node ? node->data(0, kSelectedImageRole).toInt() : 0;
}

}  // namespace db
