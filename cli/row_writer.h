// Writes rows of values to a file as CSV or JSON lines (see RowFormatter for
// the forms), buffered for speed, and remembers why the output could not be
// written. Rows formatted elsewhere (by a copy of formatter()) go out through
// write() in between.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "csv_options.h"
#include "jet/complex_value.h"
#include "jet/value.h"
#include "row_formatter.h"

namespace cli {

class RowWriter {
  public:
    // Starts with the title line of CSV.
    RowWriter(std::FILE* out, ExportFormat format, std::vector<std::string> fieldNames,
              CsvOptions csv = {});
    ~RowWriter();

    void beginRow() { formatter_.beginRow(); }
    void value(const jet::ValueRef& v) { formatter_.value(v); }
    void complexValue(const jet::ComplexCell* cell, const std::vector<uint64_t>& sizes) {
        formatter_.complexValue(cell, sizes);
    }
    void endRow();
    // Flushes the buffer; false when the output could not be written.
    bool flush();
    // Writes `text` (rows formatted elsewhere, holding `errorValues` #Error
    // values) after everything before it; false when the output could not
    // be written.
    bool write(std::string_view text, uint64_t errorValues);
    // A formatter with this writer's format and options, and no text.
    RowFormatter formatter() const;
    // Why the output could not be written ("cannot write the output: No
    // space left on device"), for the user.
    std::string failure() const;
    // Values written as #Error (failed on their row) so far.
    uint64_t errorValues() const { return formatter_.errorValues() + otherErrorValues_; }

  private:
    void failed();

    std::FILE* out_;
    RowFormatter formatter_;
    bool ok_ = true;
    int writeErrno_ = 0;  // the first failed write's errno
    uint64_t otherErrorValues_ = 0;
};

}  // namespace cli
