// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/methodloop.h"

#include "core/cooling/dewpoint.h"
#include "core/en1264/floor.h"
#include "core/method/loopsetup.h"
#include "core/wording/advicewording.h"
#include "core/wording/projectwording.h"

#include <QJsonArray>

#include <cmath>

namespace zorva::cli {

namespace {

QJsonValue number(double value) {
    return std::isfinite(value) ? QJsonValue(value) : QJsonValue(QJsonValue::Null);
}

QJsonValue number(const std::optional<double>& value) {
    return value ? number(*value) : QJsonValue(QJsonValue::Null);
}

QString utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QJsonObject standardJson(const En1264Result& en) {
    return {
        {"coveringResistance", number(en.coveringResistance)},
        {"screedAbove", number(en.screedAbove)},
        {"screedConductivity", number(en.screedConductivity)},
        {"screedResistance", number(en.screedResistance)},
        {"coveringFactor", number(en.coveringFactor)},
        {"aT", number(en.aT)},
        {"aU", number(en.aU)},
        {"aD", number(en.aD)},
        {"product", number(en.product)},
        {"systemCoeff", number(en.systemCoeff)},
        {"thickScreedRule", en.thickScreedRule},
        {"wideSpacingRule", en.wideSpacingRule},
        {"characteristic", number(en.characteristic)},
        {"logMeanExcess", number(en.logMeanExcess)},
        {"limitB", number(en.limitB)},
        {"limitN", number(en.limitN)},
        {"limitPhi", number(en.limitPhi)},
        {"limitExcess", number(en.limitExcess)},
        {"upwardResistance", number(en.upwardResistance)},
    };
}

const char* checkKey(cooling::CheckId id) {
    using cooling::CheckId;
    switch (id) {
    case CheckId::SupplyDew:
        return "supplyDew";
    case CheckId::FloorDew:
        return "floorDew";
    case CheckId::InletDew:
        return "inletDew";
    case CheckId::FloorComfort:
        return "floorComfort";
    case CheckId::Rise:
        return "rise";
    case CheckId::Load:
        break;
    }
    return "load";
}

const char* limitKey(cooling::Limit limit) {
    switch (limit) {
    case cooling::Limit::DewPoint:
        return "dewPoint";
    case cooling::Limit::FloorTemp:
        return "floorTemp";
    case cooling::Limit::LowestWater:
        break;
    }
    return "lowestWater";
}

bool requiredPass(const cooling::LoopResult& r, std::initializer_list<cooling::CheckId> ids) {
    for (const cooling::Check& c : r.checks)
        for (const cooling::CheckId id : ids)
            if (c.id == id && c.checked && !c.passed)
                return false;
    return true;
}

} // namespace

method::MethodLoopResult heatingLoop(method::Method method, const ManifoldInput& manifold,
                                     const LoopInput& loop, RoomCategory category) {
    method::LoopSetup setup = method::loopSetup(manifold, loop);
    setup.category = category;
    return method::loopByMethod(method, setup);
}

cooling::LoopResult coolingLoopOf(const ManifoldInput& manifold, const LoopInput& loop,
                                  const CalcMode& mode) {
    const method::LoopSetup setup = method::loopSetup(manifold, loop);
    const en1264::Floor floor = en1264::floorFromConstruction(
        setup.thickness, setup.conductivity, setup.pipeDiameterMm, setup.spacingMm);
    cooling::RoomConditions room;
    room.temp = mode.roomTemp.value_or(loop.roomTemp);
    room.humidity = mode.humidity;
    const double supply = manifold.supplyTemp;
    const double ret = supply + loopTempDiff(manifold, loop);
    return cooling::coolingLoop(cooling::loopInputs(floor, supply, ret, room, loop.lengthM));
}

bool supplyPasses(const cooling::LoopResult& r) {
    return r.applicable() && requiredPass(r, {cooling::CheckId::SupplyDew});
}

bool surfacePasses(const cooling::LoopResult& r) {
    return r.applicable() &&
           requiredPass(r, {cooling::CheckId::FloorDew, cooling::CheckId::InletDew,
                            cooling::CheckId::FloorComfort});
}

QString passText(bool passed) {
    return passed ? QStringLiteral("合格") : QStringLiteral("不合格");
}

QString coolingProblemText(const cooling::LoopResult& r) {
    using cooling::Applicability;
    switch (r.applicability) {
    case Applicability::Applicable:
        return {};
    case Applicability::Construction:
        return enApplicabilityText(r.characteristic.heating);
    case Applicability::RoomAir:
        return QStringLiteral("室内温度或相对湿度超出露点公式的范围");
    case Applicability::DewMargin:
        return QStringLiteral("防结露余量小于 1 K");
    case Applicability::TemperatureOrder:
        return QStringLiteral("供冷要求 供水温度 ≤ 回水温度 < 室内温度");
    case Applicability::SupplyTooCold:
        return QStringLiteral("供水温度不高于 4 ℃，不属于地面供冷");
    case Applicability::Length:
        return QStringLiteral("单管长度不是大于 0 的数");
    case Applicability::SpaceBelow:
        break;
    }
    return QStringLiteral("下层热阻或温度无效");
}

QJsonObject heatingJson(const method::MethodLoopResult& r) {
    QJsonObject o{
        {"mode", "heating"},
        {"method", QLatin1String(method::methodKey(r.method))},
        {"methodName", QString::fromUtf8(r.methodName)},
        {"clause", QString::fromUtf8(r.clause)},
        {"computed", r.computed()},
        {"problem", QLatin1String(loopProblemKey(r.problem))},
        {"problemText", loopProblemText(r.problem)},
    };
    if (!r.computed())
        return o;
    o.insert("heatOutput", number(r.heatOutput));
    o.insert("floorTempMean", number(r.floorTempMean));
    o.insert("floorLimit", number(r.floorLimit));
    o.insert("limitOutput", number(r.limitOutput));
    o.insert("limitOutputMax", number(r.limitOutputMax));
    o.insert("withinLimit", r.withinLimit);
    o.insert("verdict", r.withinLimit ? "pass" : "fail");
    o.insert("verdictText", passText(r.withinLimit));
    o.insert("downwardOutput", number(r.downwardOutput));
    o.insert("area", number(r.area));
    o.insert("loopOutput", number(r.loopOutput));
    o.insert("flow", number(r.flowKgh));
    o.insert("flowLpm", number(r.flowLpm));
    o.insert("velocity", number(r.velocity));
    o.insert("pressureDrop", number(r.pressureDrop));
    o.insert("validity", QJsonArray::fromStringList(validityKeys(r.en1264Flags)));
    o.insert("notes", QJsonArray::fromStringList(loopNoteKeys(r.notes)));
    if (r.standard)
        o.insert("standard", standardJson(*r.standard));
    return o;
}

QJsonObject coolingJson(const cooling::LoopResult& r) {
    QJsonObject o{
        {"mode", "cooling"},
        {"method", "en1264"},
        {"methodName", QStringLiteral("EN 1264-5")},
        {"clause", utf8(r.method)},
        {"computed", r.applicable()},
        {"problemText", coolingProblemText(r)},
        {"roomTemp", number(r.room.temp)},
        {"humidity", number(r.room.humidity * 100)},
        {"dewMargin", number(r.room.dewMargin)},
        {"supplyTemp", number(r.supplyTemp)},
        {"returnTemp", number(r.returnTemp)},
    };
    if (!r.applicable())
        return o;
    const cooling::Characteristic& c = r.characteristic;
    o.insert("bareHeating", number(c.bareHeating));
    o.insert("coveredHeating", number(c.coveredHeating));
    o.insert("coveringResistance", number(c.coveringResistance));
    o.insert("coveringRatio", number(c.coveringRatio));
    o.insert("coolingCoeff", number(c.cooling));
    o.insert("extrapolated", c.extrapolated);
    o.insert("validity", QJsonArray::fromStringList(validityKeys(c.heatingFlags)));
    o.insert("rise", number(r.rise));
    o.insert("underTemp", number(r.underTemp));
    o.insert("coolingOutput", number(r.coolingOutput));
    o.insert("floorTempMean", number(r.floorTempMean));
    o.insert("inletOutput", number(r.inletOutput));
    o.insert("floorTempInlet", number(r.floorTempInlet));
    o.insert("dewPoint", number(r.dewPoint));
    o.insert("dewPointClause", utf8(cooling::clause::kDewPoint));
    o.insert("minSupplyTemp", number(r.minSupplyTemp));
    o.insert("comfortFloorTemp", number(r.floorTempMin));
    o.insert("minFloorTemp", number(r.floorTempLowest));
    o.insert("dewLimitedOutput", number(r.dewLimitedOutput));
    o.insert("floorLimitedOutput", number(r.floorLimitedOutput));
    o.insert("maxAdmissibleOutput", number(r.maxAdmissibleOutput));
    o.insert("admissibleLimit", QLatin1String(limitKey(r.admissible.limit)));
    o.insert("admissibleSupplyTemp", number(r.admissible.supplyTemp));
    o.insert("area", number(r.area));
    o.insert("loopOutput", number(r.loopOutput));
    o.insert("upwardResistance", number(r.upwardResistance));
    o.insert("belowCounted", r.belowCounted);
    o.insert("downwardOutput", number(r.downwardOutput));
    o.insert("upwardShare", number(r.upwardShare));
    o.insert("waterLoad", number(r.waterLoad));
    o.insert("flow", number(r.flow));
    o.insert("velocity", number(r.velocity));
    const bool supply = supplyPasses(r);
    const bool surface = surfacePasses(r);
    o.insert("supplyVerdict", supply ? "pass" : "fail");
    o.insert("supplyVerdictText", passText(supply));
    o.insert("supplyClause",
             utf8(cooling::checkClause(cooling::CheckId::SupplyDew, r.room.occupancy)));
    o.insert("surfaceVerdict", surface ? "pass" : "fail");
    o.insert("surfaceVerdictText", passText(surface));
    o.insert("surfaceClause",
             QStringLiteral("%1；%2").arg(
                 utf8(cooling::checkClause(cooling::CheckId::FloorDew, r.room.occupancy)),
                 utf8(cooling::checkClause(cooling::CheckId::FloorComfort, r.room.occupancy))));
    o.insert("admissibleDesign", r.admissibleDesign);
    QJsonArray checks;
    for (const cooling::Check& check : r.checks) {
        QJsonObject c{{"code", utf8(cooling::checkCode(check.id))},
                      {"key", QLatin1String(checkKey(check.id))},
                      {"kind", cooling::checkKind(check.id) == cooling::CheckKind::Required
                                   ? "required"
                                   : "advice"},
                      {"checked", check.checked},
                      {"passed", check.passed},
                      {"value", number(check.value)},
                      {"limit", number(check.limit)},
                      {"clause", utf8(cooling::checkClause(check.id, r.room.occupancy))}};
        if (check.id == cooling::CheckId::Rise)
            c.insert("upperLimit", number(check.upperLimit));
        if (check.id == cooling::CheckId::SupplyDew)
            c.insert("belowDewPoint", check.belowDewPoint);
        checks.append(c);
    }
    o.insert("checks", checks);
    return o;
}

} // namespace zorva::cli
