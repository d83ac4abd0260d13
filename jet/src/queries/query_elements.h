// The MSysQueries rows of one query, sorted the way Jet's primary key orders
// them (attribute, then order bytes) and handed out by what they describe.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "queries/query_rebuilder.h"

namespace jet {

// Attribute codes of MSysQueries rows.
enum QueryAttribute : int {
    kAttrStart = 0,
    kAttrType = 1,
    kAttrParameter = 2,
    kAttrOptions = 3,
    kAttrSourceDatabase = 4,
    kAttrInput = 5,
    kAttrColumn = 6,
    kAttrJoin = 7,
    kAttrWhere = 8,
    kAttrGroupBy = 9,
    kAttrHaving = 10,
    kAttrOrderBy = 11,
    kAttrEnd = 255,
};

// Option bits of the attribute 3 row.
enum QueryOption : int32_t {
    kOptAllFields = 0x01,
    kOptDistinct = 0x02,
    kOptOwnerAccess = 0x04,
    kOptDistinctRow = 0x08,
    kOptTop = 0x10,
    kOptTopPercent = 0x20,
};

class QueryElements {
  public:
    explicit QueryElements(const std::vector<QueryRow>& rows);

    // Rows with attribute `attr`, in key order.
    std::vector<const QueryRow*> rows(int attr) const;
    // The first row with attribute `attr`, or null.
    const QueryRow* first(int attr) const;

    // The attribute 1 Flag; 1 (select) when the row is missing, as Access
    // leaves it out for queries saved from SQL view.
    int32_t typeCode() const;
    // The attribute 3 Flag; 0 when the row is missing.
    int32_t options() const;
    bool hasOption(int32_t bit) const { return (options() & bit) != 0; }
    // The attribute 3 Name1 (the n of TOP n).
    std::string topValue() const;

  private:
    std::vector<QueryRow> sorted_;
};

// The value of an optional text column, empty when Null.
std::string textOf(const std::optional<std::string>& value);
// True when an optional text column holds a non-empty text.
bool hasText(const std::optional<std::string>& value);

}  // namespace jet
