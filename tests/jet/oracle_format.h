// Our values in the exact text the independent reader's dump script prints
// (JSON, its number, date and GUID forms), so rows compare as strings.
#pragma once

#include <string>
#include <string_view>

#include "jet/column.h"
#include "jet/value.h"

namespace jettest {

// JavaScript's Number.prototype.toString for a finite double.
std::string jsNumber(double d);
// JSON.stringify of a UTF-8 string.
std::string jsonString(std::string_view s);
// The reader's date: milliseconds = round((d - 25569) * 86400 * 1000) from
// 1970, printed "YYYY-MM-DDTHH:MM:SS.mmm" (linear, unlike Access for negative
// dates with a time part).
std::string oracleDate(double accessDate);
// The reader's form of a value of `column`, as JSON text.
std::string oracleJson(const jet::ValueRef& v, const jet::Column& column);

}  // namespace jettest
