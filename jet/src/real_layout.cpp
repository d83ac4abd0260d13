// Doubles and Singles as Access lays them out: the shortest digits that read
// back as the same value, plain while the exponent is from -4 to the type's
// precision - 1 (100000, 0.0001), else "1.5E-05" / "1E+15".
//
// Exports write millions of these, so the common values (whole numbers and
// numbers with a few decimals) take a path that needs neither the general
// shortest-digits search nor any temporary string.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "jet/value_format.h"

namespace jet {
namespace {

template <typename T>
struct RealLimits;

template <>
struct RealLimits<double> {
    static constexpr int kPrecision = 15;
    static constexpr double kPlainLimit = 1e15;
    // Below this, one unit of the last place is under 1/8 of 10^-decimals,
    // so at most one number with that many decimals reads back as the value
    // and scaling by a power of ten cannot round to the wrong whole number.
    static constexpr double kScaledLimit = 1125899906842624.0;  // 2^50
};

template <>
struct RealLimits<float> {
    static constexpr int kPrecision = 7;
    static constexpr float kPlainLimit = 1e7f;
    static constexpr float kScaledLimit = 2097152.0f;  // 2^21
};

constexpr int kMaxQuickDecimals = 8;

char* put(char* p, std::string_view text) {
    std::memcpy(p, text.data(), text.size());
    return p + text.size();
}

// Writes `whole` with `decimals` digits after the point ("12.34" from 1234, 2).
char* putScaled(char* p, uint64_t whole, int decimals) {
    char digits[24];
    const auto r = std::to_chars(digits, digits + sizeof digits, whole);
    const int length = static_cast<int>(r.ptr - digits);
    const char* d = digits;
    if (length <= decimals) {
        *p++ = '0';
        *p++ = '.';
        for (int k = length; k < decimals; ++k)
            *p++ = '0';
    } else {
        for (int k = 0; k < length - decimals; ++k)
            *p++ = *d++;
        if (decimals > 0)
            *p++ = '.';
    }
    while (d != r.ptr)
        *p++ = *d++;
    return p;
}

// A plain number of at most kMaxQuickDecimals decimals: the fewest decimals
// `whole / 10^k` that read back as `magnitude` are its shortest digits.
// nullptr when `magnitude` needs the general path.
template <typename T>
char* putQuick(char* p, T magnitude) {
    using Limits = RealLimits<T>;
    if (!(magnitude >= T(1e-4)) || !(magnitude < Limits::kPlainLimit))
        return nullptr;
    if (magnitude == std::trunc(magnitude))
        return putScaled(p, static_cast<uint64_t>(magnitude), 0);
    T scale = 1;
    for (int decimals = 1; decimals <= kMaxQuickDecimals; ++decimals) {
        scale *= 10;
        const T scaled = magnitude * scale;
        if (!(scaled < Limits::kScaledLimit))
            return nullptr;
        const T whole = std::nearbyint(scaled);
        if (whole / scale == magnitude)
            return putScaled(p, static_cast<uint64_t>(whole), decimals);
    }
    return nullptr;
}

// Any finite value: the shortest scientific digits, laid out.
template <typename T>
char* putGeneral(char* p, T magnitude) {
    char sci[64];
    const auto r = std::to_chars(sci, sci + sizeof sci, magnitude, std::chars_format::scientific);
    const char* e = sci;
    while (e != r.ptr && *e != 'e')
        ++e;
    char digits[32];
    int count = 0;
    for (const char* c = sci; c != e; ++c) {
        if (*c != '.')
            digits[count++] = *c;
    }
    int exponent = 0;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), r.ptr, exponent);
    if (exponent < -4 || exponent >= RealLimits<T>::kPrecision) {
        *p++ = digits[0];
        if (count > 1)
            *p++ = '.';
        for (int k = 1; k < count; ++k)
            *p++ = digits[k];
        *p++ = 'E';
        *p++ = exponent < 0 ? '-' : '+';
        const int size = exponent < 0 ? -exponent : exponent;
        if (size < 10)
            *p++ = '0';
        return std::to_chars(p, p + 4, size).ptr;
    }
    if (exponent < 0) {
        *p++ = '0';
        *p++ = '.';
        for (int k = -1; k > exponent; --k)
            *p++ = '0';
        for (int k = 0; k < count; ++k)
            *p++ = digits[k];
        return p;
    }
    const int whole = exponent + 1;
    for (int k = 0; k < whole; ++k)
        *p++ = k < count ? digits[k] : '0';
    if (count > whole)
        *p++ = '.';
    for (int k = whole; k < count; ++k)
        *p++ = digits[k];
    return p;
}

template <typename T>
char* putReal(char* p, T v) {
    if (std::isnan(v))
        return put(p, "NaN");
    if (std::isinf(v))
        return put(p, v > 0 ? "Infinity" : "-Infinity");
    if (std::signbit(v))
        *p++ = '-';
    const T magnitude = std::fabs(v);
    if (magnitude == 0)
        *p++ = '0';
    else if (char* quick = putQuick(p, magnitude))
        p = quick;
    else
        p = putGeneral(p, magnitude);
    return p;
}

}  // namespace

char* writeDouble(char* at, double d) {
    return putReal(at, d);
}

char* writeSingle(char* at, float f) {
    return putReal(at, f);
}

void appendDouble(double d, std::string& out) {
    char buf[kMaxNumberText];
    out.append(buf, putReal(buf, d));
}

void appendSingle(float f, std::string& out) {
    char buf[kMaxNumberText];
    out.append(buf, putReal(buf, f));
}

}  // namespace jet
