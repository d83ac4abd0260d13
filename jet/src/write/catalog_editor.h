// Plans the creation or deletion of one saved query on the page image: the
// MSysObjects row, the MSysQueries rows (long expressions on LVAL pages), the
// MSysACEs permission rows copied from an existing object, every index of
// those three tables, and their row counts. Nothing reaches the disk here;
// a refusal leaves only a discarded image behind.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "jet/database.h"
#include "jet/status.h"
#include "write/index_updater.h"
#include "write/page_allocator.h"
#include "write/page_image.h"
#include "write/query_decomposer.h"
#include "write/row_placer.h"
#include "write/system_rows.h"

namespace jet::write {

class CatalogEditor {
  public:
    // `db` must be open on the same bytes `image` holds.
    static Result<std::unique_ptr<CatalogEditor>> open(const Database& db, PageImage& image);

    // `now` is the local time as an Access date. Invalid for a bad or taken
    // name; Unsupported for a file the writer does not change.
    Status createQuery(const std::string& name, const DecomposedQuery& query, double now);
    // NotFound when no query has that name; Invalid when the name is a table's.
    Status deleteQuery(const std::string& name);

    // The MSysObjects Id the last createQuery gave the query.
    int32_t lastId() const { return lastId_; }
    // Rows added minus rows deleted in MSysObjects, MSysQueries, MSysACEs.
    const std::array<int, 3>& rowDeltas() const { return deltas_; }
    // Row counts the three definitions stored before the change.
    std::array<uint32_t, 3> storedRowCounts() const {
        return {objects_.layout.rowCount, queries_.layout.rowCount, aces_.layout.rowCount};
    }

  private:
    CatalogEditor(const Database& db, PageImage& image, PageAllocator allocator)
        : db_(db), image_(image), allocator_(allocator), placer_(image_, allocator_) {}

    Status readCatalog();
    void claimPages();
    Result<int32_t> containerId(const std::string& name) const;
    Status checkNameIsFree(const std::string& name, int32_t tablesId) const;
    Result<std::string> ownerBytes() const;
    int32_t newObjectId() const;
    std::vector<const SystemRow*> aceTemplate(int32_t tablesId) const;
    Result<Value> expressionField(const std::string& text);
    Result<AddedRow> addRow(SystemTable& table, std::vector<Value> values);
    Result<std::vector<AddedRow>> addQueryRows(int32_t id, const DecomposedQuery& query);
    Result<std::vector<AddedRow>> addAceRows(int32_t id, int32_t tablesId);
    Status deleteRow(const SystemTable& table, const SystemRow& row);
    Status deleteLongValue(const uint8_t* field, uint32_t size);
    Status markSlot(uint32_t pointer);
    // Index entries and row counts for the rows added to and removed from
    // MSysObjects, MSysQueries and MSysACEs, in that order.
    Status commit(const std::vector<AddedRow> (&added)[3], const std::set<uint32_t> (&removed)[3]);

    const Database& db_;
    PageImage& image_;
    PageAllocator allocator_;
    RowPlacer placer_;
    SystemTable objects_, queries_, aces_;
    int32_t lastId_ = 0;
    std::array<int, 3> deltas_{};
};

}  // namespace jet::write
