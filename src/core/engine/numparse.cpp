// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/engine/numparse.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <limits>
#include <system_error>

namespace zorva {
namespace {

// Decimal digits kept for the conversion. A double's rounding boundary has
// at most 767 significant digits; beyond the kept ones a single sticky digit
// stands for any non-zero rest, which keeps the rounding exact.
constexpr int kKeptDigits = 780;
constexpr std::int64_t kExponentCap = 100000;

// The exact fast path: 15 digits and powers of ten up to 10^22 are all
// exactly representable in a double.
constexpr int kFastDigits = 15;
constexpr int kFastPower = 22;
constexpr double kPowersOfTen[kFastPower + 1] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                 1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

template <typename Char> class Cursor {
public:
    explicit Cursor(std::basic_string_view<Char> text) : text_(text) { skipBlanks(); }

    bool atEnd() const { return pos_ >= text_.size(); }
    char32_t peek() const { return atEnd() ? 0 : static_cast<char32_t>(text_[pos_]); }
    void advance() {
        ++pos_;
        skipBlanks();
    }
    std::size_t position() const { return pos_; }
    void rewind(std::size_t pos) { pos_ = pos; }

private:
    void skipBlanks() {
        while (pos_ < text_.size() &&
               (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n'))
            ++pos_;
    }

    std::basic_string_view<Char> text_;
    std::size_t pos_ = 0;
};

bool isDigit(char32_t c) {
    return c >= '0' && c <= '9';
}

template <typename Char> double parse(std::basic_string_view<Char> text) noexcept {
    Cursor<Char> in(text);

    bool negative = false;
    if (in.peek() == '+' || in.peek() == '-') {
        negative = in.peek() == '-';
        in.advance();
    }

    // Significant digits as 0.d1d2d3... x 10^scale.
    std::array<char, kKeptDigits + 1> digits; // only the first `kept` are used
    int kept = 0;
    bool sticky = false;
    bool anyDigit = false;
    bool seenPoint = false;
    std::int64_t scale = 0;
    std::uint64_t mantissa = 0; // the first kFastDigits significant digits
    for (;;) {
        const char32_t c = in.peek();
        if (isDigit(c)) {
            anyDigit = true;
            if (kept == 0 && c == '0') {
                if (seenPoint)
                    --scale; // a zero between the point and the first significant digit
            } else {
                if (kept < kFastDigits)
                    mantissa = mantissa * 10 + (c - '0');
                if (kept < kKeptDigits)
                    digits[kept++] = static_cast<char>(c);
                else if (c != '0')
                    sticky = true;
                if (!seenPoint && scale < kExponentCap)
                    ++scale;
            }
            in.advance();
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
            in.advance();
        } else {
            break;
        }
    }
    if (!anyDigit || kept == 0)
        return 0.0;

    // Exponent: E or D, an optional sign and at least one digit.
    const char32_t e = in.peek();
    if (e == 'E' || e == 'e' || e == 'D' || e == 'd') {
        const std::size_t mark = in.position();
        in.advance();
        bool expNegative = false;
        if (in.peek() == '+' || in.peek() == '-') {
            expNegative = in.peek() == '-';
            in.advance();
        }
        if (isDigit(in.peek())) {
            std::int64_t exponent = 0;
            while (isDigit(in.peek())) {
                if (exponent < kExponentCap)
                    exponent = exponent * 10 + (in.peek() - '0');
                in.advance();
            }
            scale += expNegative ? -exponent : exponent;
        } else {
            in.rewind(mark);
        }
    }

    // Most field texts are short: up to 15 digits are exact in a double, as
    // are the powers of ten up to 10^22, so one multiplication or division
    // gives the correctly rounded value.
    const std::int64_t exponent10 = scale - kept;
    if (kept <= kFastDigits && exponent10 >= -kFastPower && exponent10 <= kFastPower) {
        const double m = static_cast<double>(mantissa);
        const double value =
            exponent10 >= 0 ? m * kPowersOfTen[exponent10] : m / kPowersOfTen[-exponent10];
        return negative ? -value : value;
    }

    std::array<char, kKeptDigits + 32> buf;
    char* out = buf.data();
    *out++ = '0';
    *out++ = '.';
    for (int i = 0; i < kept; ++i)
        *out++ = digits[i];
    if (sticky)
        *out++ = '1';
    *out++ = 'e';
    out = std::to_chars(out, buf.data() + buf.size(), scale).ptr;

    double value = 0.0;
    const auto result = std::from_chars(buf.data(), out, value);
    if (result.ec == std::errc::result_out_of_range)
        value = scale > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -value : value;
}

} // namespace

double parseLeadingNumber(std::string_view text) noexcept {
    return parse(text);
}
double parseLeadingNumber(std::u16string_view text) noexcept {
    return parse(text);
}

} // namespace zorva
