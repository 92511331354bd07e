// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/projectjsoncooling.h"

#include "cli/methodloop.h"
#include "core/cooling/limits.h"
#include "core/wording/projectwording.h"

#include <QJsonArray>

#include <cmath>

namespace zorva::cli {

namespace {

using namespace project;

QJsonValue num(double v) {
    return std::isfinite(v) ? QJsonValue(v) : QJsonValue();
}

QJsonValue num(const std::optional<double>& v) {
    return v ? num(*v) : QJsonValue();
}

QString utf8(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

const char* verdictText(const cooling::Check& c) {
    if (!c.checked)
        return "未校核";
    return c.passed ? "合格" : "不合格";
}

QJsonObject checkJson(const cooling::Check& c, cooling::Occupancy occupancy) {
    QJsonObject o{{"code", utf8(cooling::checkCode(c.id))},
                  {"verdict", verdictText(c)},
                  {"value", num(c.value)},
                  {"limit", num(c.limit)},
                  {"clause", utf8(cooling::checkClause(c.id, occupancy))}};
    if (c.id == cooling::CheckId::Rise)
        o.insert("upperLimit", num(c.upperLimit));
    if (c.id == cooling::CheckId::SupplyDew)
        o.insert("belowDewPoint", c.belowDewPoint);
    return o;
}

// D1 (the supply) and D2, D3, F1 (the floor surface), each with its clause,
// as the design's cooling output gives them.
void addVerdicts(const cooling::LoopResult& l, QJsonObject& o) {
    const bool supply = supplyPasses(l);
    const bool surface = surfacePasses(l);
    const cooling::Occupancy occupancy = l.room.occupancy;
    o.insert("supplyVerdict", supply ? "pass" : "fail");
    o.insert("supplyVerdictText", supply ? "合格" : "不合格");
    o.insert("supplyClause", utf8(cooling::checkClause(cooling::CheckId::SupplyDew, occupancy)));
    o.insert("surfaceVerdict", surface ? "pass" : "fail");
    o.insert("surfaceVerdictText", surface ? "合格" : "不合格");
    o.insert("surfaceClause",
             utf8(cooling::checkClause(cooling::CheckId::FloorDew, occupancy)) + "；" +
                 utf8(cooling::checkClause(cooling::CheckId::FloorComfort, occupancy)));
}

// The worst of the required checks: 不合格 when one fails.
const char* requiredVerdict(const cooling::LoopResult& l) {
    return l.admissibleDesign ? "合格" : "不合格";
}

QJsonObject loopJson(const ProjectLoop& heating, const cooling::LoopResult& l) {
    QJsonObject o{{"name", QString::fromStdString(heating.name)},
                  {"applicable", l.applicable()},
                  {"heatingFlow", heating.computed ? num(heating.figures.flowKgh) : QJsonValue()}};
    if (!l.applicable())
        return o;
    const cooling::Characteristic& c = l.characteristic;
    QJsonArray checks;
    for (const cooling::Check& check : l.checks)
        checks.append(checkJson(check, l.room.occupancy));
    o.insert("coolingCharacteristic", num(c.cooling));
    o.insert("heatingCharacteristicBare", num(c.bareHeating));
    o.insert("heatingCharacteristicCovered", num(c.coveredHeating));
    o.insert("extrapolated", c.extrapolated);
    o.insert("underTemp", num(l.underTemp));
    o.insert("coolingOutput", num(l.coolingOutput));
    o.insert("floorTempMean", num(l.floorTempMean));
    o.insert("floorTempInlet", num(l.floorTempInlet));
    o.insert("dewPoint", num(l.dewPoint));
    o.insert("minSupplyTemp", num(l.minSupplyTemp));
    o.insert("floorTempMin", num(l.floorTempMin));
    o.insert("floorTempLowest", num(l.floorTempLowest));
    o.insert("maxAdmissibleOutput", num(l.maxAdmissibleOutput));
    o.insert("area", num(l.area));
    o.insert("loopOutput", num(l.loopOutput));
    o.insert("downwardOutput", num(l.downwardOutput));
    o.insert("upwardShare", num(l.upwardShare));
    o.insert("belowCounted", l.belowCounted);
    o.insert("waterLoad", num(l.waterLoad));
    o.insert("coolingFlow", num(l.flow));
    o.insert("velocity", num(l.velocity));
    o.insert("verdict", requiredVerdict(l));
    addVerdicts(l, o);
    o.insert("checks", checks);
    return o;
}

// `loop`: the room's first loop, whose checks stand for all of its loops
// (one water, one room state, one construction).
QJsonObject roomJson(const Room& room, const CoolingRoomResult& r,
                     const cooling::LoopResult* loop) {
    const RoomCooling& in = r.input;
    QJsonObject o{{"name", QString::fromStdString(room.name)},
                  {"roomTemp", num(in.roomTemp)},
                  {"humidity", num(in.humidity)},
                  {"occupancy", occupancyKey(in.occupancy)},
                  {"sensibleLoad", num(in.sensibleLoad)},
                  {"dewPoint", num(r.dewPoint)},
                  {"minSupplyTemp", num(r.minSupplyTemp)},
                  {"computed", r.computed()}};
    if (!r.computed())
        return o;
    const cooling::RoomResult& c = r.room;
    // The room's mean flux and floor over all its loops (ISO 11855-2 (4)).
    const double flux = c.roomOutput / c.area;
    o.insert("area", num(c.area));
    o.insert("coolingOutput", num(flux));
    o.insert("floorTempMean", num(in.roomTemp - flux / cooling::kBasicCoolingCoeff));
    o.insert("floorTempLowest", num(c.admissible.floorLowest));
    o.insert("roomOutput", num(c.roomOutput));
    o.insert("admissibleOutput", num(c.admissibleOutput));
    o.insert("maxAdmissibleOutput", num(c.maxAdmissibleOutput));
    o.insert("admissibleDesign", c.admissibleDesign);
    o.insert("verdict", c.admissibleDesign ? "合格" : "不合格");
    if (loop != nullptr)
        addVerdicts(*loop, o);
    if (r.loadGiven) {
        o.insert("supplyForLoad", num(c.supplyForLoad));
        o.insert("proposedSupplyTemp", num(c.proposedSupplyTemp));
        o.insert("loadMet", c.loadMet);
        o.insert("shortfall", num(c.shortfall));
        o.insert("shortfallReason", coolingShortfallText(c.reason));
        o.insert("load", checkJson(c.load, in.occupancy));
    }
    return o;
}

QJsonObject manifoldJson(const Manifold& m, const ManifoldResult& heating,
                         const CoolingManifoldResult& c) {
    QJsonArray loops;
    for (std::size_t i = 0; i < c.loops.size() && i < heating.loops.size(); ++i)
        loops.append(loopJson(heating.loops[i], c.loops[i]));
    return {{"name", QString::fromStdString(m.name)},
            {"supplyTemp", num(c.water.supplyTemp)},
            {"returnTemp", num(c.water.returnTemp)},
            {"area", num(c.sums.area)},
            {"coolingOutput", num(c.sums.output)},
            {"waterLoad", num(c.sums.waterLoad)},
            {"heatingFlow", num(c.heatingFlowKgh)},
            {"coolingFlow", num(c.coolingFlowKgh)},
            {"sizingSeason", c.sizing == SizingSeason::Cooling ? "cooling" : "heating"},
            {"failedLoops", c.failedLoops},
            {"loops", loops}};
}

} // namespace

void addCoolingJson(const Project& p, const ProjectResult& r, QJsonObject& root) {
    const CoolingResult& c = r.cooling;
    if (!c.computed)
        return;
    QJsonArray manifolds;
    for (std::size_t i = 0; i < c.manifolds.size() && i < r.manifolds.size(); ++i)
        manifolds.append(manifoldJson(p.manifolds[i], r.manifolds[i], c.manifolds[i]));
    QJsonArray rooms;
    for (std::size_t i = 0; i < c.rooms.size() && i < p.rooms.size(); ++i) {
        const cooling::LoopResult* first = nullptr;
        if (i < r.rooms.size() && !r.rooms[i].loops.empty() &&
            r.rooms[i].manifold < c.manifolds.size()) {
            const auto& loops = c.manifolds[r.rooms[i].manifold].loops;
            if (r.rooms[i].loops.front() < loops.size() &&
                loops[r.rooms[i].loops.front()].applicable())
                first = &loops[r.rooms[i].loops.front()];
        }
        rooms.append(roomJson(p.rooms[i], c.rooms[i], c.rooms[i].computed() ? first : nullptr));
    }
    const CoolingTotals& t = c.totals;
    root.insert("cooling",
                QJsonObject{{"season", seasonKey(c.season)},
                            {"seasonName", QString::fromUtf8(seasonName(c.season))},
                            {"method", utf8(cooling::clause::kMethod)},
                            {"dewPointClause", utf8(cooling::clause::kDewPoint)},
                            {"dewMargin", num(c.dewMargin)},
                            {"manifolds", manifolds},
                            {"rooms", rooms},
                            {"totals", QJsonObject{{"rooms", qint64(t.rooms)},
                                                   {"roomsNotMet", qint64(t.roomsNotMet)},
                                                   {"sensibleLoad", num(t.sensibleLoad)},
                                                   {"coolingOutput", num(t.output)},
                                                   {"admissibleOutput", num(t.admissibleOutput)},
                                                   {"shortfall", num(t.shortfall)},
                                                   {"waterLoad", num(t.waterLoad)},
                                                   {"coolingFlow", num(t.flowKgh)}}}});
}

} // namespace zorva::cli
