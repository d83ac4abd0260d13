#include "csv_options.h"

#include <cmath>
#include <ctime>

#include "jet/value_format.h"

namespace cli {
namespace {

bool parseDelimiter(const std::string& v, char& out, std::string& error) {
    if (v == "tab" || v == "\\t") {
        out = '\t';
        return true;
    }
    if (v.size() != 1 || v[0] == '"' || v[0] == '\r' || v[0] == '\n' ||
        static_cast<unsigned char>(v[0]) >= 0x80) {
        error =
            "--delimiter needs one ASCII character other than a quote or line break "
            "(or 'tab'), not '" +
            v + "'";
        return false;
    }
    out = v[0];
    return true;
}

// Long enough for any sensible date form; a longer one is a mistake.
constexpr size_t kMaxDateFormat = 200;

bool checkDateFormat(const std::string& v, std::string& error) {
    if (v.size() > kMaxDateFormat) {
        error = "--date-format is too long (" + std::to_string(v.size()) + " characters; at most " +
                std::to_string(kMaxDateFormat) + ")";
        return false;
    }
    if (v != "iso" && v.find('%') == std::string::npos) {
        error = "--date-format needs strftime conversions such as %Y-%m-%d, not '" + v + "'";
        return false;
    }
    return true;
}

}  // namespace

bool CsvOptions::isDefault() const {
    return delimiter == ',' && !bom && nullText.empty() && dateFormat.empty() && header;
}

bool takeCsvOption(const std::vector<std::string>& args, size_t& i, CsvOptions& o,
                   std::string& error) {
    const std::string& a = args[i];
    if (a == "--bom") {
        o.bom = true;
        return true;
    }
    if (a == "--no-header") {
        o.header = false;
        return true;
    }
    if (a != "--delimiter" && a != "--null" && a != "--date-format")
        return false;
    if (i + 1 >= args.size()) {
        error = a + " needs a value";
        return true;
    }
    const std::string& v = args[++i];
    if (a == "--delimiter") {
        parseDelimiter(v, o.delimiter, error);
    } else if (a == "--null") {
        o.nullText = v;
    } else if (checkDateFormat(v, error)) {
        o.dateFormat = v == "iso" ? "" : v;
    }
    return true;
}

std::string formatDate(double accessDate, const std::string& format) {
    const jet::DateTimeParts p = jet::dateTimePartsToSecond(accessDate);
    std::tm tm{};
    tm.tm_year = p.year - 1900;
    tm.tm_mon = p.month - 1;
    tm.tm_mday = p.day;
    tm.tm_hour = p.hour;
    tm.tm_min = p.minute;
    tm.tm_sec = p.second;
    // Day of week and of year from the calendar day (1899-12-30 was a Saturday).
    const double day = std::floor(jet::accessDate({p.year, p.month, p.day, 0, 0, 0, 0}) + 0.5);
    tm.tm_wday = static_cast<int>(std::fmod(std::fmod(day + 6, 7) + 7, 7));
    tm.tm_yday = static_cast<int>(day - jet::accessDate({p.year, 1, 1, 0, 0, 0, 0}));
    // strftime gives 0 both for an empty result and for one that does not
    // fit: grow the buffer until it fits (a format is at most kMaxDateFormat
    // characters, so the result is bounded).
    std::string buffer(256, '\0');
    for (;;) {
        const size_t n = std::strftime(buffer.data(), buffer.size(), format.c_str(), &tm);
        if (n > 0 || buffer.size() >= 64 * kMaxDateFormat * 4) {
            buffer.resize(n);
            return buffer;
        }
        buffer.resize(buffer.size() * 4);
    }
}

const char* csvOptionsHelp() {
    return "CSV options (export, run): --delimiter C|tab  --bom  --null TEXT\n"
           "  --date-format FMT|iso (strftime, e.g. \"%d/%m/%Y %H:%M\"; iso is the default)\n"
           "  --no-header\n";
}

}  // namespace cli
