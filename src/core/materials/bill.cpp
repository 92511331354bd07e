// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/materials/bill.h"

#include <cmath>
#include <map>

namespace zorva::materials {

const char* materialKey(MaterialKind kind) {
    switch (kind) {
    case MaterialKind::Pipe:
        return "pipe";
    case MaterialKind::PipeRoll:
        return "pipeRoll";
    case MaterialKind::Manifold:
        return "manifold";
    case MaterialKind::InsulationBoard:
        return "insulationBoard";
    case MaterialKind::EdgeStrip:
        return "edgeStrip";
    case MaterialKind::PipeClip:
        return "pipeClip";
    case MaterialKind::Screed:
        return "screed";
    case MaterialKind::Actuator:
        return "actuator";
    case MaterialKind::Thermostat:
        return "thermostat";
    }
    return "";
}

const char* unitKey(MaterialUnit unit) {
    switch (unit) {
    case MaterialUnit::Metre:
        return "m";
    case MaterialUnit::SquareMetre:
        return "m2";
    case MaterialUnit::CubicMetre:
        return "m3";
    case MaterialUnit::Piece:
        return "piece";
    case MaterialUnit::Roll:
        return "roll";
    case MaterialUnit::Board:
        return "board";
    }
    return "";
}

namespace {

bool within(double v, double lo, double hi) {
    return std::isfinite(v) && v >= lo && v <= hi;
}

bool optionsOk(const BillOptions& o) {
    return within(o.loopAllowanceM, 0, kMaxCutLengthM) && o.minOutlets >= 1 &&
           o.maxOutlets >= o.minOutlets && o.maxOutlets <= 1000 &&
           within(o.insulationWaste, 0, 1) && within(o.insulationBoardM2, 0, 1e4) &&
           within(o.edgeStripWaste, 0, 1) && within(o.edgeStripRollM, 0, kMaxCutLengthM) &&
           within(o.clipsPerMetre, 0, 100) && within(o.screedThicknessMm, 0, 1000) &&
           o.screedThicknessMm > 0 && within(o.screedWaste, 0, 1);
}

// Whole pieces for a quantity: a product like 200 × 0.5 must not become
// 101 through rounding.
double wholeUp(double quantity) {
    return std::ceil(quantity - 1e-9);
}

// The outlets of the manifolds bought for `loops` loops.
std::vector<std::size_t> outletsFor(std::size_t loops, const BillOptions& o, bool& oversize) {
    oversize = loops > o.maxOutlets;
    if (loops == 0)
        return {};
    if (!oversize || !o.splitOversize)
        return {std::max(loops, o.minOutlets)};
    const std::size_t parts = (loops + o.maxOutlets - 1) / o.maxOutlets;
    std::vector<std::size_t> outlets(parts, loops / parts);
    for (std::size_t i = 0; i < loops % parts; ++i)
        ++outlets[i];
    for (std::size_t& n : outlets)
        n = std::max(n, o.minOutlets);
    return outlets;
}

void addItem(Bill& bill, MaterialKind kind, double quantity, MaterialUnit unit, double size = 0,
             const std::string& pipe = {}) {
    if (quantity > 0)
        bill.items.push_back({kind, pipe, size, quantity, unit});
}

} // namespace

Bill billOfMaterials(const std::vector<BillLoop>& loops, const std::vector<BillRoom>& rooms,
                     const std::vector<BillManifold>& manifolds, const BillOptions& options) {
    Bill bill;
    const auto fail = [&](BillFault f, std::size_t i) {
        bill.fault = f;
        bill.faultIndex = i;
        return bill;
    };
    if (!optionsOk(options))
        return fail(BillFault::OptionsInvalid, 0);
    for (std::size_t i = 0; i < rooms.size(); ++i) {
        const BillRoom& r = rooms[i];
        if (!within(r.floorAreaM2, 0, 1e7) || !within(r.perimeterM, 0, 1e6) ||
            !within(r.screedThicknessMm, 0, 1000))
            return fail(BillFault::RoomInvalid, i);
    }
    for (std::size_t i = 0; i < loops.size(); ++i) {
        const BillLoop& l = loops[i];
        if (l.room >= rooms.size() || l.manifold >= manifolds.size() || !std::isfinite(l.lengthM) ||
            !(l.lengthM > 0) || l.lengthM > kMaxCutLengthM)
            return fail(BillFault::LoopInvalid, i);
    }

    // Pipe: per kind, in order of first appearance, each with its plan.
    std::map<std::string, std::size_t> kindOf;
    for (std::size_t i = 0; i < loops.size(); ++i) {
        const auto [it, added] = kindOf.emplace(loops[i].pipe, bill.pipes.size());
        if (added)
            bill.pipes.push_back({loops[i].pipe, {}, 0, {}});
        PipePlan& p = bill.pipes[it->second];
        p.loops.push_back(i);
        p.lengthM += loops[i].lengthM;
    }
    double pipeTotal = 0;
    for (PipePlan& p : bill.pipes) {
        std::vector<double> lengths;
        lengths.reserve(p.loops.size());
        for (const std::size_t i : p.loops)
            lengths.push_back(loops[i].lengthM);
        p.cutting = planCuts(lengths, options.rollLengthsM, options.loopAllowanceM);
        if (!p.cutting.ok())
            return fail(BillFault::CuttingInvalid, p.cutting.faultIndex);
        bill.anyUnplaced = bill.anyUnplaced || !p.cutting.unplaced.empty();
        pipeTotal += p.lengthM;
    }

    // Manifolds by outlet count; rooms.
    std::vector<std::size_t> loopsPerManifold(manifolds.size(), 0);
    bill.rooms.assign(rooms.size(), {});
    for (const BillLoop& l : loops) {
        ++loopsPerManifold[l.manifold];
        RoomCount& r = bill.rooms[l.room];
        ++r.loops;
        ++r.actuators;
        r.pipeM += l.lengthM;
    }
    std::map<std::size_t, std::size_t> manifoldsByOutlets;
    for (std::size_t i = 0; i < manifolds.size(); ++i) {
        ManifoldCount m;
        m.manifold = i;
        m.loops = loopsPerManifold[i];
        m.outlets = outletsFor(m.loops, options, m.oversize);
        bill.anyOversize = bill.anyOversize || m.oversize;
        for (const std::size_t n : m.outlets)
            ++manifoldsByOutlets[n];
        bill.manifolds.push_back(std::move(m));
    }
    double insulation = 0, strip = 0, screed = 0;
    std::size_t actuators = 0, thermostats = 0;
    for (std::size_t i = 0; i < rooms.size(); ++i) {
        RoomCount& r = bill.rooms[i];
        const double thickness =
            rooms[i].screedThicknessMm > 0 ? rooms[i].screedThicknessMm : options.screedThicknessMm;
        r.thermostats = rooms[i].thermostat && r.loops > 0 ? 1 : 0;
        r.insulationM2 = rooms[i].floorAreaM2;
        r.edgeStripM = rooms[i].perimeterM;
        r.screedM3 = rooms[i].floorAreaM2 * thickness / 1000;
        insulation += r.insulationM2;
        strip += r.edgeStripM;
        screed += r.screedM3;
        actuators += r.actuators;
        thermostats += r.thermostats;
    }

    // The list to order.
    for (const PipePlan& p : bill.pipes)
        addItem(bill, MaterialKind::Pipe, p.lengthM, MaterialUnit::Metre, 0, p.pipe);
    for (const PipePlan& p : bill.pipes)
        for (const RollCount& c : p.cutting.rollCounts)
            addItem(bill, MaterialKind::PipeRoll, static_cast<double>(c.count), MaterialUnit::Roll,
                    c.lengthM, p.pipe);
    for (const auto& [outlets, count] : manifoldsByOutlets)
        addItem(bill, MaterialKind::Manifold, static_cast<double>(count), MaterialUnit::Piece,
                static_cast<double>(outlets));
    const double board = insulation * (1 + options.insulationWaste);
    addItem(bill, MaterialKind::InsulationBoard, board, MaterialUnit::SquareMetre);
    if (options.insulationBoardM2 > 0)
        addItem(bill, MaterialKind::InsulationBoard, wholeUp(board / options.insulationBoardM2),
                MaterialUnit::Board, options.insulationBoardM2);
    const double edge = strip * (1 + options.edgeStripWaste);
    addItem(bill, MaterialKind::EdgeStrip, edge, MaterialUnit::Metre);
    if (options.edgeStripRollM > 0)
        addItem(bill, MaterialKind::EdgeStrip, wholeUp(edge / options.edgeStripRollM),
                MaterialUnit::Roll, options.edgeStripRollM);
    addItem(bill, MaterialKind::PipeClip, wholeUp(pipeTotal * options.clipsPerMetre),
            MaterialUnit::Piece);
    addItem(bill, MaterialKind::Screed, screed * (1 + options.screedWaste),
            MaterialUnit::CubicMetre);
    addItem(bill, MaterialKind::Actuator, static_cast<double>(actuators), MaterialUnit::Piece);
    addItem(bill, MaterialKind::Thermostat, static_cast<double>(thermostats), MaterialUnit::Piece);
    return bill;
}

} // namespace zorva::materials
