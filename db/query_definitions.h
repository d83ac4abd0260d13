// The query definitions of an open database: count, item by position from 0
// or by name, and refresh after the file's saved queries changed.
#pragma once

#include <memory>
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

  private:
    friend class Database;
    void rebuild();

    Database& owner_;
    std::vector<std::unique_ptr<QueryDefinition>> items_;
};

}  // namespace db
