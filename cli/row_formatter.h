// Formats rows of values as RFC 4180 CSV (see CsvOptions for the
// variations) or as JSON lines (one object per row, keys in field order)
// into a text buffer, for RowWriter or for a thread formatting its own share
// of a table. A value that failed on its row is written as #Error in CSV and
// as {"error":"#Error"} in JSON lines, and counted.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "csv_options.h"
#include "jet/complex_value.h"
#include "jet/value.h"
#include "text_buffer.h"

namespace cli {

enum class ExportFormat { Csv, JsonLines };

class RowFormatter {
  public:
    RowFormatter(ExportFormat format, const std::vector<std::string>& fieldNames,
                 CsvOptions csv = {});

    // A formatter of the same format and options, with no text and nothing counted.
    RowFormatter blank() const;

    // The byte-order mark and title line that start a CSV file (none for
    // JSON lines).
    void title(const std::vector<std::string>& fieldNames);
    void beginRow();
    void value(const jet::ValueRef& v);
    // A complex column's cell (null: no values). CSV writes its text; JSON
    // lines write attachments as [{"name","type","size"}] (sizes in the
    // attachments' order), multi-values as an array of their JSON forms and
    // a version history as its current text.
    void complexValue(const jet::ComplexCell* cell, const std::vector<uint64_t>& sizes);
    void endRow();

    // The text formatted so far; the caller empties it once written.
    TextBuffer& text() { return text_; }
    // Values written as #Error (failed on their row) so far.
    uint64_t errorValues() const { return errorValues_; }

  private:
    void separate();
    void jsonComplex(const jet::ComplexCell& cell, const std::vector<uint64_t>& sizes);
    void csvValue(const jet::ValueRef& v);
    void jsonValue(const jet::ValueRef& v);
    // Writes the plain form of a value that is neither Null nor text.
    void plainValue(const jet::ValueRef& v);
    void csvText(std::string_view text);
    void csvQuoted(std::string_view text);
    void quoteFrom(size_t start);
    void jsonString(std::string_view text);

    ExportFormat format_;
    CsvOptions csv_;
    bool plainFormsOnly_;  // default options: non-text values never need quotes
    // ",\"name\":" per field, ready to copy (the first field's without its comma).
    std::vector<std::string> jsonKeys_;
    size_t column_ = 0;
    TextBuffer text_;
    uint64_t errorValues_ = 0;
};

// The text form shared by both formats for non-string values (dates, currency, ...).
void appendPlainValue(const jet::ValueRef& v, std::string& out);

}  // namespace cli
