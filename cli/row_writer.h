// Writes rows of values as RFC 4180 CSV (with a title line; see CsvOptions
// for the variations) or as JSON lines (one object per row, keys in field
// order), buffered for speed. A value that failed on its row is written as
// #Error in CSV and as {"error":"#Error"} in JSON lines, and counted.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "csv_options.h"
#include "jet/complex_value.h"
#include "jet/value.h"

namespace cli {

enum class ExportFormat { Csv, JsonLines };

class RowWriter {
  public:
    RowWriter(std::FILE* out, ExportFormat format, std::vector<std::string> fieldNames,
              CsvOptions csv = {});
    ~RowWriter();

    void beginRow();
    void value(const jet::ValueRef& v);
    // A complex column's cell (null: no values). CSV writes its text; JSON
    // lines write attachments as [{"name","type","size"}] (sizes in the
    // attachments' order), multi-values as an array of their JSON forms and
    // a version history as its current text.
    void complexValue(const jet::ComplexCell* cell, const std::vector<uint64_t>& sizes);
    void endRow();
    // Flushes the buffer; false when the output could not be written.
    bool flush();
    // Why the output could not be written ("cannot write the output: No
    // space left on device"), for the user.
    std::string failure() const;
    // Values written as #Error (failed on their row) so far.
    uint64_t errorValues() const { return errorValues_; }

  private:
    void separate();
    void jsonComplex(const jet::ComplexCell& cell, const std::vector<uint64_t>& sizes);
    void csvValue(const jet::ValueRef& v);
    void jsonValue(const jet::ValueRef& v);
    void csvText(std::string_view text);
    void quoteFrom(size_t start);
    void jsonString(std::string_view text);

    std::FILE* out_;
    ExportFormat format_;
    CsvOptions csv_;
    bool plainFormsOnly_;  // default options: non-text values never need quotes
    std::vector<std::string> names_;
    std::vector<std::string> jsonKeys_;  // "\"name\":" ready to append
    size_t column_ = 0;
    std::string buffer_;
    bool ok_ = true;
    int writeErrno_ = 0;  // the first failed write's errno
    uint64_t errorValues_ = 0;
};

// The text form shared by both formats for non-string values (dates, currency, ...).
void appendPlainValue(const jet::ValueRef& v, std::string& out);

}  // namespace cli
