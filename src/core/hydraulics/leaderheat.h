// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The heat a pair of leader pipes (连接管, supply and return between the
// manifold and the heated area) gives to a room it crosses
// (docs/en1264-design.md, "Leader pipes"). The heat per metre of one pipe
// is that of an isolated pipe in the crossed room's floor, K' (W/(m·K)),
// which the caller takes from EN 1264-2 at the widest table spacing:
// K' = K_H(T = 0.375 m)·0.375 m. Mutual shading of the two pipes is
// ignored, so the figure is an upper estimate. The loop's flow is not
// changed by it.

namespace zorva::hydraulics {

// The widest spacing of the EN 1264-2 tables, at which the output per
// metre of pipe no longer depends on the spacing, m.
inline constexpr double kIsolatedPipeSpacing = 0.375;

struct LeaderHeat {
    double heat = 0;             // Q_L, W
    double drop = 0;             // ΔT_L = Q_L/(ṁ·c_W), K, on the way back to the manifold
    double returnAtManifold = 0; // θ_R − ΔT_L, ℃
    double share = 0;            // Q_L/(ṁ·c_W·σ), of the loop's water heat
};

// Q_L = l·K'·[(θ_V − θ_i,x) + (θ_R − θ_i,x)] for a pair of length `length`
// (m) in a room at `roomTemp`, with the loop's supply and return
// temperatures (℃). The drop, the return at the manifold and the share need
// a positive mass flow (kg/s) and temperature drop σ (K); without them they
// stay 0 and the return at the manifold is the loop's return.
LeaderHeat leaderHeat(double conductance, double length, double supplyTemp, double returnTemp,
                      double roomTemp, double massFlow, double drop);

} // namespace zorva::hydraulics
