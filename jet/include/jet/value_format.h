// Text forms of values: the exact, locale-free forms the engine uses for
// export, tests and SQL (ISO dates, 4-decimal currency, hex bytes, braced GUIDs).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "jet/value.h"

namespace jet {

// A calendar moment decoded from an Access date value (proleptic Gregorian).
struct DateTimeParts {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// Access's rule: the date is the integer part (toward zero) counted from
// 1899-12-30, the time is the fraction of |d|. Rounded to the millisecond.
// Values outside years 1..9999 or not finite are clamped to that range's ends.
DateTimeParts dateTimeParts(double accessDate);
// As dateTimeParts, but rounded to the whole second.
DateTimeParts dateTimePartsToSecond(double accessDate);
// Inverse of dateTimeParts (ignores milliseconds beyond the fields given).
double accessDate(const DateTimeParts& parts);

// "YYYY-MM-DDTHH:MM:SS" (rounded to the second).
std::string formatDateTimeIso(double accessDate);
// "-12.3400": exact, always four decimals.
std::string formatCurrency(int64_t scaled);
// The same two forms appended to `out`, without temporaries (for exports).
void appendDateTimeIso(double accessDate, std::string& out);
void appendCurrency(int64_t scaled, std::string& out);
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" from the 16 stored bytes; empty if
// `bytes` is not 16 bytes long.
std::string formatGuid(std::string_view bytes);
// Lowercase hex, two digits a byte.
std::string hexString(std::string_view bytes);
// Shortest digits that read back as the same double, in Access's layout:
// no exponent from 0.0001 up to 15 digits before the point ("100000",
// "0.0001"), else "1E+15", "1.5E-05"; "NaN", "Infinity", "-Infinity".
std::string formatDouble(double d);
// The same for a float, with no exponent up to 7 digits before the point.
std::string formatSingle(float f);
// The same two forms appended to `out`, without temporaries (for exports).
void appendDouble(double d, std::string& out);
void appendSingle(float f, std::string& out);

// The forms above written at `at`, which has room for kMaxNumberText
// characters; each returns the end of what it wrote. For loops that write
// millions of values straight into an output buffer.
constexpr size_t kMaxNumberText = 48;
char* writeDateTimeIso(char* at, double accessDate);
char* writeCurrency(char* at, int64_t scaled);
char* writeDouble(char* at, double d);
char* writeSingle(char* at, float f);
// hexString's digits written at `at`, which has room for two a byte.
char* writeHex(char* at, std::string_view bytes);

}  // namespace jet
