// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/engine/checked.h"

namespace zorva {

const char* ArithmeticError::what() const noexcept {
    switch (fault_) {
    case Fault::DivisionByZero:
        return "division by zero";
    case Fault::Overflow:
        return "overflow";
    case Fault::InvalidPower:
        return "power without a real value";
    case Fault::InvalidLogarithm:
        return "logarithm of a non-positive number";
    }
    return "arithmetic error";
}

void raise(Fault fault) {
    throw ArithmeticError(fault);
}

} // namespace zorva
