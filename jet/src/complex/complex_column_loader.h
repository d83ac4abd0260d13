// Reads one complex column's hidden value table into cells by key: which of
// its columns link to the owning row, which hold the values, and the shown
// text of each cell.
#pragma once

#include "complex/complex_store.h"

namespace jet {

// `flat` is the value table, `type` the template table (MSysComplexType_*
// or a version-history template) whose columns the value table repeats.
Result<std::unique_ptr<ComplexColumnValues>> loadComplexColumn(const DatabaseFile& file,
                                                               const Column& column,
                                                               const TableDef& flat,
                                                               const TableDef& type);

}  // namespace jet
