// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Automatic loop layout of rooms: loop areas, pipe patterns, leaders to the
// manifold, measured lengths and the rules on the drawing
// (docs/layout.md). Pure functions of the plan: a caller may route rooms on
// several threads, and re-routes only the room whose outline changed.

#include "core/layout/plan.h"
#include "core/layout/rules.h"

#include <cstddef>
#include <string>
#include <vector>

namespace zorva::layout {

// One loop as laid. Lengths in m, areas in m² (JSON keys in docs/layout.md
// §7). The pipe runs: manifold → supplyLeader → door → supplyConnection →
// heated (turning at heated[turnIndex]) → returnConnection → door →
// returnLeader → manifold.
struct RoutedLoop {
    std::string label;                 // "<room>-<n>", n from 1
    Pattern pattern = Pattern::Spiral; // as laid (a serpentine may fall back)
    double spacing = 0;                // mm
    Polygon area;                      // the loop area
    Polyline supplyLeader;             // manifold to door
    Polyline supplyConnection;         // door to the start of the heated pipe
    Polyline heated;
    std::size_t turnIndex = 0;
    Polyline returnConnection; // end of the heated pipe to the door
    Polyline returnLeader;     // door to manifold

    double heatedArea = 0;         // m², the loop area (no-pipe areas left out)
    double uncoveredArea = 0;      // m², farther than the spacing from every pipe
    double heatedLength = 0;       // m
    double connectionLength = 0;   // m, both connections inside the room
    double supplyLeaderLength = 0; // m
    double returnLeaderLength = 0; // m
    double routedLength = 0;       // m, the whole loop
    bool withinLengthLimit = true;
    std::vector<std::string> notes;
};

// The supply half: leader, connection and heated pipe up to the turn.
Polyline supplyPipe(const RoutedLoop& loop);
// The return half from the turn back to the manifold.
Polyline returnPipe(const RoutedLoop& loop);
// The whole loop from the manifold back to it.
Polyline wholePipe(const RoutedLoop& loop);

enum class RoomStatus {
    Routed,
    BadOutline,   // the outline is not a simple polygon
    BadSettings,  // a spacing, clearance or diameter that is not a positive length
    NoManifold,   // the room's manifold does not exist
    NothingToLay, // no loop area holds a ring of pipe
};

struct RoomLayout {
    RoomStatus status = RoomStatus::NothingToLay;
    std::string reason;            // in Chinese when not Routed
    Point door;                    // where the leaders leave the room
    Polyline leaderPath;           // door to manifold, as used
    std::vector<Segment> dividers; // as used; automatic ones when the room had none
    std::vector<RoutedLoop> loops;
    std::vector<Violation> violations;
    std::vector<std::string> notes; // for the user, in Chinese
};

// Lays the room's loops. Without dividers of its own, a room that one loop
// cannot serve within the length limit is divided into as many loop areas
// of equal area as it takes (at most 16).
RoomLayout routeRoom(const Plan& plan, std::size_t roomIndex);

// Every room, in order.
std::vector<RoomLayout> routePlan(const Plan& plan);

} // namespace zorva::layout
