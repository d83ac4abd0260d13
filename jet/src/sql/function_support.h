// Helpers shared by the Access functions registered in SQLite: reading
// arguments the way VBA coerces Variants, and the row-level error value that
// a failing function returns instead of aborting the whole statement.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include <sqlite3.h>

namespace jet::sql {

// The marker a function returns when its expression fails on this row; the
// record set shows it as "#Error". Functions that receive it pass it on.
void resultRowError(sqlite3_context* ctx);
bool isRowError(sqlite3_value* v);
bool isRowErrorBytes(std::string_view bytes);  // a blob holding the same marker
// True when any argument is Null (result set to Null) or a row error (passed
// on); the caller then returns at once.
bool nullOrErrorArgs(sqlite3_context* ctx, int argc, sqlite3_value** argv);
bool errorArgs(sqlite3_context* ctx, int argc, sqlite3_value** argv);

// Number from a value: numbers as they are, text read as VBA reads numeric
// text ("1,234.5", " 12 ", "1e3"); nothing for other text or Null.
std::optional<double> numberOf(sqlite3_value* v);
std::optional<double> numberFromText(const std::string& text);
// Date serial from a value: numbers are serials, text is read as a date.
std::optional<double> dateOf(sqlite3_value* v);
// The bytes of a text or blob value, without copying.
std::string_view textView(sqlite3_value* v);
// Text of a value as VBA's CStr gives it (doubles with 15 digits).
std::string textOf(sqlite3_value* v);

// Val(): the number at the start of the text, blanks ignored anywhere.
double valOfText(const std::string& text);

// Round half to even, as CInt, CLng, Round and the \ and Mod operands do.
double roundHalfEven(double x);

// The longest text a value may hold (SQLite's own limit, near Access's 1 GB);
// a longer result is an error on its row.
inline constexpr std::size_t kMaxTextBytes = 1000000000;

void resultText(sqlite3_context* ctx, const std::string& s);
// A date serial in Access's range (years 100 to 9999, to the second).
bool serialInRange(double serial);
void resultSerial(sqlite3_context* ctx, double serial);  // error outside years 100..9999

// Runs a registered function so that running out of memory fails the
// statement instead of throwing through SQLite.
template <void (*Fn)(sqlite3_context*, int, sqlite3_value**)>
void guarded(sqlite3_context* ctx, int argc, sqlite3_value** argv) noexcept {
    try {
        Fn(ctx, argc, argv);
    } catch (...) {
        sqlite3_result_error_nomem(ctx);
    }
}

}  // namespace jet::sql

namespace jet::sql {
// Calendar helpers shared by the date functions and Format.
std::string monthName(int month);         // "January"
std::string dayName(int weekdaySunday1);  // 1 => "Sunday"
int weekdayOfSerial(double serial, int firstDayOfWeek);
int weekOfYearOfSerial(double serial, int firstDayOfWeek, int firstWeekOfYear);
int dayOfYearOfSerial(double serial);
}  // namespace jet::sql
