// Fills the database tree ("TreeView1") from an open database and reads its nodes back:
// the database node, the "Tables" and "Queries" branches, one node per table
// (system tables, whose names start with "MSys" in exactly that case, are
// skipped but keep their positions in the keys) and query, one node per
// field showing its type ("CompanyName  Text(40)", the primary key and
// indexed fields with their own pictures), and the "Relationships" branch.
// Each node carries its key, its name and its two image positions as item
// data.
#pragma once

#include <QString>
#include <Qt>

class QTreeWidget;
class QTreeWidgetItem;

namespace db {

class Database;
struct TableDefinition;

class DatabaseTree {
  public:
    static constexpr int kKeyRole = Qt::UserRole;
    static constexpr int kImageRole = Qt::UserRole + 1;
    static constexpr int kSelectedImageRole = Qt::UserRole + 2;
    static constexpr int kNameRole = Qt::UserRole + 3;

    // Removes every node, then adds the database's nodes in this order: the
    // database node, the tables and queries branches, each table with its
    // fields, each query with its fields, then the relationships branch with
    // one node per relationship. `path` gives the database node's text.
    // Hidden queries ("~sq_" ...) are left out unless `hiddenQueries`; they
    // keep their positions in the keys.
    static void build(QTreeWidget& tree, Database& database, const QString& path,
                      bool hiddenQueries = false);
    // Lists each linked table's fields again (after its back-end was found).
    static void refreshLinkedTables(QTreeWidget& tree, Database& database);

    // The part of `path` after its last "/" or "\"; empty without either.
    static QString fileNodeText(const QString& path);
    // Whether a table of this name is left out of the tree.
    static bool isSkipped(const QString& tableName);
    // Whether a saved query is one Access keeps for a form or report ("~sq_").
    static bool isHiddenQuery(const QString& queryName);

    // The node added fourth: the first table shown, else the first query;
    // null when the database shows neither.
    static QTreeWidgetItem* fourthNode(const QTreeWidget& tree);
    static QTreeWidgetItem* find(const QTreeWidget& tree, const QString& key);
    // Appends a node under `parentKey` (a root node when it is empty).
    static QTreeWidgetItem* add(QTreeWidget& tree, const QString& parentKey, const QString& key,
                                const QString& text, int image, int selectedImage);

    static QString key(const QTreeWidgetItem* node);
    // The name a node stands for: its text, but without the type a field
    // node shows.
    static QString name(const QTreeWidgetItem* node);
    static int image(const QTreeWidgetItem* node);
    static int selectedImage(const QTreeWidgetItem* node);

  private:
    static QTreeWidgetItem* addUnder(QTreeWidgetItem* parent, const QString& key,
                                     const QString& text, int image, int selectedImage);
    static void decorate(QTreeWidgetItem* node, const QString& key, const QString& text, int image,
                         int selectedImage);
    static void addTables(QTreeWidgetItem* branch, Database& database);
    static void addTableFields(QTreeWidgetItem* node, int i, const TableDefinition& table);
    static void addQueries(QTreeWidgetItem* branch, Database& database, bool hiddenQueries);
    static void addRelationships(QTreeWidgetItem* branch, Database& database);
};

}  // namespace db
