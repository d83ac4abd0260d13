// The subfields Access SQL offers on a complex column: T.Att.FileName,
// .FileData, .FileType, .FileURL, .FileTimeStamp, .FileFlags for
// attachments and T.MV.Value for multi-value lists. The table module exposes
// each as a hidden column named "<column>.<subfield>"; reading one makes the
// scan return a row per attachment or value.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "jet/complex_value.h"
#include "sql/sql_type.h"

namespace jet::sql {

enum class Subfield { FileData, FileFlags, FileName, FileTimeStamp, FileType, FileURL, Value };

inline constexpr int kSubfieldCount = 7;

// The subfield called `name` (compared without case); none for other names.
std::optional<Subfield> subfieldNamed(std::string_view name);
const char* subfieldName(Subfield s);
// The type a subfield's values have in SQL (Value: unknown until read).
SqlType subfieldType(Subfield s);

}  // namespace jet::sql
