// Access's Format(): named formats (General Number, Currency, Short Date, ...)
// and pictures for numbers ("#,##0.00"), dates ("dd-mmm-yyyy hh:nn") and
// text ("@@@", ">"), with US English names and separators.
#pragma once

#include <optional>
#include <string>

namespace jet::sql {

struct FormatSubject {
    enum Kind { Number, Date, Boolean, Text } kind = Number;
    double number = 0;  // numbers, dates (serial) and Booleans (-1/0)
    std::string text;   // text subjects
};

// The formatted text; nothing when the subject is Null and the format has no
// section for Null.
std::optional<std::string> formatValue(const std::optional<FormatSubject>& subject,
                                       const std::string& format, int firstDayOfWeek = 1,
                                       int firstWeekOfYear = 1);

}  // namespace jet::sql
