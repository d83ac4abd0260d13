// Access date functions over date serials: parts, Weekday, DateSerial,
// TimeSerial, DateAdd, DateDiff, DatePart, DateValue, TimeValue and names.
#include <cmath>
#include <ctime>

#include "sql/date_serial.h"
#include "sql/function_registry.h"
#include "sql/function_support.h"
#include "sql/token.h"

namespace jet::sql {

namespace {

using Fn = void (*)(sqlite3_context*, int, sqlite3_value**);

const char* const kMonthNames[] = {"January",   "February", "March",    "April",
                                   "May",       "June",     "July",     "August",
                                   "September", "October",  "November", "December"};
const char* const kDayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};

double nowSerial() {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return makeSerial(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                      local.tm_min, local.tm_sec);
}

void clockFn(sqlite3_context* ctx, int, sqlite3_value**) {
    const long which = reinterpret_cast<long>(sqlite3_user_data(ctx));
    const double now = nowSerial();
    if (which == 0)
        sqlite3_result_double(ctx, std::floor(now));
    else if (which == 1)
        sqlite3_result_double(ctx, now - std::floor(now));
    else
        sqlite3_result_double(ctx, now);
}

// Weekday 1..7 counted from `fdow` (1 = Sunday); day 0 is a Saturday.
int weekdayOf(double serial, int fdow) {
    const long long day = serialDay(serial);
    return static_cast<int>((((day + 7 - fdow) % 7) + 7) % 7) + 1;
}

std::optional<double> dateArg(sqlite3_value* v) {
    return dateOf(v);
}

void partFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (nullOrErrorArgs(ctx, 1, argv))
        return;
    auto d = dateArg(argv[0]);
    if (!d)
        return resultRowError(ctx);
    const DateParts p = splitSerial(*d);
    const int values[] = {p.year, p.month, p.day, p.hour, p.minute, p.second};
    sqlite3_result_int(ctx, values[reinterpret_cast<long>(sqlite3_user_data(ctx))]);
}

int firstDayArg(int argc, sqlite3_value** argv, int index) {
    if (argc <= index || sqlite3_value_type(argv[index]) == SQLITE_NULL)
        return 1;
    const int f = static_cast<int>(numberOf(argv[index]).value_or(1));
    return f == 0 ? 1 : f;
}

void weekdayFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (errorArgs(ctx, argc, argv))
        return;
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    auto d = dateArg(argv[0]);
    const int fdow = firstDayArg(argc, argv, 1);
    if (!d || fdow < 1 || fdow > 7)
        return resultRowError(ctx);
    sqlite3_result_int(ctx, weekdayOf(*d, fdow));
}

// Year, month and day with months and days rolling over.
double serialFromParts(long long y, long long m, long long d) {
    if (y >= 0 && y < 30)
        y += 2000;
    else if (y >= 30 && y < 100)
        y += 1900;
    y += (m - 1) >= 0 ? (m - 1) / 12 : -((12 - m) / 12);
    m = ((m - 1) % 12 + 12) % 12 + 1;
    return static_cast<double>(daysFromCivil(static_cast<int>(y), static_cast<int>(m), 1) + d - 1);
}

bool smallInt(std::optional<double> v) {
    return v && *v >= -32768 && *v <= 32767;
}

void dateSerialFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (nullOrErrorArgs(ctx, 3, argv))
        return;
    auto y = numberOf(argv[0]), m = numberOf(argv[1]), d = numberOf(argv[2]);
    if (!smallInt(y) || !smallInt(m) || !smallInt(d))
        return resultRowError(ctx);
    resultSerial(ctx, serialFromParts(static_cast<long long>(roundHalfEven(*y)),
                                      static_cast<long long>(roundHalfEven(*m)),
                                      static_cast<long long>(roundHalfEven(*d))));
}

void timeSerialFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (nullOrErrorArgs(ctx, 3, argv))
        return;
    auto h = numberOf(argv[0]), m = numberOf(argv[1]), s = numberOf(argv[2]);
    if (!smallInt(h) || !smallInt(m) || !smallInt(s))
        return resultRowError(ctx);
    const double secs = roundHalfEven(*h) * 3600 + roundHalfEven(*m) * 60 + roundHalfEven(*s);
    sqlite3_result_double(ctx, secs / 86400.0);
}

enum class Interval {
    Year,
    Quarter,
    Month,
    DayOfYear,
    Day,
    Weekday,
    Week,
    Hour,
    Minute,
    Second,
    Bad
};

Interval intervalOf(const std::string& text) {
    const std::string t = asciiUpper(text);
    if (t == "YYYY")
        return Interval::Year;
    if (t == "Q")
        return Interval::Quarter;
    if (t == "M")
        return Interval::Month;
    if (t == "Y")
        return Interval::DayOfYear;
    if (t == "D")
        return Interval::Day;
    if (t == "W")
        return Interval::Weekday;
    if (t == "WW")
        return Interval::Week;
    if (t == "H")
        return Interval::Hour;
    if (t == "N")
        return Interval::Minute;
    if (t == "S")
        return Interval::Second;
    return Interval::Bad;
}

double addMonths(double serial, long long months) {
    const DateParts p = splitSerial(serial);
    long long total = static_cast<long long>(p.year) * 12 + (p.month - 1) + months;
    const int y = static_cast<int>(total >= 0 ? total / 12 : -((-total + 11) / 12));
    const int m = static_cast<int>(total - static_cast<long long>(y) * 12) + 1;
    if (y < 100 || y > 9999)
        return NAN;
    const int d = std::min(p.day, daysInMonth(y, m));
    const double day = static_cast<double>(daysFromCivil(y, m, d));
    const double time = serialTime(serial);
    return day >= 0 ? day + time : day - time;
}

void dateAddFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (nullOrErrorArgs(ctx, 3, argv))
        return;
    const Interval iv = intervalOf(textOf(argv[0]));
    auto n = numberOf(argv[1]);
    auto d = dateArg(argv[2]);
    if (iv == Interval::Bad || !n || !d)
        return resultRowError(ctx);
    const long long k = static_cast<long long>(std::trunc(*n));
    double r;
    switch (iv) {
        case Interval::Year:
            r = addMonths(*d, k * 12);
            break;
        case Interval::Quarter:
            r = addMonths(*d, k * 3);
            break;
        case Interval::Month:
            r = addMonths(*d, k);
            break;
        case Interval::Week:
            r = *d + 7.0 * k;
            break;
        case Interval::Hour:
            r = *d + k / 24.0;
            break;
        case Interval::Minute:
            r = *d + k / 1440.0;
            break;
        case Interval::Second:
            r = *d + k / 86400.0;
            break;
        default:
            r = *d + static_cast<double>(k);
            break;
    }
    resultSerial(ctx, r);
}

long long floorDiv(long long a, long long b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

long long secondsOf(double serial) {
    return serialDay(serial) * 86400 +
           std::llround(serialTime(serial) * 86400.0) * (serial < 0 ? -1 : 1);
}

void dateDiffFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullOrErrorArgs(ctx, 3, argv) || errorArgs(ctx, argc, argv))
        return;
    const Interval iv = intervalOf(textOf(argv[0]));
    auto a = dateArg(argv[1]), b = dateArg(argv[2]);
    const int fdow = firstDayArg(argc, argv, 3);
    if (iv == Interval::Bad || !a || !b)
        return resultRowError(ctx);
    const DateParts p = splitSerial(*a), q = splitSerial(*b);
    const long long da = serialDay(*a), db = serialDay(*b);
    long long r = 0;
    switch (iv) {
        case Interval::Year:
            r = q.year - p.year;
            break;
        case Interval::Quarter:
            r = (4LL * q.year + (q.month - 1) / 3) - (4LL * p.year + (p.month - 1) / 3);
            break;
        case Interval::Month:
            r = (12LL * q.year + q.month) - (12LL * p.year + p.month);
            break;
        case Interval::Weekday:
            r = (db - da) / 7;
            break;
        case Interval::Week:
            r = floorDiv(db - fdow, 7) - floorDiv(da - fdow, 7);
            break;
        case Interval::Hour:
            r = floorDiv(secondsOf(*b), 3600) - floorDiv(secondsOf(*a), 3600);
            break;
        case Interval::Minute:
            r = floorDiv(secondsOf(*b), 60) - floorDiv(secondsOf(*a), 60);
            break;
        case Interval::Second:
            r = secondsOf(*b) - secondsOf(*a);
            break;
        default:
            r = db - da;
            break;
    }
    sqlite3_result_int64(ctx, r);
}

int dayOfYear(const DateParts& p) {
    return static_cast<int>(daysFromCivil(p.year, p.month, p.day) - daysFromCivil(p.year, 1, 1)) +
           1;
}

// Week of the year: the week holding 1 January is week 1 (fwoy 1); fwoy 2 and
// 3 start counting at the first four-day and the first full week.
int weekOfYear(double serial, int fdow, int fwoy) {
    const DateParts p = splitSerial(serial);
    auto weekStart = [&](long long day) {
        return day - (weekdayOf(static_cast<double>(day), fdow) - 1);
    };
    auto firstWeekStart = [&](int year) {
        const long long jan1 = daysFromCivil(year, 1, 1);
        long long start = weekStart(jan1);
        const long long daysInFirst = start + 7 - jan1;
        if ((fwoy == 2 && daysInFirst < 4) || (fwoy == 3 && daysInFirst < 7))
            start += 7;
        return start;
    };
    const long long day = serialDay(serial);
    long long first = firstWeekStart(p.year);
    if (day < first)
        first = firstWeekStart(p.year - 1);
    return static_cast<int>((day - first) / 7) + 1;
}

void datePartFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullOrErrorArgs(ctx, 2, argv) || errorArgs(ctx, argc, argv))
        return;
    const Interval iv = intervalOf(textOf(argv[0]));
    auto d = dateArg(argv[1]);
    const int fdow = firstDayArg(argc, argv, 2);
    int fwoy = argc > 3 ? static_cast<int>(numberOf(argv[3]).value_or(1)) : 1;
    if (fwoy == 0)
        fwoy = 1;
    if (iv == Interval::Bad || !d)
        return resultRowError(ctx);
    const DateParts p = splitSerial(*d);
    int r = 0;
    switch (iv) {
        case Interval::Year:
            r = p.year;
            break;
        case Interval::Quarter:
            r = (p.month - 1) / 3 + 1;
            break;
        case Interval::Month:
            r = p.month;
            break;
        case Interval::DayOfYear:
            r = dayOfYear(p);
            break;
        case Interval::Day:
            r = p.day;
            break;
        case Interval::Weekday:
            r = weekdayOf(*d, fdow);
            break;
        case Interval::Week:
            r = weekOfYear(*d, fdow, fwoy);
            break;
        case Interval::Hour:
            r = p.hour;
            break;
        case Interval::Minute:
            r = p.minute;
            break;
        case Interval::Second:
            r = p.second;
            break;
        default:
            break;
    }
    sqlite3_result_int(ctx, r);
}

void dateValueFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (nullOrErrorArgs(ctx, 1, argv))
        return;
    auto d = dateArg(argv[0]);
    if (!d)
        return resultRowError(ctx);
    const bool timePart = sqlite3_user_data(ctx) != nullptr;
    if (timePart)
        sqlite3_result_double(ctx, serialTime(*d));
    else
        sqlite3_result_double(ctx, static_cast<double>(serialDay(*d)));
}

void nameFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullOrErrorArgs(ctx, 1, argv) || errorArgs(ctx, argc, argv))
        return;
    const bool months = sqlite3_user_data(ctx) == nullptr;
    auto n = numberOf(argv[0]);
    const bool abbrev = argc > 1 && numberOf(argv[1]).value_or(0) != 0;
    if (!n)
        return resultRowError(ctx);
    int i = static_cast<int>(roundHalfEven(*n));
    if (months) {
        if (i < 1 || i > 12)
            return resultRowError(ctx);
        std::string name = kMonthNames[i - 1];
        resultText(ctx, abbrev ? name.substr(0, 3) : name);
        return;
    }
    const int fdow = firstDayArg(argc, argv, 2);
    if (i < 1 || i > 7 || fdow < 1 || fdow > 7)
        return resultRowError(ctx);
    std::string name = kDayNames[(i - 1 + fdow - 1) % 7];
    resultText(ctx, abbrev ? name.substr(0, 3) : name);
}

void add(sqlite3* db, const char* name, int n, Fn fn, long which = 0, bool deterministic = true) {
    const int flags = SQLITE_UTF8 | SQLITE_INNOCUOUS | (deterministic ? SQLITE_DETERMINISTIC : 0);
    sqlite3_create_function(db, name, n, flags, reinterpret_cast<void*>(which), fn, nullptr,
                            nullptr);
}

}  // namespace

std::string monthName(int month) {
    return kMonthNames[(month - 1) % 12];
}
std::string dayName(int weekdaySunday1) {
    return kDayNames[(weekdaySunday1 - 1) % 7];
}
int weekdayOfSerial(double serial, int fdow) {
    return weekdayOf(serial, fdow);
}
int weekOfYearOfSerial(double serial, int fdow, int fwoy) {
    return weekOfYear(serial, fdow, fwoy);
}
int dayOfYearOfSerial(double serial) {
    return dayOfYear(splitSerial(serial));
}

void registerDateFunctions(sqlite3* db) {
    add(db, "acc_date", 0, clockFn, 0, false);
    add(db, "acc_time", 0, clockFn, 1, false);
    add(db, "acc_now", 0, clockFn, 2, false);
    const char* parts[] = {"acc_year", "acc_month",  "acc_day",
                           "acc_hour", "acc_minute", "acc_second"};
    for (long i = 0; i < 6; ++i)
        add(db, parts[i], 1, partFn, i);
    add(db, "acc_weekday", -1, weekdayFn);
    add(db, "acc_dateserial", 3, dateSerialFn);
    add(db, "acc_timeserial", 3, timeSerialFn);
    add(db, "acc_dateadd", 3, dateAddFn);
    add(db, "acc_datediff", -1, dateDiffFn);
    add(db, "acc_datepart", -1, datePartFn);
    add(db, "acc_datevalue", 1, dateValueFn, 0);
    add(db, "acc_timevalue", 1, dateValueFn, 1);
    add(db, "acc_monthname", -1, nameFn, 0);
    add(db, "acc_weekdayname", -1, nameFn, 1);
}

}  // namespace jet::sql
