// How a value reads when shown with no format set: the English (United
// States) forms Access uses, the same on every machine whatever its locale.
// Dates as General Date ("1/2/2003 3:04:05 PM", date only at midnight, time
// only on day 0), "." as the decimal point, no thousands separators, Currency
// without a sign, Yes/No as True/False, GUIDs in braces, "Long binary data"
// for Binary and OLE values, "#Error" for a value that failed to compute.
#pragma once

#include <string>

#include "jet/value.h"

namespace jet {

std::string displayText(const Value& value);
// The same text appended to `out`, with no allocation beyond out's growth.
void appendDisplayText(std::string& out, const Value& value);
void appendDisplayText(std::string& out, const ValueRef& value);

// A value whose expression failed on its row (shown as "#Error").
Value errorValue();
bool isErrorValue(const Value& value);
bool isErrorValue(const ValueRef& value);

// The pieces, for callers that hold plain numbers.
std::string generalDateText(double accessDate);
std::string doubleText(double d);          // up to 15 significant digits
std::string singleText(double d);          // up to 7 significant digits
std::string currencyText(int64_t scaled);  // up to 4 decimals, trailing zeros dropped

}  // namespace jet
