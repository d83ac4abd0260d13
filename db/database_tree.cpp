#include "db/database_tree.h"

#include <QBrush>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>

#include "db/database.h"
#include "db/relationships.h"
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

void DatabaseTree::build(QTreeWidget& tree, Database& database, const QString& path,
                         bool hiddenQueries) {
    tree.setUpdatesEnabled(false);
    tree.clear();
    QTreeWidgetItem* root = add(tree, QString(), TreeKeys::database(), fileNodeText(path),
                                TreeImages::kDatabase, TreeImages::kDatabase);
    QTreeWidgetItem* tables = addUnder(root, TreeKeys::tables(), QStringLiteral("Tables"),
                                       TreeImages::kTable, TreeImages::kTable);
    QTreeWidgetItem* queries = addUnder(root, TreeKeys::queries(), QStringLiteral("Queries"),
                                        TreeImages::kQuery, TreeImages::kQuery);
    QTreeWidgetItem* relationships =
        addUnder(root, TreeKeys::relationships(), QStringLiteral("Relationships"),
                 TreeImages::kRelationship, TreeImages::kRelationship);
    addTables(tables, database);
    addQueries(queries, database, hiddenQueries);
    addRelationships(relationships, database);
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
        QTreeWidgetItem* node =
            table.linked ? addUnder(branch, TreeKeys::table(i), text(table.name),
                                    TreeImages::kLinkedTable, TreeImages::kLinkedTableSelected)
                         : addUnder(branch, TreeKeys::table(i), text(table.name),
                                    TreeImages::kTable, TreeImages::kTableSelected);
        if (table.linked) {
            node->setToolTip(0,
                             table.backEnd.empty()
                                 ? QStringLiteral("Linked table")
                                 : QStringLiteral("Linked table in %1").arg(text(table.backEnd)));
        }
        markUnreadable(node, database, table.name);
        addTableFields(node, i, table);
    }
}

void DatabaseTree::addTableFields(QTreeWidgetItem* node, int i, const TableDefinition& table) {
    for (int j = 0; j < int(table.fields.size()); ++j) {
        const FieldDefinition& field = table.fields[std::size_t(j)];
        const int image = field.index == FieldDefinition::Index::PrimaryKey
                              ? TreeImages::kPrimaryKeyField
                          : field.index == FieldDefinition::Index::None ? TreeImages::kField
                                                                        : TreeImages::kIndexedField;
        QTreeWidgetItem* fieldNode = addUnder(
            node, TreeKeys::tableField(i, j),
            QStringLiteral("%1  %2").arg(text(field.name), text(field.type)), image, image);
        fieldNode->setData(0, kNameRole, text(field.name));
        switch (field.index) {
            case FieldDefinition::Index::PrimaryKey:
                fieldNode->setToolTip(0, QStringLiteral("Primary key"));
                break;
            case FieldDefinition::Index::Unique:
                fieldNode->setToolTip(0, QStringLiteral("Indexed (No Duplicates)"));
                break;
            case FieldDefinition::Index::Indexed:
                fieldNode->setToolTip(0, QStringLiteral("Indexed (Duplicates OK)"));
                break;
            case FieldDefinition::Index::None:
                break;
        }
    }
}

void DatabaseTree::refreshLinkedTables(QTreeWidget& tree, Database& database) {
    for (int i = 0; i < database.tableDefCount(); ++i) {
        const TableDefinition& table = database.tableDef(i);
        QTreeWidgetItem* node = table.linked ? find(tree, TreeKeys::table(i)) : nullptr;
        if (node) {
            qDeleteAll(node->takeChildren());
            addTableFields(node, i, table);
        }
    }
}

void DatabaseTree::addQueries(QTreeWidgetItem* branch, Database& database, bool hiddenQueries) {
    QueryDefinitions& queries = database.queryDefs();
    for (int i = 0; i < queries.count(); ++i) {
        QueryDefinition& query = queries.item(i);
        if (!hiddenQueries && isHiddenQuery(text(query.name()))) {
            continue;
        }
        QTreeWidgetItem* node = addUnder(branch, TreeKeys::query(i), text(query.name()),
                                         TreeImages::kQuery, TreeImages::kQuerySelected);
        for (int j = 0; j < int(query.fields().size()); ++j) {
            addUnder(node, TreeKeys::queryField(i, j), text(query.fields()[std::size_t(j)]),
                     TreeImages::kField, TreeImages::kField);
        }
    }
}

void DatabaseTree::addRelationships(QTreeWidgetItem* branch, Database& database) {
    if (!database.engine()) {
        return;
    }
    const std::vector<Relationship> relationships = Relationships::read(*database.engine());
    for (int i = 0; i < int(relationships.size()); ++i) {
        const Relationship& r = relationships[std::size_t(i)];
        // Access's own relationships between its system tables stay hidden
        // with the tables.
        if (isSkipped(text(r.table)) || isSkipped(text(r.referencedTable))) {
            continue;
        }
        QTreeWidgetItem* node = addUnder(branch, TreeKeys::relationship(i), text(r.text()),
                                         TreeImages::kRelationship, TreeImages::kRelationship);
        node->setToolTip(0, QStringLiteral("%1: %2").arg(text(r.name), text(r.description())));
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

bool DatabaseTree::isHiddenQuery(const QString& queryName) {
    return queryName.startsWith(QLatin1String("~sq_"), Qt::CaseInsensitive);
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

QString DatabaseTree::name(const QTreeWidgetItem* node) {
    if (!node) {
        return QString();
    }
    const QVariant name = node->data(0, kNameRole);
    return name.isValid() ? name.toString() : node->text(0);
}

int DatabaseTree::image(const QTreeWidgetItem* node) {
    return node ? node->data(0, kImageRole).toInt() : 0;
}

int DatabaseTree::selectedImage(const QTreeWidgetItem* node) {
    return node ? node->data(0, kSelectedImageRole).toInt() : 0;
}

}  // namespace db
