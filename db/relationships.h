// The relationships a database file holds (its MSysRelationships table), one
// entry per relationship with its columns paired in their stored order, for
// the tree's Relationships branch.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace jet {
class Database;
}

namespace db {

struct Relationship {
    std::string name;
    std::string table;  // the table whose fields refer (the "many" side)
    std::vector<std::string> fields;
    std::string referencedTable;  // the table referred to (the "one" side)
    std::vector<std::string> referencedFields;
    uint32_t flags = 0;  // MSysRelationships.grbit

    // "Orders.CustomerID -> Customers.CustomerID"; several fields as
    // "T.(A, B) -> U.(X, Y)".
    std::string text() const;
    // What Access's relationship window says of it: "One-to-many; referential
    // integrity enforced; cascade updates".
    std::string description() const;
};

class Relationships {
  public:
    // Every relationship of the file, ordered by the referring table and then
    // the relationship's name. A file whose relationship table cannot be read
    // lists none: the rest of the tree does not depend on it.
    static std::vector<Relationship> read(const jet::Database& database);
};

}  // namespace db
