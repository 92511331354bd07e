// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bill of materials of a project (docs/materials.md): pipe per loop and
// per kind of pipe with its cutting plan onto the stocked rolls, manifolds
// by outlet count, insulation board, edge strip, pipe clips, screed,
// actuators and thermostats. Quantities as the design gives them; the
// waste shares the user enters are added where a material is cut to fit.

#include "core/materials/cutting.h"

#include <cstddef>
#include <string>
#include <vector>

namespace zorva::materials {

struct BillLoop {
    std::string name;         // UTF-8
    std::size_t room = 0;     // index into the rooms
    std::size_t manifold = 0; // index into the manifolds
    std::string pipe;   // the kind of pipe, e.g. "PE-X 20×2.0"; loops of one kind share rolls
    double lengthM = 0; // the loop's pipe, leaders included, m
};

struct BillRoom {
    std::string name;             // UTF-8
    double floorAreaM2 = 0;       // under insulation and screed, m²
    double perimeterM = 0;        // along the walls, for the edge strip, m
    double screedThicknessMm = 0; // 0: the bill's default
    bool thermostat = true;       // a room thermostat for the room's actuators
};

struct BillManifold {
    std::string name; // UTF-8
};

struct BillOptions {
    std::vector<double> rollLengthsM{100, 200, 300, 500};
    double loopAllowanceM = 0;   // added to every loop when cut, m
    std::size_t minOutlets = 2;  // the smallest manifold stocked
    std::size_t maxOutlets = 12; // the largest manifold stocked
    // A manifold with more loops than maxOutlets: split into as few
    // manifolds as needed with the loops shared evenly, or kept whole and
    // flagged.
    bool splitOversize = true;
    double insulationWaste = 0;    // share added to the board area
    double insulationBoardM2 = 0;  // area of one board; 0: area only
    double edgeStripWaste = 0;     // share added to the edge strip
    double edgeStripRollM = 0;     // length of one roll of strip; 0: length only
    double clipsPerMetre = 2;      // pipe clips per metre of pipe
    double screedThicknessMm = 50; // rooms without their own thickness
    double screedWaste = 0;        // share added to the screed volume
};

enum class MaterialKind {
    Pipe,            // m of one kind of pipe (the loops' sum)
    PipeRoll,        // rolls of one kind and length
    Manifold,        // manifolds of one outlet count
    InsulationBoard, // m², and boards when a board size is given
    EdgeStrip,       // m, and rolls when a roll length is given
    PipeClip,        // pieces
    Screed,          // m³
    Actuator,        // pieces, one per loop
    Thermostat       // pieces, one per room that has loops and wants one
};

enum class MaterialUnit { Metre, SquareMetre, CubicMetre, Piece, Roll, Board };

struct MaterialItem {
    MaterialKind kind = MaterialKind::Pipe;
    std::string pipe; // Pipe, PipeRoll: the kind of pipe
    double size = 0;  // PipeRoll: roll length, m; Manifold: outlets
    double quantity = 0;
    MaterialUnit unit = MaterialUnit::Piece;
};

// The JSON key and unit text of an item: "pipe", "m" …
const char* materialKey(MaterialKind kind);
const char* unitKey(MaterialUnit unit);

struct PipePlan {
    std::string pipe;
    std::vector<std::size_t> loops; // indices into the loops
    double lengthM = 0;             // the loops' sum, m
    CuttingPlan cutting;            // loop indices inside are into `loops` above
};

struct ManifoldCount {
    std::size_t manifold = 0; // index into the manifolds
    std::size_t loops = 0;
    std::vector<std::size_t> outlets; // one entry per manifold to buy (several when split)
    bool oversize = false;            // more loops than maxOutlets
};

struct RoomCount {
    std::size_t loops = 0;
    double pipeM = 0;
    std::size_t actuators = 0;
    std::size_t thermostats = 0;
    double insulationM2 = 0;
    double edgeStripM = 0;
    double screedM3 = 0;
};

enum class BillFault {
    None,
    LoopInvalid,    // a loop's length, room or manifold: index in faultIndex
    RoomInvalid,    // a room's area, perimeter or thickness
    OptionsInvalid, // a share, a size or the outlet range
    CuttingInvalid  // the roll lengths: see the pipe plans' faults
};

struct Bill {
    const char* method = "docs/materials.md §3";
    BillFault fault = BillFault::None;
    std::size_t faultIndex = 0;
    std::vector<PipePlan> pipes; // per kind of pipe, in order of first appearance
    std::vector<ManifoldCount> manifolds;
    std::vector<RoomCount> rooms;
    std::vector<MaterialItem> items; // the list to order, in MaterialKind order
    bool anyUnplaced = false;        // a loop longer than every roll
    bool anyOversize = false;        // a manifold over maxOutlets
    bool ok() const { return fault == BillFault::None; }
};

Bill billOfMaterials(const std::vector<BillLoop>& loops, const std::vector<BillRoom>& rooms,
                     const std::vector<BillManifold>& manifolds, const BillOptions& options = {});

} // namespace zorva::materials
