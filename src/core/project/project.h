// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A design project (docs/project.md): the settings, the manifolds with
// their inputs and manual loops, and the rooms with their data, envelope,
// overrides and the manifold that serves them. The loops of a room are not
// stored: computeProject() designs them from the room every time, so they
// are never stale. A project without rooms and with one manifold is the
// manifold sheet of today.
//
// Each capability keeps its settings in a member of its own (`heatLoad`,
// `conditions`, `standard` of the settings; `below`, `envelope` of a room),
// so that a later one adds a member and its file section beside them.
// Plain values; no Qt.

#include "core/en1264/below.h"
#include "core/en1264/designinput.h"
#include "core/engine/designcheck.h"
#include "core/engine/manifold.h"
#include "core/heatload/envelope.h"
#include "core/hydraulics/pipeflow.h"
#include "core/method/method.h"
#include "core/project/coolinginputs.h"
#include "core/project/hydraulicsinputs.h"
#include "core/project/planinputs.h"
#include "core/project/rebalanceinputs.h"
#include "core/rooms/room.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace zorva::project {

// Where the rooms' heat loads come from (docs/heat-load.md).
enum class LoadMethod {
    Typed,   // every room's load as typed
    Gb50736, // GB 50736-2012 §5.2 with JGJ 142-2012 §3.3
    En12831, // EN 12831-1:2017, simplified room method
};

// The place of the project: a station of the city table (GB 50736-2012
// Appendix A) or a typed outdoor design temperature, which wins.
struct Climate {
    std::string stationId;                            // the city table's station_id; empty: none
    std::string place;                                // the name the user picked it by, shown only
    std::optional<double> outdoorTemp = std::nullopt; // typed t_wn / θ_e, ℃
    std::optional<double> winterSunshine = std::nullopt; // typed, %; GB only
};

struct HeatLoadSettings {
    LoadMethod method = LoadMethod::Gb50736;
    Climate climate;
    // Their outdoorTemp and winterSunshine are not read: the pipeline takes
    // them from `climate`. `gb.allowance` and `gb.allowanceShare` are the
    // JGJ 142-2012 §3.3 floor-heating allowance.
    heatload::Gb50736Options gb;
    heatload::En12831Options en;
};

// The rules a room's loops are designed within (docs/heat-load.md §6).
struct RoomConditions {
    std::vector<double> spacings{0.10, 0.15, 0.20, 0.25, 0.30}; // allowed, m
    double maxLoopLength = 120;                                 // m, JGJ 142-2012 §3.5
    double maxPressureDrop = 30;                                // kPa
};

// The EN 1264-3 design of a manifold (docs/en1264-design.md). The fixed
// pair of FixedPair is the manifold's supply temperature and difference,
// its candidate spacings the room conditions' spacings.
struct StandardDesign {
    en1264::DesignMode mode = en1264::DesignMode::DesignRoom;
    double designDrop = 5;  // σ_des, K
    double minimumDrop = 2; // σ_min, K
    hydraulics::FrictionLaw friction = hydraulics::FrictionLaw::Blasius;
    double roughness = 0.007e-3; // ε, m
    double connectionLoss = hydraulics::kConnectionLoss;
    double bendLoss = hydraulics::kBendLoss;
};

struct Settings {
    // A new project designs by the standard; a file without a method is read
    // with the program's own (io/projectfile).
    method::Method method = method::Method::En1264;
    HeatLoadSettings heatLoad;
    RoomConditions conditions;
    StandardDesign standard;
    PlanBackground planBackground; // what the floor plan was drawn over
    CoolingSettings cooling;       // the season and the dew-point margin
    MaterialsInputs materials;     // the bill's rolls and options
    std::string extraKeys;         // the file's keys this version does not know (JSON object text)
};

// A loop typed into a manifold's table, as the manifold sheet holds it.
struct ManualLoop {
    LoopInput input;
    std::string extraKeys; // the file's keys this version does not know (JSON object text)
};

struct Manifold {
    std::string name;
    ManifoldInput input; // supply, difference, construction, pipe, elbows, allowance
    std::vector<ManualLoop> loops;
    // What lies under the manual loops, for their downward loss by EN 1264-2
    // (rooms have their own).
    en1264::Below manualBelow;
    ManifoldPlan plan;                   // its place on the floor plan
    ManifoldCooling cooling;             // the chilled water
    ManifoldHydraulicsInputs hydraulics; // valve, connection, body, pump, mixing station
    RebalanceInputs rebalance;           // what was measured after commissioning
    std::string extraKeys;
};

struct Room {
    std::string name;
    RoomCategory category = RoomCategory::LongStay;
    double indoorTemp = 18;           // ℃
    double floorArea = 0;             // m²
    double heatedArea = 0;            // m², free of fixed furniture
    double coveringResistance = 0.10; // R_λ,B, m²·K/W
    en1264::Below below;              // what lies under the floor
    double leaderLength = 0;          // one way, the room's door to the manifold, m
    std::optional<rooms::PeripheralZone> peripheral = std::nullopt;
    // The load as typed, W. It is the room's load when the project's loads
    // are typed or the room has no envelope.
    std::optional<double> typedLoad = std::nullopt;
    // The envelope for a computed load; its name, indoorTemp and floorArea
    // are not read: they are the room's.
    std::optional<heatload::RoomEnvelope> envelope = std::nullopt;
    rooms::RoomOverrides overrides;
    std::size_t manifold = 0;      // index into Project::manifolds
    RoomPlan plan;                 // its outline on the floor plan, when drawn
    RoomCooling cooling;           // the cooling design state and sensible load
    RoomMaterialsInputs materials; // perimeter, screed, thermostat for the bill
    std::string extraKeys;
};

struct Project {
    Settings settings;
    std::vector<Manifold> manifolds;
    std::vector<Room> rooms;
    std::string extraKeys;
};

// A new project: the standard method, one manifold "分集水器1" with the
// sheet's defaults, no rooms.
Project newProject();

// Whether a room's load is computed from its envelope: the project's loads
// are computed and the room has an envelope.
bool loadComputed(const Project& project, const Room& room);

const char* loadMethodKey(LoadMethod method); // "typed", "gb50736", "en12831"
bool loadMethodFromKey(const std::string& key, LoadMethod& out);
const char* loadMethodName(LoadMethod method); // 输入值, GB 50736-2012, EN 12831-1:2017

} // namespace zorva::project
