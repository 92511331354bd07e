// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Checked floating-point arithmetic for the heat calculation.
//
// Every step that can leave the real numbers (a division by zero, a result
// beyond the range of its type, a power or logarithm without a real value)
// throws ArithmeticError naming the fault, so that the caller stops at that
// step and never sees NaN or infinity.

#include <cmath>
#include <exception>
#include <limits>

namespace zorva {

enum class Fault { DivisionByZero, Overflow, InvalidPower, InvalidLogarithm };

class ArithmeticError : public std::exception {
public:
    explicit ArithmeticError(Fault fault) noexcept : fault_(fault) {}
    Fault fault() const noexcept { return fault_; }
    const char* what() const noexcept override;

private:
    Fault fault_;
};

[[noreturn]] void raise(Fault fault);

namespace checked {

inline double finite(double v) {
    if (!std::isfinite(v)) [[unlikely]]
        raise(Fault::Overflow);
    return v;
}

inline double add(double a, double b) {
    return finite(a + b);
}
inline double sub(double a, double b) {
    return finite(a - b);
}
inline double mul(double a, double b) {
    return finite(a * b);
}

// A quotient is finite unless the divisor is zero or the result overflows,
// so the divisor is only looked at when the quotient is not finite.
inline double div(double a, double b) {
    const double r = a / b;
    if (!std::isfinite(r)) [[unlikely]]
        raise(b == 0.0 ? Fault::DivisionByZero : Fault::Overflow);
    return r;
}

// Float division, computed and rounded in single precision.
inline float divf(float a, float b) {
    const float r = a / b;
    if (!std::isfinite(r)) [[unlikely]]
        raise(b == 0.0f ? Fault::DivisionByZero : Fault::Overflow);
    return r;
}

// Stores a double into a float variable: rounds to 32 bits, and a value
// beyond the float range is an overflow.
inline float toFloat(double v) {
    finite(v);
    const float f = static_cast<float>(v);
    if (!std::isfinite(f)) [[unlikely]]
        raise(Fault::Overflow);
    return f;
}

// base ^ exponent with the real-valued rules of the calculator: a negative
// base needs a whole exponent, and zero to a negative power divides by zero.
inline double power(double base, double exponent) {
    finite(base);
    finite(exponent);
    if (base < 0.0 && std::trunc(exponent) != exponent)
        raise(Fault::InvalidPower);
    if (base == 0.0 && exponent < 0.0)
        raise(Fault::DivisionByZero);
    return finite(std::pow(base, exponent));
}

inline double square(double v) {
    return mul(v, v);
}

inline double log(double v) {
    finite(v);
    if (!(v > 0.0))
        raise(Fault::InvalidLogarithm);
    return finite(std::log(v));
}

} // namespace checked
} // namespace zorva
