// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Characteristic curves of a design: the heat output per m² and the mean
// floor surface temperature against the mean water temperature minus the
// room temperature, for a family of pipe spacings and a family of floor
// coverings. Every point is one whole Calculate run on a copy of the field
// texts with the supply and return temperatures moved together (their
// difference kept); a point whose run faults or does not converge is a gap.

#include "core/engine/evaluation.h"
#include "core/engine/inputs.h"

#include <array>
#include <vector>

namespace zorva {

// The pipe spacings of the spacing family, mm.
inline constexpr std::array<double, 5> kFamilySpacings{100, 150, 200, 250, 300};

// The surface materials of the covering family and their conductivities,
// W/(m·℃), as the construction window's tooltip names them.
struct CoveringMaterial {
    const char* name; // UTF-8
    double conductivity;
};
inline constexpr std::array<CoveringMaterial, 4> kCoveringMaterials{{
    {"大理石", 2.91},
    {"瓷砖", 1.10},
    {"木质地板", 0.14},
    {"化纤地毯", 0.036},
}};

// The highest supply temperature the curves reach, ℃.
inline constexpr double kCurveTopSupplyTemp = 60;
// Points of a curve between the lowest mean-water excess with a result (0 K
// or above) and the top supply temperature, both ends included.
inline constexpr int kCurveIntervals = 42;
// At most this many points below that lowest excess, where the mean water
// temperature is below the room temperature and every run faults.
inline constexpr int kMaxPointsBelowZero = 40;

struct CurvePoint {
    double excess = 0;     // x: mean water temperature − room temperature, K
    double supplyTemp = 0; // ℃, as written into the supply field
    double returnTemp = 0; // ℃, as written into the return field
    RunStatus status = RunStatus::Faulted;
    float heatOutput = 0;   // W/m², meaningful when converged
    double surfaceTemp = 0; // ℃, meaningful when converged

    bool hasResult() const { return status == RunStatus::Converged; }
};

enum class CurveFamily { Spacing, Covering };

struct Curve {
    // The pipe spacing (mm) or the surface-layer conductivity (W/(m·℃)).
    double parameter = 0;
    // Index into kCoveringMaterials for a covering curve of a named material;
    // -1 for spacing curves and for the current covering when it is none of
    // the named materials.
    int material = -1;
    // The curve of the construction the windows hold now.
    bool current = false;
    std::vector<CurvePoint> points;
};

// Where the points of every curve lie. The x range runs from supply = room
// temperature (x = −difference/2) to supply = 60 ℃.
struct CurveGrid {
    double roomTemp = 0;
    double tempDiff = 0; // supply − return, kept at every point
    double xMin = 0;     // supply at the room temperature
    double xMax = 0;     // supply at 60 ℃
    double low = 0;      // the lowest x with a possible result: max(xMin, 0)
    double step = 0;
    int below = 0; // points below `low`, where every run faults
    int count = 0; // points per curve

    // x of point i: low + (i − below)·step, the last one exactly xMax.
    double x(int i) const { return i == count - 1 ? xMax : low + (i - below) * step; }
};

struct CurveSet {
    CurveGrid grid;
    std::vector<Curve> spacing;  // kFamilySpacings, then the current one if extra
    std::vector<Curve> covering; // kCoveringMaterials, then the current one if extra
};

// The grid for a room temperature and a supply–return difference. With the
// room at or above 60 ℃ the grid is empty (count 0).
CurveGrid curveGrid(double roomTemp, double tempDiff);

// Both families for the design held by `fields`. The vectors of `out` are
// reused, so a recomputation of a design of the same shape allocates
// nothing.
void computeCurves(const FieldRecord& fields, CurveSet& out);
CurveSet computeCurves(const FieldRecord& fields);

} // namespace zorva
