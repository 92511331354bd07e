// SPDX-License-Identifier: GPL-3.0-or-later
// The leading-number parse and the number texts over arbitrary bytes.
//
// - Both overloads read any text without fault, never give NaN, and read a
//   text the same whether it comes as bytes or as UTF-16 units.
// - The value read is the correctly rounded value of the leading number, as
//   the C library's strtod reads the same number written plainly.
// - For a finite value whose 15-digit form is a double, the general decimal
//   text reads back as exactly that 15-digit value.
// - The patterns "0", "0.0" and "0.00" give well-formed text that reads back
//   within half a unit of the last place of the 15-digit value.

#include "core/engine/numparse.h"
#include "core/engine/numtext.h"
#include "fuzzcheck.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

using zorva::generalText;
using zorva::NumberText;
using zorva::parseLeadingNumber;
using zorva::patternText;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// x rounded to 15 significant digits, as the nearest double to that decimal.
double fifteenDigits(double x) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", x);
    return std::strtod(buf, nullptr);
}

// "50", "90.6", "-31", "1.5E-20": at most 15 significant digits, no trailing
// zero after a point, no trailing point, a sign only for a negative value.
void checkGeneralForm(std::string_view t, double x) {
    FUZZ_CHECK(!t.empty());
    FUZZ_CHECK((t.front() == '-') == (x < 0));
    const std::size_t e = t.find('E');
    const std::string_view mantissa = t.substr(0, e);
    int digits = 0;
    for (char c : mantissa) {
        FUZZ_CHECK(isDigit(c) || c == '.' || c == '-');
        digits += isDigit(c);
    }
    FUZZ_CHECK(digits >= 1 && digits <= 16); // a leading "0." plus 15 digits at most
    if (mantissa.find('.') != std::string_view::npos) {
        FUZZ_CHECK(mantissa.back() != '0' && mantissa.back() != '.');
    }
    if (e != std::string_view::npos) {
        const std::string_view exponent = t.substr(e + 1);
        FUZZ_CHECK(exponent.size() >= 3 && (exponent[0] == '+' || exponent[0] == '-'));
        for (char c : exponent.substr(1))
            FUZZ_CHECK(isDigit(c));
    }
}

// An optional "-", at least one digit, then a point and exactly `decimals`
// digits when there are decimals.
void checkPatternForm(std::string_view t, double x, int decimals) {
    FUZZ_CHECK(!t.empty());
    const bool negative = t.front() == '-';
    FUZZ_CHECK(negative == (x < 0));
    const std::string_view body = t.substr(negative ? 1 : 0);
    const std::size_t point = body.find('.');
    const std::string_view whole = body.substr(0, point);
    FUZZ_CHECK(!whole.empty());
    for (char c : whole)
        FUZZ_CHECK(isDigit(c));
    if (decimals == 0) {
        FUZZ_CHECK(point == std::string_view::npos);
        return;
    }
    FUZZ_CHECK(point != std::string_view::npos);
    const std::string_view fraction = body.substr(point + 1);
    FUZZ_CHECK(fraction.size() == static_cast<std::size_t>(decimals));
    for (char c : fraction)
        FUZZ_CHECK(isDigit(c));
}

// The leading number of a text written plainly for strtod: the blanks taken
// out, then sign, digits with at most one point, and an exponent (E or D,
// written "e") only when digits follow it. Empty when there is no number.
std::string plainLeadingNumber(std::string_view text) {
    std::string t;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n')
            t += c;
    std::size_t i = 0;
    std::string out;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        out += t[i++];
    bool digits = false;
    bool point = false;
    for (; i < t.size(); ++i) {
        if (isDigit(t[i])) {
            digits = true;
        } else if (t[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
        out += t[i];
    }
    if (!digits)
        return {};
    if (i < t.size() && (t[i] == 'E' || t[i] == 'e' || t[i] == 'D' || t[i] == 'd')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < t.size() && (t[j] == '+' || t[j] == '-'))
            exponent += t[j++];
        if (j < t.size() && isDigit(t[j])) {
            while (j < t.size() && isDigit(t[j]))
                exponent += t[j++];
            out += exponent;
        }
    }
    return out;
}

double ulp(double v) {
    v = std::fabs(v);
    return std::nextafter(v, HUGE_VAL) - v;
}

void checkNumber(double x) {
    FUZZ_CHECK(!std::isnan(x));
    if (!std::isfinite(x))
        return;

    const NumberText general = generalText(x);
    checkGeneralForm(general.view(), x);
    const double rounded = fifteenDigits(x);
    if (!std::isfinite(rounded))
        return; // the 15-digit form lies beyond the largest double
    const double back = parseLeadingNumber(general.view());
    if (back != rounded) {
        std::fprintf(stderr, "value %.17g wrote %s read %.17g, 15 digits %.17g\n", x,
                     general.str().c_str(), back, rounded);
    }
    FUZZ_CHECK(back == rounded);

    for (int decimals = 0; decimals <= 2; ++decimals) {
        const NumberText text = patternText(x, decimals);
        checkPatternForm(text.view(), x, decimals);
        const double read = parseLeadingNumber(text.view());
        const double halfUnit = 0.5 * std::pow(10.0, -decimals) * (1 + 1e-9);
        const double slack = ulp(std::fmax(std::fabs(read), std::fabs(rounded)));
        if (!(std::fabs(read - rounded) <= halfUnit + slack)) {
            std::fprintf(stderr, "value %.17g pattern %d wrote %s\n", x, decimals,
                         text.str().c_str());
        }
        FUZZ_CHECK(std::fabs(read - rounded) <= halfUnit + slack);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const double x = parseLeadingNumber(bytes);

    const std::string plain = plainLeadingNumber(bytes);
    const double expected = plain.empty() ? 0.0 : std::strtod(plain.c_str(), nullptr);
    if (x != expected)
        std::fprintf(stderr, "read %.17g, strtod reads %s as %.17g\n", x, plain.c_str(), expected);
    FUZZ_CHECK(x == expected);

    // The same characters as UTF-16 units read the same.
    std::u16string wide(size, u'\0');
    for (std::size_t i = 0; i < size; ++i)
        wide[i] = static_cast<char16_t>(data[i]);
    const double wx = parseLeadingNumber(std::u16string_view(wide));
    FUZZ_CHECK(std::memcmp(&x, &wx, sizeof x) == 0);

    // The bytes taken as UTF-16 units, whatever they hold.
    std::u16string units(size / 2, u'\0');
    if (!units.empty())
        std::memcpy(units.data(), data, units.size() * 2);
    const double ux = parseLeadingNumber(std::u16string_view(units));

    checkNumber(x);
    checkNumber(ux);
    return 0;
}
