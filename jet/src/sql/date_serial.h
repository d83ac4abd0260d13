// Access dates: a double counting days since 30 December 1899, the fraction
// being the time of day (for days before 1899 the time is the fraction's
// absolute value). Conversion to and from calendar parts, and reading date
// text the way Access reads #...# literals and CDate (US month/day/year order).
#pragma once

#include <optional>
#include <string>

namespace jet::sql {

struct DateParts {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
};

constexpr double kMinDateSerial = -657434.0;          // 1 January 100
constexpr double kMaxDateSerial = 2958465.999988426;  // 31 December 9999 23:59:59

// Whole days from 30 Dec 1899 to the given proleptic Gregorian date.
long long daysFromCivil(int year, int month, int day);
// The date of a whole-day number.
void civilFromDays(long long days, int& year, int& month, int& day);

// Serial of a date and time of day; no range check.
double makeSerial(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
// Calendar parts of a serial, the time rounded to the nearest second.
DateParts splitSerial(double serial);

// The whole-day part (toward zero) and the time fraction (0 <= t < 1).
long long serialDay(double serial);
double serialTime(double serial);

// Reads date and/or time text: m/d/y, m-d-y, y-m-d, "2 Jan 2003", "Jan 2, 2003",
// with an optional time "13:45", "1:45:30 PM", or a time alone. Nothing when
// the text is not a date. Two-digit years: 00-29 => 2000s, 30-99 => 1900s.
std::optional<double> parseDateText(const std::string& text);

bool isLeapYear(int year);
int daysInMonth(int year, int month);

}  // namespace jet::sql
