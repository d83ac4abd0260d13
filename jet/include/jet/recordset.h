// A record set: the rows of a table, a saved query or an SQL statement, with
// field names and types first, then rows of typed values read one at a time.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "jet/sql_value_text.h"
#include "jet/status.h"
#include "jet/value.h"

namespace jet {

class Database;
struct ComplexCell;

struct RecordsetField {
    std::string name;
    // The type every value of the field has (or Null). A computed column whose
    // type varies from row to row (IIf of a number and a text, ...) says Text;
    // its values keep their own types.
    ValueType type = ValueType::Text;
};

class Recordset {
  public:
    virtual ~Recordset() = default;

    virtual const std::vector<RecordsetField>& fields() const = 0;
    // Moves to the next row; false at the end or when reading failed (then
    // status() says why).
    virtual bool next() = 0;
    // The current row; valid after next() returned true, until the next call.
    virtual const std::vector<Value>& row() const = 0;
    virtual const Status& status() const = 0;

    // For a field read straight from a table's ACE complex column (not
    // through SQL): the current row's values (attachments, ...), valid until
    // next(); null otherwise. complexDatabase() is the database whose file
    // holds their data (a linked table's back-end), for attachmentData.
    virtual const ComplexCell* complexCell(std::size_t /*field*/) { return nullptr; }
    virtual const Database* complexDatabase() const { return nullptr; }

    // A record set straight over a local table can be read in shares on
    // several threads, as TableCursor::pageCount says; 0 pages otherwise.
    // twin() has the same fields and rows and is read on another thread;
    // readPages() makes next() go over the rows of those pages only.
    virtual std::size_t pageCount() const { return 0; }
    virtual std::unique_ptr<Recordset> twin() const { return nullptr; }
    virtual void readPages(std::size_t /*first*/, std::size_t /*end*/) {}

    // For a reader that looks at each value once, in field order: advance()
    // moves on as next() does, but a record set may leave row() unmade; cell()
    // then gives the current row's value of `field` as row() would hold it,
    // as a view valid until the next cell() or move. A value failing to read
    // shows in status(), and the row it is in is not one to keep.
    virtual bool advance() { return next(); }
    virtual ValueRef cell(std::size_t field) { return row()[field].ref(); }

    const Value& value(std::size_t field) const { return row()[field]; }
    // The value as Access shows it with no format set (see sql_value_text.h).
    std::string text(std::size_t field) const { return displayText(value(field)); }
};

}  // namespace jet
