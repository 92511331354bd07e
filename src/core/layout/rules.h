// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rules on the drawing: bend radius, spacing, wall clearance, crossings
// and loop length, each violation with the place to mark it
// (docs/layout.md §6).

#include "core/layout/geometry.h"

#include <cstddef>
#include <limits>
#include <string>
#include <vector>

namespace zorva::layout {

enum class Rule {
    BendRadius,    // a bend tighter than factor × D
    Spacing,       // two pipes closer than the spacing
    WallClearance, // a pipe closer to a wall or no-pipe area than the clearance
    Crossing,      // pipes cross outside the leaders
    LoopLength,    // the loop is longer than the limit
    Uncovered,     // part of the loop area has no pipe near it
};

enum class Severity { Error, Warning, Info };

struct Violation {
    Rule rule = Rule::BendRadius;
    Severity severity = Severity::Error;
    Point position;                                             // where to mark it, mm
    std::size_t loop = std::numeric_limits<std::size_t>::max(); // the room's loop, if one
    double value = 0;    // what was found (mm, m or m²; docs/layout.md §6)
    double limit = 0;    // what the rule allows
    std::string message; // in Chinese
};

// The JSON name of a rule ("bendRadius", …).
const char* ruleKey(Rule rule);

// Which part of a loop a pipe piece is: crossings are allowed where a
// leader or connection is involved, spacing and clearance are kept by the
// heated pipe only.
enum class PieceKind { Heated, Connection, Leader };

struct PipePiece {
    Polyline points;
    PieceKind kind = PieceKind::Heated;
};

// One loop's pipe as the rules see it: its pieces in order along the pipe
// (each starting where the previous ended) and its limits.
struct CheckedLoop {
    std::vector<PipePiece> pieces;
    double spacing = 200;       // the smallest spacing laid in the loop, mm
    double minBendRadius = 100; // mm
    double routedLength = 0;    // m
    double maxLength = 120;     // m
    double uncoveredArea = 0;   // m²
    double heatedArea = 0;      // m²
    Point mark;                 // where loop-wide findings are marked
};

// Walls and no-pipe areas the heated pipe keeps its clearance from.
struct CheckedRoom {
    std::vector<Polygon> walls; // the outline and each no-pipe area
    double clearance = 100;     // mm
    std::vector<CheckedLoop> loops;
};

// Every violation in the room, loop by loop. Tolerances: 1 mm on spacing
// and clearance, 0.5 mm on bend radii; a run of findings along the same
// pair of pipes is reported once per spacing length.
std::vector<Violation> checkRoom(const CheckedRoom& room);

// The largest bend radius the corner at b (between the segments ab and bc)
// can take when each bend may use half of the segments beside it, mm
// (infinite on a straight line).
double availableBendRadius(Point a, Point b, Point c);

} // namespace zorva::layout
