// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The characteristic field of EN 1264-2 for the curve window: heat flux q
// against the log-mean excess Δθ_H for a family of spacings and a family of
// floor coverings, each line with its limit point, and the limit curves
// q_G(Δθ_H) = φ·B_G·(Δθ_H/φ)^n_G for the floor temperature limit
// (docs/en1264-design.md, "Characteristic field"). Plain series of points.

#include "core/en1264/floor.h"

#include <array>
#include <optional>
#include <vector>

namespace zorva::en1264 {

// The spacings (m) and coverings R_λ,B (m²·K/W) of the families; the
// design's own value is added when it is none of them.
inline constexpr std::array<double, 5> kFieldSpacings{0.10, 0.15, 0.20, 0.25, 0.30};
inline constexpr std::array<double, 4> kFieldCoverings{0, 0.05, 0.10, 0.15};

struct FieldPoint {
    double excess = 0;   // Δθ_H, K
    double heatFlux = 0; // q, W/m²
};

// One characteristic line q = K_H·Δθ_H.
struct FieldLine {
    double spacing = 0;            // T, m
    double coveringResistance = 0; // R_λ,B, m²·K/W
    bool current = false;          // the design's own floor
    En1264Applicability applicability = En1264Applicability::Applicable;
    unsigned flags = 0;             // En1264Flag bits
    double characteristic = 0;      // K_H, W/(m²·K)
    double limitExcess = 0;         // Δθ_H,G, K: where the line meets its limit curve
    double limitFlux = 0;           // q_G, W/m²
    std::vector<FieldPoint> points; // on the grid; empty when not applicable
};

// The limit curve of one spacing; the same for every covering, since B_G and
// n_G depend on the spacing and the screed only. For spacings above 0.375 m
// the curve is not drawn (only its lines' limit points count): the wide-spacing
// rule scales the limit point, not a curve.
struct LimitCurve {
    double spacing = 0;             // T, m
    double b = 0;                   // B_G, W/m²
    double n = 0;                   // n_G
    double phi = 0;                 // φ
    std::vector<FieldPoint> points; // on the grid
};

struct FieldGrid {
    double maxExcess = 40; // the last Δθ_H, K
    int intervals = 40;    // points: intervals + 1, from 0
};

struct CharacteristicField {
    double roomTemp = 0;     // ℃
    double floorLimit = 0;   // θ_F,max, ℃
    double limitFluxMax = 0; // q_G,max, W/m²: no line goes above it within the limit
    FieldGrid grid;          // as used (held to 1 … 1000 intervals, a positive maximum)
    std::vector<FieldLine> spacingLines;   // at the design's covering, by spacing
    std::vector<LimitCurve> limitCurves;   // one per spacing line, in the same order
    std::vector<FieldLine> coveringLines;  // at the design's spacing, by covering
    std::optional<FieldPoint> designPoint; // the design's water temperatures on its own line
};

// `water`: the design's supply and return temperature (℃) for the design
// point; empty for none.
struct FieldWater {
    double supplyTemp = 0;
    double returnTemp = 0;
};

CharacteristicField characteristicField(const Floor& design, double roomTemp, double floorLimit,
                                        std::optional<FieldWater> water = std::nullopt,
                                        FieldGrid grid = {});

} // namespace zorva::en1264
