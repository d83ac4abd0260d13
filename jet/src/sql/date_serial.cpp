#include "sql/date_serial.h"
#include "jet/number_text.h"

#include <cctype>
#include <cmath>
#include <vector>

namespace jet::sql {

namespace {
// Day number of 30 December 1899 in the days-from-1970 civil algorithm.
constexpr long long kEpochOffset = -25569;

long long daysFrom1970(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}
}  // namespace

bool isLeapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && isLeapYear(year))
        return 29;
    return days[(month - 1) % 12];
}

long long daysFromCivil(int year, int month, int day) {
    return daysFrom1970(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
           kEpochOffset;
}

void civilFromDays(long long days, int& year, int& month, int& day) {
    long long z = days + kEpochOffset + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (month <= 2));
}

double makeSerial(int year, int month, int day, int hour, int minute, int second) {
    const double days = static_cast<double>(daysFromCivil(year, month, day));
    const double time = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
    return days >= 0 ? days + time : days - time;
}

long long serialDay(double serial) {
    return static_cast<long long>(std::trunc(serial));
}

double serialTime(double serial) {
    return std::fabs(serial - std::trunc(serial));
}

DateParts splitSerial(double serial) {
    long long day = serialDay(serial);
    long long secs = std::llround(serialTime(serial) * 86400.0);
    if (secs >= 86400) {  // rounding reached the next day
        secs -= 86400;
        day += serial >= 0 ? 1 : -1;
    }
    DateParts p;
    civilFromDays(day, p.year, p.month, p.day);
    p.hour = static_cast<int>(secs / 3600);
    p.minute = static_cast<int>(secs / 60 % 60);
    p.second = static_cast<int>(secs % 60);
    return p;
}

namespace {

const char* const kMonths[] = {"JANUARY",   "FEBRUARY", "MARCH",    "APRIL",
                               "MAY",       "JUNE",     "JULY",     "AUGUST",
                               "SEPTEMBER", "OCTOBER",  "NOVEMBER", "DECEMBER"};

int monthFromName(const std::string& upper) {
    if (upper.size() < 3)
        return 0;
    for (int i = 0; i < 12; ++i) {
        const std::string full = kMonths[i];
        if (full.compare(0, upper.size(), upper) == 0)
            return i + 1;
    }
    if (upper == "SEPT")
        return 9;
    return 0;
}

struct DateTokens {
    std::vector<std::string> items;  // numbers and words of the date part
    std::vector<int> time;           // h, m, s
    int ampm = 0;                    // 1 AM, 2 PM
    bool hasTime = false;
};

bool readTime(const std::string& s, std::size_t& i, DateTokens& out) {
    // s[i] starts a number followed by ':'
    while (i < s.size() && out.time.size() < 3) {
        std::size_t j = i;
        while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j])))
            ++j;
        if (j == i || j - i > 2)
            return false;
        out.time.push_back(parseInt(std::string_view(s).substr(i, j - i)).value_or(0));
        i = j;
        if (i < s.size() && s[i] == ':') {
            ++i;
            continue;
        }
        break;
    }
    out.hasTime = true;
    return out.time.size() >= 2 || out.ampm;
}

bool tokenizeDate(const std::string& s, DateTokens& out) {
    std::size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (std::isspace(c) || c == '/' || c == '-' || c == ',' || c == '.') {
            if (c == '.')
                return false;  // dotted dates are not US dates
            ++i;
        } else if (std::isdigit(c)) {
            std::size_t j = i;
            while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j])))
                ++j;
            if (j < s.size() && s[j] == ':') {
                if (out.hasTime || !readTime(s, i, out))
                    return false;
            } else {
                out.items.push_back(s.substr(i, j - i));
                i = j;
            }
        } else if (std::isalpha(c)) {
            std::size_t j = i;
            while (j < s.size() && std::isalpha(static_cast<unsigned char>(s[j])))
                ++j;
            std::string w;
            for (std::size_t k = i; k < j; ++k)
                w += static_cast<char>(std::toupper(static_cast<unsigned char>(s[k])));
            if (w == "AM" || w == "A")
                out.ampm = 1;
            else if (w == "PM" || w == "P")
                out.ampm = 2;
            else
                out.items.push_back(w);
            i = j;
        } else {
            return false;
        }
    }
    return true;
}

int fixYear(const std::string& text, int y) {
    if (text.size() <= 2)
        return y < 30 ? 2000 + y : 1900 + y;
    return y;
}

bool validDate(int y, int m, int d) {
    return y >= 100 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= daysInMonth(y, m);
}

bool resolveDate(const std::vector<std::string>& items, int& y, int& m, int& d) {
    std::vector<int> nums;
    std::vector<std::string> numText;
    int monthWord = 0;
    for (const auto& it : items) {
        if (std::isdigit(static_cast<unsigned char>(it[0]))) {
            if (it.size() > 4)
                return false;
            nums.push_back(parseInt(it).value_or(0));
            numText.push_back(it);
        } else {
            int mw = monthFromName(it);
            if (!mw || monthWord) {
                // weekday names are allowed and ignored
                static const char* days[] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
                bool isDay = false;
                for (auto* dn : days)
                    isDay = isDay || it.rfind(dn, 0) == 0;
                if (!isDay)
                    return false;
                continue;
            }
            monthWord = mw;
        }
    }
    if (monthWord) {
        if (nums.size() != 2)
            return false;
        m = monthWord;
        // "2 Jan 2003" or "Jan 2, 2003"; a 3-4 digit first number is the year
        if (numText[0].size() >= 3) {
            y = nums[0];
            d = nums[1];
        } else {
            d = nums[0];
            y = fixYear(numText[1], nums[1]);
        }
        return validDate(y, m, d);
    }
    if (nums.size() != 3)
        return false;
    if (numText[0].size() >= 3) {  // year first: y-m-d, never swapped
        y = nums[0];
        m = nums[1];
        d = nums[2];
        return validDate(y, m, d);
    }
    y = fixYear(numText[2], nums[2]);
    m = nums[0];
    d = nums[1];
    if (validDate(y, m, d))
        return true;
    std::swap(m, d);  // an impossible month: read as day/month
    return validDate(y, m, d);
}

}  // namespace

std::optional<double> parseDateText(const std::string& text) {
    DateTokens t;
    if (!tokenizeDate(text, t))
        return std::nullopt;
    if (!t.hasTime && t.ampm && t.items.size() == 1 && t.items[0].size() <= 2 &&
        std::isdigit(static_cast<unsigned char>(t.items[0][0]))) {
        t.time.push_back(parseInt(t.items[0]).value_or(0));  // "1 am"
        t.items.clear();
    }
    if (t.items.empty() && !t.hasTime && !t.ampm)
        return std::nullopt;
    int y = 1899, m = 12, d = 30;
    if (!t.items.empty() && !resolveDate(t.items, y, m, d))
        return std::nullopt;
    int h = 0, n = 0, s = 0;
    if (t.hasTime || t.ampm) {
        if (t.time.empty())
            return std::nullopt;
        h = t.time[0];
        n = t.time.size() > 1 ? t.time[1] : 0;
        s = t.time.size() > 2 ? t.time[2] : 0;
        if (t.ampm && h <= 12) {
            if (h == 12)
                h = 0;
            if (t.ampm == 2)
                h += 12;
        }
        if (h > 23 || n > 59 || s > 59)
            return std::nullopt;
    }
    return makeSerial(y, m, d, h, n, s);
}

}  // namespace jet::sql
