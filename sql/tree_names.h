// The names the SQL box completes, read from the database tree: each table
// and query listed there with its fields.
#pragma once

#include "sql/sql_completion.h"

class QTreeWidget;

namespace sql {

SqlNames namesInTree(const QTreeWidget& tree);

}  // namespace sql
