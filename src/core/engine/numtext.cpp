// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/engine/numtext.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace zorva {
namespace {

constexpr int kSignificant = 15;

// |value| as 0.d1d2...d15 x 10^exponent, rounded to 15 significant digits.
struct Decimal {
    char digits[kSignificant + 1] = {}; // one spare for a carry
    int count = kSignificant;
    int exponent = 0;
};

// With a 64-bit significand, one multiplication or division by an exact
// power of ten (up to 10^27) brings a value's 15 leading digits before the
// point within 1e-4 of the exact product. Unless that leaves them that close
// to a rounding midpoint, rounding the product gives the digits of the exact
// conversion, at a fraction of its cost.
bool quickDecimal(double magnitude, Decimal& d) {
    if constexpr (std::numeric_limits<long double>::digits < 64) {
        return false;
    } else {
        static constexpr auto powers = [] {
            std::array<long double, 28> p{};
            p[0] = 1;
            for (std::size_t i = 1; i < p.size(); ++i)
                p[i] = p[i - 1] * 10;
            return p;
        }();
        if (!(magnitude >= 1e-10 && magnitude < 1e25))
            return false;
        // The decimal exponent from the binary one (78913 / 2^18 is just
        // below log10 2): at most one too small, which the loop mends.
        const int binary =
            static_cast<int>((std::bit_cast<std::uint64_t>(magnitude) >> 52) & 0x7FF) - 1023;
        int e = ((binary * 78913) >> 18) + 1;
        for (int attempt = 0; attempt < 3; ++attempt) {
            const int s = kSignificant - e;
            if (s > 27 || s < -27)
                return false;
            const long double y = s >= 0 ? magnitude * powers[static_cast<std::size_t>(s)]
                                         : magnitude / powers[static_cast<std::size_t>(-s)];
            if (y < 1e14L) {
                --e;
                continue;
            }
            if (y >= 1e15L) {
                ++e;
                continue;
            }
            const auto whole = static_cast<unsigned long long>(y); // y is positive
            const long double fraction = y - static_cast<long double>(whole);
            if (std::fabs(fraction - 0.5L) < 1e-3L)
                return false;
            auto n = whole + (fraction > 0.5L ? 1 : 0);
            if (n == 1000000000000000ULL) {
                n = 100000000000000ULL;
                ++e;
            }
            std::to_chars(d.digits, d.digits + kSignificant, n);
            d.count = kSignificant;
            d.exponent = e;
            return true;
        }
        return false;
    }
}

Decimal toDecimal(double value) {
    if (Decimal quick; quickDecimal(std::fabs(value), quick))
        return quick;
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value),
                                   std::chars_format::scientific, kSignificant - 1);
    // buf holds "d.dddddddddddddde+XX".
    Decimal d;
    int n = 0;
    const char* p = buf;
    for (; p < res.ptr && *p != 'e'; ++p) {
        if (*p != '.')
            d.digits[n++] = *p;
    }
    d.count = n;
    // The exponent after "e"; the buffer is not terminated, so read only up
    // to the end of the conversion.
    if (p < res.ptr && p[1] == '+')
        ++p;
    int exponent = 0;
    std::from_chars(p + 1, res.ptr, exponent);
    d.exponent = exponent + 1;
    return d;
}

void appendDigits(NumberText& out, const char* digits, int count) {
    for (int i = 0; i < count; ++i)
        out.push(digits[i]);
}

void appendExponent(NumberText& out, int exponent) {
    out.push('E');
    out.push(exponent < 0 ? '-' : '+');
    char buf[8];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::abs(exponent));
    if (res.ptr - buf < 2)
        out.push('0');
    appendDigits(out, buf, static_cast<int>(res.ptr - buf));
}

} // namespace

NumberText generalText(double value) {
    NumberText out;
    if (value == 0.0 || !std::isfinite(value)) {
        out.push('0');
        return out;
    }
    // A whole number below 10^15 has at most 15 digits, so its general text
    // is the number itself; this skips the slower rounding conversion for
    // the many whole numbers in field texts and tables.
    if (std::fabs(value) < 1e15 && value == std::trunc(value)) {
        char buf[24];
        const auto res = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(value));
        for (const char* p = buf; p < res.ptr; ++p)
            out.push(*p);
        return out;
    }
    Decimal d = toDecimal(value);
    while (d.count > 1 && d.digits[d.count - 1] == '0')
        --d.count;
    if (value < 0)
        out.push('-');

    const int e = d.exponent;
    const int fixedDigits = e >= d.count ? e : (e > 0 ? d.count : d.count - e);
    if (fixedDigits > kSignificant) {
        out.push(d.digits[0]);
        if (d.count > 1) {
            out.push('.');
            appendDigits(out, d.digits + 1, d.count - 1);
        }
        appendExponent(out, e - 1);
    } else if (e >= d.count) {
        appendDigits(out, d.digits, d.count);
        for (int i = d.count; i < e; ++i)
            out.push('0');
    } else if (e > 0) {
        appendDigits(out, d.digits, e);
        out.push('.');
        appendDigits(out, d.digits + e, d.count - e);
    } else {
        out.push('0');
        out.push('.');
        for (int i = 0; i < -e; ++i)
            out.push('0');
        appendDigits(out, d.digits, d.count);
    }
    return out;
}

NumberText patternText(double value, int decimals) {
    NumberText out;
    if (value < 0)
        out.push('-');

    // The digits of the rounded value as 0.d1d2... x 10^e, `count` of them.
    Decimal d;
    d.count = 0;
    if (value != 0.0 && std::isfinite(value)) {
        d = toDecimal(value);
        const int keep = d.exponent + decimals; // digits before the rounding place
        if (keep < 0) {
            d.count = 0;
        } else if (keep < d.count) {
            const bool up = d.digits[keep] >= '5';
            d.count = keep;
            if (up) {
                int i = keep - 1;
                while (i >= 0 && d.digits[i] == '9')
                    d.digits[i--] = '0';
                if (i >= 0) {
                    ++d.digits[i];
                } else {
                    // 99.95 -> 100.0: a new leading digit.
                    for (int j = d.count; j > 0; --j)
                        d.digits[j] = d.digits[j - 1];
                    d.digits[0] = '1';
                    ++d.count;
                    ++d.exponent;
                }
            }
        }
    }
    auto digitAt = [&](int pos) { return pos >= 0 && pos < d.count ? d.digits[pos] : '0'; };

    const int e = d.count == 0 ? 0 : d.exponent;
    if (e <= 0)
        out.push('0');
    for (int i = 0; i < e; ++i)
        out.push(digitAt(i));
    if (decimals > 0) {
        out.push('.');
        for (int i = 0; i < decimals; ++i)
            out.push(digitAt(e + i));
    }
    return out;
}

} // namespace zorva
