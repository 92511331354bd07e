// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing numbers as field text: the general decimal text and the fixed
// patterns "0", "0.0" and "0.00". The text lives in a fixed buffer, so
// formatting allocates nothing.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace zorva {

class NumberText {
public:
    // Long enough for the largest double written with two decimals.
    static constexpr std::size_t capacity = 340;

    std::string_view view() const noexcept { return {buf_.data(), len_}; }
    std::string str() const { return std::string(view()); }
    std::size_t size() const noexcept { return len_; }
    bool operator==(std::string_view other) const noexcept { return view() == other; }

    void push(char c) noexcept {
        if (len_ < capacity)
            buf_[len_++] = c;
    }

private:
    std::array<char, capacity> buf_{};
    std::size_t len_ = 0;
};

// The value rounded to 15 significant digits, without trailing zeros, a
// trailing point or grouping ("50", "90.6", "-31"). Where fixed notation
// would need more than 15 digits the exponent form is used ("1E+20",
// "1.5E-20"). The value must be finite.
NumberText generalText(double value);

// The value with exactly `decimals` decimals (the fields use 0, 1 and 2; the
// design check more at a limit), rounded half away from zero on its
// 15-significant-digit decimal form, at least one digit before the point, and
// a leading "-" for a negative value. The value must be finite.
NumberText patternText(double value, int decimals);

} // namespace zorva
