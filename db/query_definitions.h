// The query definitions of an open database: count, item by position from 0
// or by name, refresh after the file's saved queries changed, and creating
// and deleting saved queries in the file through the engine's writer.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/query_definition.h"
#include "jet/status.h"

namespace db {

class Database;

class QueryDefinitions {
  public:
    explicit QueryDefinitions(Database& owner) : owner_(owner) {}

    int count() const { return int(items_.size()); }
    // Precondition: 0 <= i < count().
    QueryDefinition& item(int i) { return *items_[std::size_t(i)]; }
    // Compared as the engine compares names (any letter case); null when absent.
    QueryDefinition* find(std::string_view name);
    // Re-reads the saved queries from the file.
    jet::Status refresh();

    // Stores `sql` as a new saved query `name` in the database file. On
    // success the catalog is read again from the new file, so the collection
    // already lists the query. On failure the file and the collection are as
    // they were and the status carries the engine's description.
    jet::Status create(const std::string& name, const std::string& sql);
    // Deletes the saved query `name` from the file, then reads the catalog
    // again. NotFound when the file holds no such query.
    jet::Status remove(const std::string& name);

  private:
    friend class Database;
    void rebuild();
    jet::Status afterWrite(const jet::Status& written);

    Database& owner_;
    std::vector<std::unique_ptr<QueryDefinition>> items_;
};

}  // namespace db
