// Which sheet columns the statistics treat as numbers. Text, date and Boolean
// columns and the flag column are not numeric; every other column is,
// whatever its type (columns loaded from delimited text carry no type).
#pragma once

namespace analysis {

// Data types the grid reports for a column that matter here.
enum ColumnDataType : int {
    kDateType = 7,
    kTextType = 8,
    kBooleanType = 11,
};

// `isFlagColumn`: the column is the flag column while the flag column is
// present.
bool isNumericColumn(int dataType, bool isFlagColumn);

}  // namespace analysis
