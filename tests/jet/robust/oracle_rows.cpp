#include "oracle_rows.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>

namespace jet {
namespace {

std::map<std::string, std::vector<std::string>>& columnOrders() {
    static std::map<std::string, std::vector<std::string>> orders;
    return orders;
}

std::string shellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

std::string jsonString(std::string_view s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        static const char* hex = "0123456789abcdef";
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            default:
                if (c < 0x20) {
                    out += std::string("\\u00") + hex[c >> 4] + hex[c & 15];
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

// JavaScript's Number#toString for a finite double.
std::string jsNumber(double d) {
    if (std::isnan(d))
        return "\"NaN\"";
    if (std::isinf(d))
        return d > 0 ? "\"Infinity\"" : "\"-Infinity\"";
    char buf[64];
    double a = std::fabs(d);
    bool plain = a == 0 || (a >= 1e-7 && a < 1e21);
    auto r = std::to_chars(buf, buf + sizeof buf, d,
                           plain ? std::chars_format::fixed : std::chars_format::scientific);
    std::string s(buf, r.ptr);
    if (s == "-0")
        return "0";
    size_t e = s.find('e');
    if (e != std::string::npos) {
        std::string sign = s[e + 1] == '-' ? "-" : "+";
        size_t digits = s.find_first_not_of("+-0", e + 1);
        s = s.substr(0, e) + "e" + sign + s.substr(digits);
    }
    return s;
}

std::string hexOf(std::string_view bytes) {
    static const char* hex = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += hex[c >> 4];
        out += hex[c & 15];
    }
    return out;
}

// mdb-reader's linear date: milliseconds since 1970, shown as UTC.
std::string jsDate(double days) {
    double msd = std::round((days - 25569) * 86400000.0);
    if (!std::isfinite(msd) || std::fabs(msd) > 8.64e15)
        return "\"Invalid\"";
    int64_t ms = static_cast<int64_t>(msd);
    int64_t day = ms >= 0 ? ms / 86400000 : -((-ms + 86399999) / 86400000);
    int64_t rest = ms - day * 86400000;
    int64_t z = day + 719468, era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t doe = z - era * 146097, yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100), mp = (5 * doy + 2) / 153;
    int64_t dd = doy - (153 * mp + 2) / 5 + 1, mm = mp < 10 ? mp + 3 : mp - 9;
    int64_t yy = yoe + era * 400 + (mm <= 2);
    char buf[160];
    std::snprintf(buf, sizeof buf, "\"%04lld-%02lld-%02lldT%02lld:%02lld:%02lld.%03lld\"",
                  (long long)yy, (long long)mm, (long long)dd, (long long)(rest / 3600000),
                  (long long)(rest / 60000 % 60), (long long)(rest / 1000 % 60),
                  (long long)(rest % 1000));
    return buf;
}

std::string fixed4(int64_t v) {
    std::string sign = v < 0 ? "-" : "";
    uint64_t a = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
    std::string frac = std::to_string(a % 10000);
    return "\"" + sign + std::to_string(a / 10000) + "." + std::string(4 - frac.size(), '0') +
           frac + "\"";
}

std::string guidText(std::string_view b) {
    std::string h = hexOf(b);
    if (h.size() != 32)
        return jsonString(h);
    auto swapped = [&](size_t at, size_t n) {
        std::string out;
        for (size_t i = n; i > 0; --i)
            out += h.substr(at + (i - 1) * 2, 2);
        return out;
    };
    return "\"" + swapped(0, 4) + "-" + swapped(8, 2) + "-" + swapped(12, 2) + "-" +
           h.substr(16, 4) + "-" + h.substr(20) + "\"";
}

std::string valueJson(const ValueRef& v) {
    switch (v.type) {
        case ValueType::Null:
            return "null";
        case ValueType::Boolean:
            return v.i ? "true" : "false";
        case ValueType::Byte:
        case ValueType::Integer:
        case ValueType::Long:
            return std::to_string(v.i);
        case ValueType::BigInt:
            return "\"" + std::to_string(v.i) + "\"";
        case ValueType::Currency:
            return fixed4(v.i);
        case ValueType::Single:
        case ValueType::Double:
            return jsNumber(v.d);
        case ValueType::DateTime:
            return jsDate(v.d);
        case ValueType::Text:
            return jsonString(v.data);
        case ValueType::Binary:
            return "\"" + hexOf(v.data) + "\"";
        case ValueType::Guid:
            return guidText(v.data);
        case ValueType::Decimal:
            return "\"" + v.dec.toString() + "\"";
        case ValueType::Unsupported:
            return "\"unsupported type " + std::to_string(v.i) + "\"";
    }
    return "?";
}

// Column names from the oracle's header line: every "name":"..." in order.
std::vector<std::string> headerNames(const std::string& header) {
    std::vector<std::string> names;
    const std::string key = "\"name\":\"";
    for (size_t pos = header.find(key); pos != std::string::npos; pos = header.find(key, pos)) {
        pos += key.size();
        size_t end = header.find('"', pos);
        names.push_back(header.substr(pos, end - pos));
    }
    return names;
}

std::string nodePath() {
    if (const char* env = std::getenv("TABLESCOPE_ORACLE_NODE_PATH"))
        return env;
    return TABLESCOPE_ORACLE_FALLBACK;
}

}  // namespace

Result<std::vector<std::string>> oracleRows(const std::string& path, const TableDef& table,
                                            const std::string& password) {
    std::string modules = nodePath();
    if (!std::filesystem::exists(modules + "/mdb-reader")) {
        return Status(ErrorCode::NotFound, "mdb-reader not installed in '" + modules +
                                               "' (set TABLESCOPE_ORACLE_NODE_PATH)");
    }
    std::string command =
        "NODE_PATH=" + shellQuote(modules) + " node " +
        shellQuote(std::string(TABLESCOPE_TESTDATA) + "/../tools/oracle-dump.mjs") + " " +
        shellQuote(path) + " " + shellQuote(table.name) + " --header --array --password " +
        shellQuote(password);
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe)
        return Status(ErrorCode::Io, "cannot run node");
    std::vector<std::string> lines;
    std::string line;
    for (int c; (c = std::fgetc(pipe.get())) != EOF;) {
        if (c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
        } else {
            line += static_cast<char>(c);
        }
    }
    if (lines.empty())
        return Status(ErrorCode::Io, "the oracle printed nothing for " + table.name);
    columnOrders()[path + "\n" + table.name] = headerNames(lines.front());
    lines.erase(lines.begin());
    return lines;
}

Result<std::vector<std::string>> rowsAsJson(const Database& db, const TableDef& table) {
    std::vector<int> order;
    auto known = columnOrders().find(db.path() + "\n" + table.name);
    for (size_t i = 0; i < table.columns.size(); ++i)
        order.push_back(static_cast<int>(i));
    if (known != columnOrders().end()) {
        order.clear();
        for (const std::string& name : known->second)
            order.push_back(table.columnIndex(name));
    }
    Result<std::unique_ptr<TableCursor>> cursor = db.openTable(table);
    if (!cursor)
        return cursor.status();
    std::vector<std::string> rows;
    while ((*cursor)->next()) {
        std::string row = "[";
        for (size_t k = 0; k < order.size(); ++k) {
            row += (k ? "," : "");
            row += order[k] < 0 ? "\"no such column\"" : valueJson((*cursor)->get(order[k]));
        }
        rows.push_back(row + "]");
    }
    if (!(*cursor)->status())
        return (*cursor)->status();
    return rows;
}

}  // namespace jet
