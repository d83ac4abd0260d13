#include "jet/number_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace jet {

namespace {

// Decimal exponent of the first significant digit of a decimal number that
// from_chars found out of range: positive means too large, negative too small.
long long magnitude(std::string_view text) {
    constexpr long long kHuge = 1LL << 40;
    long long exponent = 0;
    const std::size_t e = text.find_first_of("eE");
    if (e != std::string_view::npos) {
        std::string_view digits = text.substr(e + 1);
        if (!digits.empty() && digits[0] == '+')
            digits.remove_prefix(1);
        const bool negative = !digits.empty() && digits[0] == '-';
        exponent = parseInteger(digits).value_or(negative ? -kHuge : kHuge);
        text = text.substr(0, e);
    }
    const std::size_t point = std::min(text.find('.'), text.size());
    const std::size_t first = text.find_first_of("123456789");
    if (first == std::string_view::npos)
        return 0;
    const long long position = first < point ? static_cast<long long>(point - first - 1)
                                             : -static_cast<long long>(first - point);
    return exponent + position;
}

}  // namespace

std::optional<long long> parseInteger(std::string_view text, int base) {
    long long v = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v, base);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size() || text.empty())
        return std::nullopt;
    return v;
}

std::optional<int> parseInt(std::string_view text, int base) {
    const auto v = parseInteger(text, base);
    if (!v || *v < std::numeric_limits<int>::min() || *v > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(*v);
}

std::optional<double> parseDouble(std::string_view text) {
    if (!text.empty() && text[0] == '+' && (text.size() < 2 || text[1] != '-'))
        text.remove_prefix(1);
    if (text.empty() || text.find_first_of("xXpPnNiI") != std::string_view::npos)
        return std::nullopt;
    double v = 0;
    const auto r =
        std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::general);
    if (r.ptr != text.data() + text.size())
        return std::nullopt;
    if (r.ec == std::errc::result_out_of_range) {
        const double sign = text[0] == '-' ? -1.0 : 1.0;
        return magnitude(text) > 0 ? sign * std::numeric_limits<double>::infinity() : sign * 0.0;
    }
    if (r.ec != std::errc())
        return std::nullopt;
    return v;
}

std::string realText(double d) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, d);
    return std::string(buf, r.ptr);
}

}  // namespace jet
