#include "analysis/number_reading.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace analysis {
namespace {

// Significant digits kept for the decimal conversion; the rest only moves the
// exponent or sets a sticky digit. Beyond this many digits the result, rounded
// to single precision anyway, cannot change in practice.
constexpr int kMaxDigits = 40;
// Exponents are saturated here: anything this large is already out of range.
constexpr std::int64_t kExponentCap = 100000;

// Walks a text while skipping the characters the reading ignores.
template <typename Char>
class Cursor {
  public:
    Cursor(const Char* begin, const Char* end) : p_(begin), end_(end) {}

    // The next significant character, or -1 at the end of the text.
    int peek() {
        while (p_ < end_ && ignored(code(*p_)))
            ++p_;
        return p_ < end_ ? code(*p_) : -1;
    }
    void advance() { ++p_; }
    const Char* position() const { return p_; }
    void rewind(const Char* p) { p_ = p; }

  private:
    static int code(Char c) {
        if constexpr (sizeof(Char) == 1)
            return static_cast<unsigned char>(c);
        else
            return static_cast<int>(c);
    }
    static bool ignored(int c) { return c == ' ' || c == '\t' || c == '\n'; }

    const Char* p_;
    const Char* end_;
};

bool isDigit(int c) {
    return c >= '0' && c <= '9';
}

int hexValue(int c) {
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "&H..." or "&O..." after the "&": an unsigned integer of that base.
template <typename Char>
double readPrefixed(Cursor<Char>& in) {
    const int letter = in.peek();
    int base = 0;
    if (letter == 'H' || letter == 'h')
        base = 16;
    else if (letter == 'O' || letter == 'o')
        base = 8;
    else
        return 0.0;
    in.advance();
    double value = 0.0;
    for (int c = in.peek(); c >= 0; c = in.peek()) {
        const int digit = hexValue(c);
        if (digit < 0 || digit >= base)
            break;
        value = value * base + digit;
        in.advance();
    }
    return value;
}

// The digits of a decimal number: value = digits x 10^exponent.
struct Decimal {
    char digits[kMaxDigits + 1];
    int count = 0;
    std::uint64_t leading = 0;  // the first 19 digits as an integer
    bool sticky = false;        // a dropped digit was not zero
    std::int64_t exponent = 0;
    bool sawDigit = false;

    void keep(int c) {
        if (count < 19)
            leading = leading * 10 + static_cast<std::uint64_t>(c - '0');
        digits[count++] = static_cast<char>(c);
    }
    void addIntegerDigit(int c) {
        sawDigit = true;
        if (count == 0 && c == '0')
            return;
        if (count < kMaxDigits)
            keep(c);
        else {
            ++exponent;
            sticky = sticky || c != '0';
        }
    }
    void addFractionDigit(int c) {
        sawDigit = true;
        if (count == 0 && c == '0') {
            --exponent;
            return;
        }
        if (count < kMaxDigits) {
            keep(c);
            --exponent;
        } else {
            sticky = sticky || c != '0';
        }
    }
};

// Reads "E"/"D", an optional sign and at least one digit; without a digit the
// exponent is not part of the number and the cursor is put back.
template <typename Char>
std::int64_t readExponent(Cursor<Char>& in) {
    const auto* start = in.position();
    const int letter = in.peek();
    if (letter != 'E' && letter != 'e' && letter != 'D' && letter != 'd')
        return 0;
    in.advance();
    int sign = 1;
    if (const int c = in.peek(); c == '+' || c == '-') {
        sign = c == '-' ? -1 : 1;
        in.advance();
    }
    if (!isDigit(in.peek())) {
        in.rewind(start);
        return 0;
    }
    std::int64_t value = 0;
    for (int c = in.peek(); isDigit(c); c = in.peek()) {
        value = std::min<std::int64_t>(value * 10 + (c - '0'), kExponentCap);
        in.advance();
    }
    return sign * value;
}

double powerOfTen(int e) {
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    return kPowers[e];
}

// Turns the collected digits into the nearest double.
double convert(Decimal& d) {
    if (d.count == 0)
        return 0.0;
    // Exact fast path: up to 15 digits are an exact integer in a double, and a
    // power of ten up to 1e22 is exact too, so one IEEE operation rounds right.
    if (!d.sticky && d.count <= 15 && d.exponent >= -22 && d.exponent <= 22) {
        const double m = static_cast<double>(d.leading);
        const int e = static_cast<int>(d.exponent);
        return e >= 0 ? m * powerOfTen(e) : m / powerOfTen(-e);
    }
    const std::int64_t magnitude = d.exponent + d.count;  // decimal digits before the point
    if (magnitude > 400)
        return std::numeric_limits<double>::infinity();
    if (magnitude < -400)
        return 0.0;
    char text[kMaxDigits + 16];
    int length = d.count;
    std::copy(d.digits, d.digits + d.count, text);
    std::int64_t exponent = d.exponent;
    if (d.sticky) {
        text[length++] = '1';
        --exponent;
    }
    text[length++] = 'e';
    const auto written = std::to_chars(text + length, text + sizeof text, exponent);
    double value = 0.0;
    const auto parsed = std::from_chars(text, written.ptr, value);
    if (parsed.ec == std::errc::result_out_of_range)
        return magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return value;
}

template <typename Char>
double readDecimal(Cursor<Char>& in) {
    double sign = 1.0;
    if (const int c = in.peek(); c == '+' || c == '-') {
        sign = c == '-' ? -1.0 : 1.0;
        in.advance();
    }
    Decimal d;
    bool point = false;
    for (int c = in.peek(); c >= 0; c = in.peek()) {
        if (isDigit(c))
            point ? d.addFractionDigit(c) : d.addIntegerDigit(c);
        else if (c == '.' && !point)
            point = true;
        else
            break;
        in.advance();
    }
    if (!d.sawDigit)
        return 0.0;
    d.exponent += readExponent(in);
    const double value = convert(d);
    return value == 0.0 ? 0.0 : sign * value;
}

template <typename Char>
double read(const Char* begin, const Char* end) {
    Cursor<Char> in(begin, end);
    if (in.peek() == '&') {
        in.advance();
        return readPrefixed(in);
    }
    return readDecimal(in);
}

}  // namespace

double readNumber(QStringView text) {
    const char16_t* begin = text.utf16();
    return read(begin, begin + text.size());
}

double readNumber(std::string_view text) {
    return read(text.data(), text.data() + text.size());
}

float toSingle(double value) {
    // Halfway between the largest single and the next power of two: from here
    // on round-to-nearest gives infinity (and the cast alone would be undefined).
    constexpr double kOverflow = 0x1.ffffffp127;
    if (std::isnan(value))
        return std::numeric_limits<float>::quiet_NaN();
    if (std::fabs(value) >= kOverflow)
        return value > 0 ? std::numeric_limits<float>::infinity()
                         : -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

}  // namespace analysis
