// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The EN 1264-3 relations between the log-mean excess Δθ_H of a loop, its
// temperature drop σ and the supply excess Δθ_V = θ_V − θ_i
// (docs/en1264-design.md, "Design supply temperature" and "Temperature drop
// of the other rooms"). Plain arithmetic on doubles.

namespace zorva::en1264 {

// Which form gave Δθ_V: σ/Δθ_H ≤ 0.5 uses Δθ_V = Δθ_H + σ/2; above it the
// second-order form Δθ_H + σ/2 + σ²/(12·Δθ_H).
enum class SupplyForm { Linear, Quadratic };

SupplyForm supplyForm(double excess, double drop);

// Δθ_V for Δθ_H > 0 and σ ≥ 0, K.
double supplyExcess(double excess, double drop);

// How a room's σ was found.
enum class DropRule {
    DesignRoom, // the room that sets the supply temperature: σ_des
    Linear,     // σ = 2·(Δθ_V − Δθ_H), the inverse of the linear form
    Quadratic,  // σ = 3·Δθ_H·[√(1 + 4·(Δθ_V − Δθ_H)/(3·Δθ_H)) − 1]
    Minimum,    // not covered, or σ below σ_min: σ_min and a lower output
    FixedPair,  // one supply/return pair for every loop: σ = θ_V − θ_R
};

// The σ that gives a room with log-mean excess Δθ_H the supply excess Δθ_V,
// by the inverse of supplyExcess: Linear when the linear value σ₁₀ =
// 2·(Δθ_V − Δθ_H) has σ₁₀/Δθ_H ≤ 0.5, otherwise Quadratic. Empty when
// Δθ_V ≤ Δθ_H (the supply is too cold for the room) or Δθ_H ≤ 0.
struct DropSolution {
    double drop = 0; // σ, K
    DropRule rule = DropRule::Linear;
};
bool dropForSupply(double supplyExcess, double excess, DropSolution& out);

} // namespace zorva::en1264
