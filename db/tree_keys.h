// Keys of the database tree's nodes and what they tell: "N0" the database,
// "N1" the tables branch, "N2" the queries branch, "T" + i a table,
// "TF" + i + "-" + j a table's field, "Q" + i a query, "QF" + i + "-" + j a
// query's field (i, j positions from 0 in the engine's collections), "N3" the
// relationships branch and "R" + i a relationship (i its position there).
#pragma once

#include <QString>

namespace db {

class TreeKeys {
  public:
    enum class Kind { Branch, Field, Table, Query, Relationship };

    static QString database() { return QStringLiteral("N0"); }
    static QString tables() { return QStringLiteral("N1"); }
    static QString queries() { return QStringLiteral("N2"); }
    static QString relationships() { return QStringLiteral("N3"); }
    static QString table(int i);
    static QString tableField(int i, int j);
    static QString query(int i);
    static QString queryField(int i, int j);
    static QString relationship(int i);

    // First letter "N": the database or a branch; second letter "F": a field;
    // first letter "T": a table; first letter "R": a relationship; anything
    // else: a query.
    static Kind kindOf(const QString& key);
};

}  // namespace db
