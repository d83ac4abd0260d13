// RowSorter: orders rows by the cells of one column. Empty cells come first,
// then numbers by value (a typed value where the row has one, else the text
// read as a number), then texts compared case-insensitively. A column of
// database text compares every cell as text, so codes such as "01307" keep
// their text order. Equal cells keep their previous order, whichever
// direction is asked for.
#pragma once

#include "sheet/text_column.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace sheet {

class RowSorter {
  public:
    enum class Compare { Generic, AsText };

    // values may be empty or shorter than the rows; NaN entries mean "no value".
    RowSorter(const TextColumn& texts, std::span<const double> values,
              Compare compare = Compare::Generic);

    // Reorders the physical row ids in rows.
    void sort(std::span<uint32_t> rows, bool descending) const;

    // Case-insensitive comparison of two UTF-8 texts by folded code points.
    static int compareText(std::string_view a, std::string_view b);
    // Whether text begins with prefix, ignoring case.
    static bool startsWithText(std::string_view text, std::string_view prefix);

  private:
    struct Entry {
        uint64_t key0;
        uint64_t key1;
        uint32_t pos;
        uint32_t row;
        uint8_t kind;   // 0 empty, 1 number, 2 text
        bool complete;  // a text whose whole folded form is in the keys
    };

    Entry makeEntry(uint32_t row, uint32_t pos) const;
    bool sameCell(const Entry& a, const Entry& b) const;
    void sortTextRuns(std::vector<Entry>& entries) const;

    const TextColumn& texts_;
    std::span<const double> values_;
    Compare compare_;
};

}  // namespace sheet
