// Fills the tree TreeView1 from an open database and reads its nodes back:
// the database node, the "Tables" and "Queries" branches, one node per table
// (system tables, whose names start with "MSys" in exactly that case, are
// skipped but keep their positions in the keys) and query, and one node per
// field. Each node carries its key and its two image positions as item data.
#pragma once

#include <QString>
#include <Qt>

class QTreeWidget;
class QTreeWidgetItem;

namespace db {

class Database;

class DatabaseTree {
  public:
    static constexpr int kKeyRole = Qt::UserRole;
    static constexpr int kImageRole = Qt::UserRole + 1;
    static constexpr int kSelectedImageRole = Qt::UserRole + 2;

    // Removes every node, then adds the database's nodes in this order: the
    // database node, both branches, each table with its fields, each query
    // with its fields. `path` gives the database node's text.
    static void build(QTreeWidget& tree, Database& database, const QString& path);

    // The part of `path` after its last "/" or "\"; empty without either.
    static QString fileNodeText(const QString& path);
    // Whether a table of this name is left out of the tree.
    static bool isSkipped(const QString& tableName);

    // The node added fourth: the first table shown, else the first query;
    // null when the database shows neither.
    static QTreeWidgetItem* fourthNode(const QTreeWidget& tree);
    static QTreeWidgetItem* find(const QTreeWidget& tree, const QString& key);
    // Appends a node under `parentKey` (a root node when it is empty).
    static QTreeWidgetItem* add(QTreeWidget& tree, const QString& parentKey, const QString& key,
                                const QString& text, int image, int selectedImage);

    static QString key(const QTreeWidgetItem* node);
    static int image(const QTreeWidgetItem* node);
    static int selectedImage(const QTreeWidgetItem* node);

  private:
    static QTreeWidgetItem* addUnder(QTreeWidgetItem* parent, const QString& key,
                                     const QString& text, int image, int selectedImage);
    static void decorate(QTreeWidgetItem* node, const QString& key, const QString& text, int image,
                         int selectedImage);
    static void addTables(QTreeWidgetItem* branch, Database& database);
    static void addQueries(QTreeWidgetItem* branch, Database& database);
};

}  // namespace db
