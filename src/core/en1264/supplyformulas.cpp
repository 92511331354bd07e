// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/en1264/supplyformulas.h"

#include <cmath>

namespace zorva::en1264 {

SupplyForm supplyForm(double excess, double drop) {
    return drop / excess <= 0.5 ? SupplyForm::Linear : SupplyForm::Quadratic;
}

double supplyExcess(double excess, double drop) {
    const double linear = excess + drop / 2;
    if (supplyForm(excess, drop) == SupplyForm::Linear)
        return linear;
    return linear + drop * drop / (12 * excess);
}

bool dropForSupply(double supplyExcess, double excess, DropSolution& out) {
    if (!(excess > 0) || !(supplyExcess > excess))
        return false;
    const double gap = supplyExcess - excess;
    const double linear = 2 * gap;
    if (linear / excess <= 0.5) {
        out = {linear, DropRule::Linear};
        return true;
    }
    out = {3 * excess * (std::sqrt(1 + 4 * gap / (3 * excess)) - 1), DropRule::Quadratic};
    return true;
}

} // namespace zorva::en1264
