// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The floor plan a project holds for the loop layout: manifolds, and rooms
// as outlines with their doors, no-pipe areas and layout settings. Plain
// values, in millimetres (docs/layout.md §1).

#include "core/layout/geometry.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace zorva::layout {

enum class Pattern {
    Spiral,     // 回形: counter-flow spiral, supply in and return out alternating
    Serpentine, // 往复形: supply and return side by side in runs to and fro
};

struct LayoutSettings {
    Pattern pattern = Pattern::Spiral;
    double spacing = 200; // mm between neighbouring pipes (管间距)
    // Pipe centre to a wall or a no-pipe area, mm.
    double wallClearance = 100;
    // The peripheral zone (边缘区) along the room's outer walls, at most
    // 1000 mm wide by EN 1264; 0 lays no zone.
    double peripheralWidth = 0;
    double peripheralSpacing = 100; // mm
    double pipeDiameter = 20;       // outside diameter, mm
    // The smallest bend radius as a multiple of the outside diameter.
    double bendRadiusFactor = 5;
    double maxLoopLength = 120; // m, leaders included (JGJ 142 §3.5)
    // Centre distance of leader pipes running side by side, mm.
    double leaderPitch = 50;
    friend bool operator==(const LayoutSettings&, const LayoutSettings&) = default;
};

// A door (or any opening the leaders pass through): the middle of the
// opening on the room's outline and its clear width, mm.
struct Door {
    Point position;
    double width = 900;
    friend bool operator==(const Door&, const Door&) = default;
};

// Fixed furniture, a shower tray or any area without pipes.
struct NoPipeArea {
    Polygon outline;
    std::string label;
    friend bool operator==(const NoPipeArea&, const NoPipeArea&) = default;
};

struct Manifold {
    std::string name;
    Point position;
};

struct Room {
    std::string name;
    Polygon outline;
    std::vector<Door> doors;
    std::vector<NoPipeArea> noPipeAreas;
    // Edges of the outline along outer walls: edge i runs from outline[i] to
    // outline[i + 1]. The peripheral zone lies along these.
    std::vector<std::size_t> outerWalls;
    LayoutSettings settings;
    std::size_t manifold = 0;   // index into Plan::manifolds
    std::size_t leaderDoor = 0; // the door the leaders pass through
    // Dividing lines between loop areas as the user left them; empty lets
    // the layout divide the room when one loop cannot serve it. Each line
    // divides every loop area it passes through, along the whole line
    // through its two points.
    std::vector<Segment> dividers;
    // Without dividers: the number of loop areas the design asks for (the
    // layout divides the room into that many, not more); 0 lets the layout
    // choose as many as the length limit needs.
    std::size_t loopCount = 0;
    // The leaders' path from the door to the manifold as the user drew it;
    // empty lets the layout draw it.
    Polyline leaderPath;
    friend bool operator==(const Room&, const Room&) = default;
};

struct Plan {
    std::vector<Manifold> manifolds;
    std::vector<Room> rooms;
};

} // namespace zorva::layout
