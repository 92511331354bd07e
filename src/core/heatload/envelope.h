// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The inputs of a room's design heat load: its envelope elements and the
// room itself, as a project model holds them, and the project's options for
// each of the two methods (docs/heat-load.md §1). Areas are typed by the
// user; nothing here is derived from a plan.

#include <optional>
#include <string>
#include <vector>

namespace zorva::heatload {

enum class ElementKind {
    OuterWall, // 外墙
    Window,    // 外窗
    Door,      // 外门 (or a balcony door: no outer-door addition)
    Roof,      // 屋顶
    Floor,     // 地面、楼板
    Partition, // 内墙、隔墙
};

// What lies on the other side of the element.
enum class Boundary {
    Outdoors,         // outdoor air
    UnheatedSpace,    // GB: α; EN: f_x (default 0.5)
    Ground,           // GB: α; EN: f_x (default 0.3)
    KnownTemperature, // a space whose temperature t_c is known (not heated)
    HeatedNeighbour,  // another heated room at t_c (GB 50736-2012 §5.2.5)
};

// The direction the outer face of a vertical element looks.
enum class Orientation { None, N, NE, E, SE, S, SW, W, NW };

// The entrance an outer door belongs to (GB 50736-2012 §5.2.6 outer-door
// addition); None for a balcony door or a door with an air curtain.
enum class DoorEntrance { None, OneDoor, TwoDoors, ThreeDoors, PublicMain };

enum class HeatingSystem { Floor, Radiators };

struct EnvelopeElement {
    std::string name;
    ElementKind kind = ElementKind::OuterWall;
    Boundary boundary = Boundary::Outdoors;
    double area = 0; // F, m²
    double u = 0;    // K (U), W/(m²·K)
    Orientation orientation = Orientation::None;
    // GB: temperature-difference correction for UnheatedSpace and Ground;
    // 1 for outdoors (docs/heat-load.md §2.1).
    double alpha = 1.0;
    // EN: typed f_x; empty takes the default of the boundary, or for
    // KnownTemperature/HeatedNeighbour (θ_int − θ_a)/(θ_int − θ_e).
    std::optional<double> fx = std::nullopt;
    // Temperature on the other side, ℃ (KnownTemperature, HeatedNeighbour).
    double adjacentTemp = 0;
    // GB orientation rate typed by the user; empty takes the default end of
    // the range (docs/heat-load.md §2.2).
    std::optional<double> orientationRate = std::nullopt;
    double otherRate = 0; // GB handbook extras, as a fraction (0.05 = 5 %)
    DoorEntrance entrance = DoorEntrance::None;
    // The floor the heating pipes lie in: not a loss of the room (JGJ 142
    // §3.3); its downward loss belongs to the loop.
    bool heatedFloor = false;
    // A wall or floor shared with another dwelling (inter-dwelling allowance).
    bool otherDwelling = false;
};

struct RoomEnvelope {
    std::string name;
    double indoorTemp = 18;                      // t_n / θ_int, ℃
    double floorArea = 0;                        // A, m²
    double height = 0;                           // h, m
    std::optional<double> volume = std::nullopt; // V, m³; empty: A·h
    HeatingSystem system = HeatingSystem::Floor;
    bool stairwell = false; // no height addition
    std::vector<EnvelopeElement> elements;
    // Infiltration (GB) or minimum ventilation (EN): air changes per hour,
    // or a typed air flow in m³/h that takes precedence.
    double airChanges = 0.5;
    std::optional<double> airFlow = std::nullopt;
    // GB partial-area heating: heated zone area / room area; empty or ≥ 0.75
    // is whole-floor heating.
    std::optional<double> heatedShare = std::nullopt;
    double heatingUpFlux = 0; // EN φ_hu, W/m² of floor area
};

// The floor-heating allowance of JGJ 142-2012 §3.3 on the GB load.
enum class FloorAllowance {
    None,            // the convective load (radiators)
    LowerIndoorTemp, // option A: every term at t_n − 2
    ShareOfLoad,     // option B: a share (0.90 … 0.95) of the convective load
};

struct Gb50736Options {
    double outdoorTemp = 0; // t_wn, ℃
    // Winter sunshine percentage of the place, %; below 35 the reduced
    // orientation ranges apply. Empty: the normal ranges.
    std::optional<double> winterSunshine = std::nullopt;
    double windRate = 0;         // β_f, 0 or 0.05 … 0.10
    int storeys = 1;             // n of the outer-door addition
    double intermittentRate = 0; // β_int
    FloorAllowance allowance = FloorAllowance::LowerIndoorTemp;
    double allowanceShare = 0.95; // option B
    bool interDwelling = false;
    double interDwellingDelta = 6; // Δt_hj, K
    double interDwellingCap = 0.5; // share of the room load
};

struct En12831Options {
    double outdoorTemp = 0;              // θ_e, ℃ (typed, no default)
    double thermalBridgeAddition = 0.10; // ΔU_TB, W/(m²·K)
};

} // namespace zorva::heatload
