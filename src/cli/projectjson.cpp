// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/projectjson.h"

#include "cli/projectjsoncooling.h"
#include "cli/projectjsonhydraulics.h"
#include "cli/projectjsonplan.h"
#include "cli/projectjsonrebalance.h"
#include "core/engine/numtext.h"
#include "core/heatload/messages.h"
#include "core/io/manifoldfields.h"
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

QJsonValue index(const std::optional<std::size_t>& i) {
    return i ? QJsonValue(qint64(*i)) : QJsonValue();
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

QJsonArray strings(const QStringList& list) {
    return QJsonArray::fromStringList(list);
}

// The result at the manifold's supply temperature and difference.
QJsonObject sheetJson(const method::MethodLoopResult& s) {
    return {
        {"method", QLatin1String(method::methodKey(s.method))},
        {"methodName", QString::fromUtf8(s.methodName)},
        {"clause", QString::fromUtf8(s.clause)},
        {"problem", QLatin1String(loopProblemKey(s.problem))},
        {"heatOutput", num(s.heatOutput)},
        {"floorTempMean", num(s.floorTempMean)},
        {"floorLimit", num(s.floorLimit)},
        {"limitOutput", num(s.limitOutput)},
        {"limitOutputMax", num(s.limitOutputMax)},
        {"withinLimit", s.withinLimit},
        {"downwardOutput", num(s.downwardOutput)},
        {"area", num(s.area)},
        {"loopOutput", num(s.loopOutput)},
        {"flow", num(s.flowKgh)},
        {"flowLpm", num(s.flowLpm)},
        {"velocity", num(s.velocity)},
        {"pressureDrop", num(s.pressureDrop)},
        {"validity", strings(validityKeys(s.en1264Flags))},
        {"notes", strings(loopNoteKeys(s.notes))},
    };
}

QJsonObject designLoopJson(const en1264::LoopDesign& l) {
    const hydraulics::PipeFlow& h = l.hydraulics;
    QJsonObject o{
        {"problem", QLatin1String(designLoopProblemKey(l.problem))},
        {"room", qint64(l.room)},
        {"meanWaterTemp", num(l.meanWaterTemp)},
        {"massFlow", num(l.massFlow)},
        {"innerDiameter", num(l.innerDiameter)},
        {"lossCoefficients", num(l.lossCoefficients)},
        {"reynolds", num(h.reynolds)},
        {"friction", num(h.friction)},
        {"frictionLoss", num(h.frictionLoss / 1000)},
        {"localLoss", num(h.localLoss / 1000)},
        {"waterDensity", num(h.water.density)},
        {"waterViscosity", num(h.water.kinematicViscosity)},
    };
    if (l.leader) {
        o.insert(QStringLiteral("leaderHeat"), num(l.leader->heat));
        o.insert(QStringLiteral("leaderReturnTemp"), num(l.leader->returnAtManifold));
    }
    return o;
}

QJsonObject loopJson(const ManifoldResult& m, const ProjectLoop& l, const Project& p) {
    const LoopFigures& f = l.figures;
    QJsonObject o{
        {"name", text(l.name)},
        {"origin",
         l.origin == LoopOrigin::Manual ? QStringLiteral("manual") : QStringLiteral("room")},
        {"room", l.origin == LoopOrigin::Room ? QJsonValue(qint64(l.source)) : QJsonValue()},
        {"roomName",
         l.origin == LoopOrigin::Room ? QJsonValue(text(p.rooms[l.source].name)) : QJsonValue()},
        {"roomTemp", num(l.input.roomTemp)},
        {"spacing", num(l.input.spacingMm)},
        {"length", num(l.input.lengthM)},
        {"load", num(l.input.loadW)},
        {"computed", l.computed},
        {"sheet", sheetJson(l.sheet)},
    };
    if (l.origin == LoopOrigin::Room)
        o.insert(QStringLiteral("lengthOverridden"),
                 p.rooms[l.source].overrides.loopLengths.size() > l.number &&
                     p.rooms[l.source].overrides.loopLengths[l.number].has_value());
    QString problem;
    QString problemText;
    if (!l.computed) {
        if (m.design && l.standardLoop) {
            const en1264::LoopDesign& d = m.design->loops[*l.standardLoop];
            problem = QLatin1String(designLoopProblemKey(d.problem));
            if (d.problem == en1264::LoopProblem::RoomProblem && d.room < m.design->rooms.size())
                problemText = designRoomProblemText(m.design->rooms[d.room].problem);
            else
                problemText = QStringLiteral("该环路无法计算");
        } else {
            problem = QLatin1String(loopProblemKey(l.sheet.problem));
            problemText = loopProblemText(l.sheet.problem);
        }
    }
    o.insert(QStringLiteral("problem"), problem);
    o.insert(QStringLiteral("problemText"), problemText);
    if (m.design && l.standardLoop)
        o.insert(QStringLiteral("standard"), designLoopJson(m.design->loops[*l.standardLoop]));
    if (!l.computed)
        return o;
    o.insert(QStringLiteral("supplyTemp"), num(f.supplyTemp));
    o.insert(QStringLiteral("sigma"), num(f.drop));
    o.insert(QStringLiteral("returnTemp"), num(f.returnTemp));
    o.insert(QStringLiteral("area"), num(f.area));
    o.insert(QStringLiteral("heatOutput"), num(f.heatOutput));
    o.insert(QStringLiteral("downwardOutput"), num(f.downwardOutput));
    o.insert(QStringLiteral("floorTempMean"), num(f.floorTempMean));
    o.insert(QStringLiteral("floorLimit"), num(f.floorLimit));
    o.insert(QStringLiteral("limitOutput"), num(f.limitOutput));
    o.insert(QStringLiteral("withinLimit"), f.withinLimit);
    o.insert(QStringLiteral("verdict"), QLatin1String(loopVerdictKey(f)));
    o.insert(QStringLiteral("verdictText"), loopVerdictText(f));
    o.insert(QStringLiteral("loopOutput"), num(f.loopOutput));
    o.insert(QStringLiteral("flow"), num(f.flowKgh));
    o.insert(QStringLiteral("flowLpm"), num(f.flowLpm));
    o.insert(QStringLiteral("velocity"), num(f.velocity));
    o.insert(QStringLiteral("pressureDrop"), num(f.pressureDrop));
    o.insert(QStringLiteral("supplementaryHeat"), num(f.supplementaryHeat));
    o.insert(QStringLiteral("indexLoop"), l.indexLoop);
    o.insert(QStringLiteral("valveKpa"), num(l.valveKpa));
    o.insert(QStringLiteral("meterLpm"), num(l.meterLpm));
    return o;
}

QJsonObject designRoomJson(const en1264::RoomDesign& r, const QString& name) {
    return {
        {"name", name},
        {"problem", QLatin1String(designRoomProblemKey(r.problem))},
        {"loops", qint64(r.loops)},
        {"designFlux", num(r.designFlux)},
        {"spacing", num(r.spacing)},
        {"characteristic", num(r.floor.characteristic)},
        {"floorLimit", num(r.surfaceLimit)},
        {"limitOutput", num(r.limitOutput)},
        {"limitOutputMax", num(r.limitOutputMax)},
        {"limitExcess", num(r.limitExcess)},
        {"usableLimit", num(r.usableLimit)},
        {"limited", r.limited},
        {"availableOutput", num(r.availableOutput)},
        {"heatOutput", num(r.heatOutput)},
        {"excess", num(r.excess)},
        {"supplementaryHeat", num(r.supplementaryHeat)},
        {"requiredSupply", num(r.requiredSupply)},
        {"candidate", r.candidate},
        {"sigma", num(r.drop)},
        {"sigmaRule", QLatin1String(dropRuleKey(r.dropRule))},
        {"returnTemp", num(r.returnTemp)},
        {"meanWaterTemp", num(r.meanWaterTemp)},
        {"upwardResistance", num(r.upwardResistance)},
        {"downwardResistance", num(r.downwardResistance)},
        {"belowTemp", num(r.belowTemp)},
        {"downwardOutput", num(r.downwardOutput)},
        {"flowFactor", num(r.flowFactor)},
        {"massFlow", num(r.massFlow)},
        {"flow", num(r.massFlow * 3600)},
        {"roomOutput", num(r.roomOutput)},
        {"waterOutput", num(r.waterOutput)},
        {"floorTempMean", num(r.floorTempMean)},
        {"floorTempMeanJgj", num(r.floorTempMeanJgj)},
        {"meanFloorLimit", num(r.meanFloorLimit)},
        {"insulationInTable", r.insulation.inTable},
        {"insulationMinimum", num(r.insulation.minimum)},
        {"insulationMeets", r.insulation.meets},
        {"leaderHeatIn", num(r.leaderHeatIn)},
        {"validity", strings(validityKeys(r.floor.flags))},
    };
}

QJsonObject designJson(const en1264::ManifoldDesign& d, const std::vector<QString>& roomNames) {
    QJsonArray rooms;
    for (std::size_t i = 0; i < d.rooms.size(); ++i)
        rooms.append(designRoomJson(d.rooms[i], roomNames[i]));
    QJsonArray notes;
    for (const en1264::Note& n : d.notes)
        notes.append(QJsonObject{{"code", QLatin1String(noteCodeKey(n.code))},
                                 {"level", QLatin1String(noteLevelKey(en1264::noteLevel(n.code)))},
                                 {"text", noteText(n.code)},
                                 {"room", index(n.room)},
                                 {"loop", index(n.loop)},
                                 {"value", num(n.value)},
                                 {"limit", num(n.limit)}});
    const en1264::ManifoldTotals& t = d.totals;
    return {
        {"methodName", QString::fromUtf8(d.method)},
        {"clause", QString::fromUtf8(d.clause)},
        {"mode", QLatin1String(designModeKey(d.mode))},
        {"problem", QLatin1String(designProblemKey(d.problem))},
        {"designSupplyTemp", num(d.designSupplyTemp)},
        {"designSupplyExcess", num(d.designSupplyExcess)},
        {"supplyForm", d.supplyForm == en1264::SupplyForm::Linear ? QStringLiteral("linear")
                                                                  : QStringLiteral("quadratic")},
        {"designRoom", index(d.designRoom)},
        {"highestFluxRoom", index(d.highestFluxRoom)},
        {"rooms", rooms},
        {"totals", QJsonObject{{"loops", qint64(t.loops)},
                               {"massFlow", num(t.massFlow)},
                               {"flow", num(t.flowKgh)},
                               {"flowLpm", num(t.flowLpm)},
                               {"mixedReturnTemp", num(t.mixedReturnTemp)},
                               {"systemDrop", num(t.systemDrop)},
                               {"roomOutput", num(t.roomOutput)},
                               {"waterOutput", num(t.waterOutput)},
                               {"supplementaryHeat", num(t.supplementaryHeat)}}},
        {"notes", notes},
    };
}

QJsonObject manifoldTotalsJson(const project::ManifoldTotals& t) {
    return {
        {"loops", qint64(t.loops)},
        {"computed", qint64(t.computed)},
        {"supplyTemp", num(t.supplyTemp)},
        {"area", num(t.area)},
        {"output", num(t.output)},
        {"waterOutput", num(t.waterOutput)},
        {"flow", num(t.flowKgh)},
        {"flowLpm", num(t.flowLpm)},
        {"mixedReturnTemp", num(t.mixedReturnTemp)},
        {"supplementaryHeat", num(t.supplementaryHeat)},
        {"indexLoop", index(t.indexLoop)},
        {"maxPressureDrop", num(t.maxPressureDrop)},
        {"pumpHeadKpa", num(t.pumpHeadKpa)},
        {"pumpHeadM", num(t.pumpHeadM)},
    };
}

QJsonObject manifoldJson(const Project& p, std::size_t i, const ManifoldResult& m) {
    const Manifold& input = p.manifolds[i];
    QJsonObject inputs;
    for (int n = 0; n < io::kManifoldNumberCount; ++n)
        inputs.insert(QLatin1String(io::manifoldRanges()[n].key),
                      num(io::manifoldNumber(input.input, n)));
    QJsonArray loops;
    for (const ProjectLoop& l : m.loops)
        loops.append(loopJson(m, l, p));
    QJsonObject o{
        {"name", text(input.name)},
        {"inputs", inputs},
        {"designSupplyTemp",
         m.design ? (m.design->designed() ? num(m.design->designSupplyTemp) : QJsonValue())
                  : num(input.input.supplyTemp)},
        {"loops", loops},
        {"totals", manifoldTotalsJson(m.totals)},
    };
    if (m.design) {
        // Each manual loop is a room of the design, each project room one.
        std::vector<QString> names(m.design->rooms.size());
        for (const ProjectLoop& l : m.loops)
            if (l.standardLoop && m.design->loops[*l.standardLoop].room < names.size())
                names[m.design->loops[*l.standardLoop].room] =
                    l.origin == LoopOrigin::Manual ? text(l.name) : text(p.rooms[l.source].name);
        o.insert(QStringLiteral("designAboveSupply"), m.designAboveSupply);
        o.insert(QStringLiteral("design"), designJson(*m.design, names));
    }
    return o;
}

QJsonObject heatLoadDetail(const heatload::HeatLoadResult& h, const heatload::RoomEnvelope& env) {
    QJsonArray elements;
    for (const heatload::ElementLoad& e : h.elements)
        elements.append(QJsonObject{{"name", text(e.name)},
                                    {"kind", QLatin1String(elementKindKey(e.kind))},
                                    {"counted", e.counted},
                                    {"area", num(e.area)},
                                    {"u", num(e.u)},
                                    {"factor", num(e.factor)},
                                    {"deltaT", num(e.deltaT)},
                                    {"conductance", num(e.conductance)},
                                    {"basic", num(e.basic)},
                                    {"orientationRate", num(e.orientationRate)},
                                    {"windRate", num(e.windRate)},
                                    {"doorRate", num(e.doorRate)},
                                    {"otherRate", num(e.otherRate)},
                                    {"heightRate", num(e.heightRate)},
                                    {"total", num(e.total)}});
    const auto issues = [&](const auto& list) {
        QJsonArray out;
        for (const auto& item : list)
            out.append(
                QJsonObject{{"element", item.element},
                            {"text", QString::fromStdString(heatload::describe(env, item))}});
        return out;
    };
    return {
        {"method", h.method == heatload::Method::Gb50736 ? QStringLiteral("GB 50736-2012")
                                                         : QStringLiteral("EN 12831-1:2017")},
        {"clauses", text(h.clauses)},
        {"indoorTemp", num(h.indoorTemp)},
        {"outdoorTemp", num(h.outdoorTemp)},
        {"deltaT", num(h.deltaT)},
        {"convectiveLoad", num(h.convectiveLoad)},
        {"floorHeatingAllowance", QLatin1String(allowanceKey(h.allowance))},
        {"allowanceShare", num(h.allowanceShare)},
        {"partialFactor", num(h.partialFactor)},
        {"airDensity", num(h.airDensity)},
        {"airFlow", num(h.airFlow)},
        {"heightRate", num(h.heightRate)},
        {"interDwelling", num(h.interDwelling)},
        {"transmissionConductance", num(h.transmissionConductance)},
        {"ventilationConductance", num(h.ventilationConductance)},
        {"elements", elements},
        {"faults", issues(h.faults)},
        {"warnings", issues(h.warnings)},
    };
}

QJsonObject roomJson(const Project& p, const ProjectResult& result, std::size_t i) {
    const Room& room = p.rooms[i];
    const RoomResult& r = result.rooms[i];
    const rooms::RoomDesign& d = r.design;
    QJsonObject o{
        {"name", text(room.name)},
        {"manifold", qint64(room.manifold)},
        {"category", QLatin1String(roomCategoryKey(room.category))},
        {"indoorTemp", num(room.indoorTemp)},
        {"floorArea", num(room.floorArea)},
        {"heatedArea", num(room.heatedArea)},
        {"covering", num(room.coveringResistance)},
        {"leaderLength", num(room.leaderLength)},
        {"problem", r.problem == RoomProblem::None         ? QString()
                    : r.problem == RoomProblem::Load       ? QStringLiteral("load")
                    : r.problem == RoomProblem::NoManifold ? QStringLiteral("noManifold")
                                                           : QStringLiteral("design")},
        {"problemText", roomProblemText(room, r)},
        {"heatLoadSource", QLatin1String(loadSourceKey(r.load.source))},
    };
    if (r.load.ok()) {
        o.insert(QStringLiteral("heatLoad"), num(r.load.heatLoad));
        o.insert(QStringLiteral("loadForLoops"), num(r.load.loadForLoops));
        o.insert(QStringLiteral("heatLoadPerArea"), num(r.load.heatLoad / room.floorArea));
    }
    if (r.load.computed && r.load.computed->ok()) {
        const heatload::HeatLoadResult& h = *r.load.computed;
        o.insert(QStringLiteral("heatLoadBreakdown"),
                 QJsonObject{{"transmission", num(h.transmission)},
                             {"infiltration", num(h.infiltration)},
                             {"additions", num(h.additions)}});
    } else {
        o.insert(QStringLiteral("heatLoadBreakdown"), QJsonValue());
    }
    if (r.load.computed && room.envelope) {
        heatload::RoomEnvelope env = *room.envelope;
        env.name = room.name;
        o.insert(QStringLiteral("heatLoadDetail"), heatLoadDetail(*r.load.computed, env));
    }
    const rooms::RoomOverrides& ov = room.overrides;
    QJsonArray lengths;
    for (const std::optional<double>& l : ov.loopLengths)
        lengths.append(num(l));
    o.insert(
        QStringLiteral("overrides"),
        QJsonObject{{"spacing", bool(d.marks & rooms::SpacingOverridden)},
                    {"loopCount", bool(d.marks & rooms::LoopCountOverridden)},
                    {"length", bool(d.marks & rooms::LengthOverridden)},
                    {"breaksLimits", bool(d.marks & rooms::BreaksLimits)},
                    {"values", QJsonObject{{"spacing", num(ov.spacing)},
                                           {"loopCount", ov.loopCount ? QJsonValue(*ov.loopCount)
                                                                      : QJsonValue()},
                                           {"loopLengths", lengths}}}});
    if (r.problem == RoomProblem::Load || r.problem == RoomProblem::NoManifold)
        return o;
    o.insert(QStringLiteral("status"), QLatin1String(roomStatusKey(d.status)));
    o.insert(QStringLiteral("fault"), QString::fromUtf8(rooms::roomFaultText(d.fault)));
    o.insert(QStringLiteral("requiredFlux"), num(d.requiredFlux));
    QJsonArray trials;
    for (const rooms::SpacingTrial& t : d.trials)
        trials.append(QJsonObject{{"spacing", num(t.spacing)},
                                  {"heatFlux", num(t.output.heatFlux)},
                                  {"limitFlux", num(t.output.limitFlux)},
                                  {"valid", t.output.valid},
                                  {"deliverable", num(t.deliverable)},
                                  {"meetsLoad", t.meetsLoad}});
    o.insert(QStringLiteral("trials"), trials);
    o.insert(QStringLiteral("clauses"), text(d.clauses));
    if (!r.designed())
        return o;
    o.insert(QStringLiteral("spacing"), num(d.spacing));
    o.insert(QStringLiteral("heatFlux"), num(d.output.heatFlux));
    o.insert(QStringLiteral("limitFlux"), num(d.output.limitFlux));
    o.insert(QStringLiteral("deliveredFlux"), num(d.deliveredFlux));
    o.insert(QStringLiteral("deliveredHeat"), num(d.deliveredHeat));
    o.insert(QStringLiteral("designShortfall"), num(d.supplementaryHeat));
    o.insert(QStringLiteral("supplementaryHeat"), num(r.supplementaryHeat));
    o.insert(QStringLiteral("pipeInArea"), num(d.pipeInArea));
    if (room.peripheral)
        o.insert(QStringLiteral("peripheralZone"),
                 QJsonObject{{"area", num(d.peripheralArea)},
                             {"spacing", num(d.peripheralSpacing)},
                             {"heat", num(d.peripheralHeat)}});
    QJsonArray loops;
    for (std::size_t n = 0; n < d.loops.size(); ++n) {
        const rooms::RoomLoop& l = d.loops[n];
        QJsonObject loop{{"name", text(l.name)},
                         {"length", num(l.length)},
                         {"pipeInArea", num(l.pipeInArea)},
                         {"leaders", num(l.leaders)},
                         {"area", num(l.area)},
                         {"heat", num(l.heat)},
                         {"pressureDrop", num(l.pressureDrop)},
                         {"lengthOverridden", l.lengthOverridden},
                         {"overLength", l.overLength},
                         {"overPressure", l.overPressure}};
        if (n < r.loops.size())
            loop.insert(QStringLiteral("manifoldLoop"), qint64(r.loops[n]));
        loops.append(loop);
    }
    o.insert(QStringLiteral("loops"), loops);
    o.insert(QStringLiteral("standardRoom"), index(r.standardRoom));
    return o;
}

} // namespace

QJsonObject projectJson(const Project& p, const ProjectResult& r) {
    QJsonArray manifolds;
    for (std::size_t i = 0; i < r.manifolds.size(); ++i)
        manifolds.append(manifoldJson(p, i, r.manifolds[i]));
    QJsonArray rooms;
    for (std::size_t i = 0; i < r.rooms.size(); ++i)
        rooms.append(roomJson(p, r, i));
    const ProjectTotals& t = r.totals;
    const Climate& climate = p.settings.heatLoad.climate;
    QJsonObject json{
        {"method", QLatin1String(method::methodKey(r.method))},
        {"methodName", QString::fromUtf8(method::methodName(r.method))},
        {"clause", QString::fromUtf8(method::methodClause(r.method))},
        {"heatLoadMethod", QLatin1String(loadMethodKey(r.loadMethod))},
        {"heatLoadMethodName", QString::fromUtf8(loadMethodName(r.loadMethod))},
        {"station", text(climate.stationId)},
        {"place", text(climate.place)},
        {"outdoorTemp", num(r.outdoorTemp)},
        {"winterSunshine", num(r.winterSunshine)},
        {"manifolds", manifolds},
        {"rooms", rooms},
        {"totals", QJsonObject{{"rooms", qint64(t.rooms)},
                               {"roomsDesigned", qint64(t.roomsDesigned)},
                               {"heatLoad", num(t.heatLoad)},
                               {"supplementaryHeat", num(t.supplementaryHeat)},
                               {"loops", qint64(t.loops)},
                               {"computed", qint64(t.computed)},
                               {"output", num(t.output)},
                               {"waterOutput", num(t.waterOutput)},
                               {"flow", num(t.flowKgh)}}},
    };
    addPlanKeys(p, r, json);
    addHydraulicsJson(p, r, json);
    addRebalanceJson(p, r, json);
    addCoolingJson(p, r, json);
    return json;
}

} // namespace zorva::cli
