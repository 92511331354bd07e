// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What computeProject() gives (docs/project.md, "Results"): per room its
// heat load with the breakdown and its loop design, per manifold every loop
// (manual and derived) by the project's method with the EN 1264-3 design of
// the manifold where the method is EN 1264-2, and the totals. Plain values.

#include "core/en1264/designresult.h"
#include "core/heatload/loadresult.h"
#include "core/method/loopresult.h"
#include "core/method/method.h"
#include "core/project/coolingresult.h"
#include "core/project/hydraulicsresult.h"
#include "core/project/planresult.h"
#include "core/project/project.h"
#include "core/project/rebalanceresult.h"
#include "core/rooms/roomdesign.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace zorva::project {

// Why a room has no load.
enum class LoadProblem {
    None,
    NoTypedLoad,    // the load is typed and none is given
    NoOutdoorTemp,  // computed, and neither a typed outdoor temperature nor a station
    UnknownStation, // the station is not in the city table
    Refused,        // the method refused the envelope: computed->faults
};

struct RoomLoad {
    rooms::LoadSource source = rooms::LoadSource::Typed;
    LoadProblem problem = LoadProblem::None;
    std::optional<heatload::HeatLoadResult> computed; // the method's result, when computed
    double heatLoad = 0;                              // W, the room's load (the totals add these)
    double loadForLoops = 0; // W, what the loops must give (GB: + the inter-dwelling allowance)
    bool ok() const { return problem == LoadProblem::None; }
};

// Why a room has no loops.
enum class RoomProblem {
    None,
    Load,       // see load.problem
    NoManifold, // its manifold index names no manifold
    Design,     // the loop design refused it: see design.fault
};

struct RoomResult {
    RoomProblem problem = RoomProblem::Load;
    RoomLoad load;
    rooms::RoomDesign design; // spacing, split and the overrides' marks
    std::size_t manifold = 0;
    std::vector<std::size_t> loops;          // positions in its manifold's loops
    std::optional<std::size_t> standardRoom; // index into the manifold's design.rooms
    // W the loops do not give by the method: the loop design's shortfall
    // and, by EN 1264-3, the design's own; by the program's method what the
    // loops' runs leave of the load.
    double supplementaryHeat = 0;
    RoomPlanResult plan; // the loop layout, for a room with an outline
    bool designed() const { return problem == RoomProblem::None; }
};

enum class LoopOrigin {
    Manual, // a row of the manifold's table
    Room,   // designed from a room
};

// A loop's numbers as every table shows them, whichever the method.
struct LoopFigures {
    double supplyTemp = 0;                // ℃ (EN: the design supply temperature)
    double drop = 0;                      // σ, K
    double returnTemp = 0;                // ℃
    double area = 0;                      // m²
    double length = 0;                    // m
    double heatOutput = 0;                // q, W/m²
    std::optional<double> downwardOutput; // q_u, W/m² (EN)
    double floorTempMean = 0;             // ℃
    double floorLimit = 0;                // ℃, the limit of the method
    double limitOutput = 0;               // W/m², q at that limit (EN: q_G)
    bool withinLimit = false;
    double loopOutput = 0;        // W into the room
    double flowKgh = 0;           // kg/h
    double flowLpm = 0;           // l/min
    double velocity = 0;          // m/s
    double pressureDrop = 0;      // kPa
    double supplementaryHeat = 0; // W
};

struct ProjectLoop {
    std::string name;
    LoopOrigin origin = LoopOrigin::Manual;
    std::size_t source = 0; // the manual loop's index, or the room's
    std::size_t number = 0; // the loop's index in its room
    LoopInput input;        // as computed: room temperature, spacing, length, load
    RoomCategory category = RoomCategory::LongStay;
    // By the method at the manifold's supply temperature and difference.
    method::MethodLoopResult sheet;
    std::optional<std::size_t> standardLoop; // index into the design's loops (EN)
    bool computed = false;
    LoopFigures figures; // when computed
    // Balancing, on the computed loops.
    bool indexLoop = false;
    std::optional<double> valveKpa; // pressure its valve must add
    std::optional<double> meterLpm; // flow-meter setting
};

struct ManifoldTotals {
    std::size_t loops = 0;
    std::size_t computed = 0;
    double supplyTemp = 0;        // ℃ the loops run at (EN: the design supply temperature)
    double area = 0;              // m²
    double output = 0;            // W into the rooms
    double waterOutput = 0;       // W the water carries (EN: with the downward loss)
    double flowKgh = 0;           // kg/h
    double flowLpm = 0;           // l/min
    double mixedReturnTemp = 0;   // ℃
    double supplementaryHeat = 0; // W
    std::optional<std::size_t> indexLoop;
    double maxPressureDrop = 0; // kPa
    double pumpHeadKpa = 0;     // + the manifold's allowance
    double pumpHeadM = 0;
};

struct ManifoldResult {
    std::vector<ProjectLoop> loops; // manual loops first, then the rooms' in room order
    std::optional<en1264::ManifoldDesign> design; // EN 1264-3, with EN 1264-2
    // The design's supply temperature above the manifold's: the rooms' loops
    // were laid for the manifold's.
    bool designAboveSupply = false;
    ManifoldTotals totals;
    ManifoldHydraulicsResult hydraulics; // presetting, flow meters, pump, mixing
    ManifoldRebalanceResult rebalance;   // measured against the design, proposed settings
};

struct ProjectTotals {
    std::size_t rooms = 0;
    std::size_t roomsDesigned = 0;
    double heatLoad = 0;          // W, Σ room loads
    double supplementaryHeat = 0; // W, rooms and manual loops
    std::size_t loops = 0;
    std::size_t computed = 0;
    double output = 0;      // W
    double waterOutput = 0; // W
    double flowKgh = 0;     // kg/h
};

struct ProjectResult {
    method::Method method = method::Method::Program;
    LoadMethod loadMethod = LoadMethod::Typed;
    std::optional<double> outdoorTemp;    // ℃ the loads were computed with
    std::optional<double> winterSunshine; // %
    std::vector<RoomResult> rooms;
    std::vector<ManifoldResult> manifolds;
    ProjectTotals totals;
    CoolingResult cooling;     // empty unless the season includes cooling
    MaterialsResult materials; // the bill with its cutting plan
    bool cancelled = false;    // stopped by the progress callback: the rest is empty
};

} // namespace zorva::project
