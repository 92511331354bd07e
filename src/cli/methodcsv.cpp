// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/methodcsv.h"

#include "cli/methodloop.h"
#include "core/cooling/limits.h"
#include "core/engine/numtext.h"
#include "core/io/manifoldfields.h"
#include "core/wording/advicewording.h"
#include "core/wording/projectwording.h"

#include <cmath>

namespace zorva::cli {

namespace {

QString fixed(double value, int decimals) {
    return std::isfinite(value) ? QString::fromUtf8(patternText(value, decimals).view())
                                : QString();
}

QString fixed(const std::optional<double>& value, int decimals) {
    return value ? fixed(*value, decimals) : QString();
}

const char* const kHeatingCaptions[] = {
    "回水温度(℃)",      "面积(m²)",         "单位面积散热量(W/m²)",
    "向下热损失(W/m²)", "地面平均温度(℃)",  "地表面温度上限(℃)",
    "界限散热量(W/m²)", "最大散热量(W/m²)", "环路散热量(W)",
    "流量(kg/h)",       "流量(l/min)",      "流速(m/s)",
    "阻力(kPa)",        "校核结论",         "状态",
};

const char* const kCoolingCaptions[] = {
    "室内温度(℃)",
    "相对湿度(%)",
    "回水温度(℃)",
    "面积(m²)",
    "单位面积供冷量(W/m²)",
    "地面平均温度(℃)",
    "进水端地面温度(℃)",
    "露点温度(℃)",
    "允许最低供水温度(℃)",
    "地面温度下限(℃)",
    "最大允许供冷量(W/m²)",
    "环路供冷量(W)",
    "流量(kg/h)",
    "流速(m/s)",
    "供水温度校核",
    "地表面温度校核",
    "状态",
};

template <std::size_t N> void append(QStringList& list, const char* const (&captions)[N]) {
    for (const char* caption : captions)
        list << QString::fromUtf8(caption);
}

} // namespace

bool methodRows(const CalcMode& mode) {
    return mode.cooling || mode.method != method::Method::Program;
}

QStringList methodLine(const CalcMode& mode) {
    if (mode.cooling)
        return {QStringLiteral("计算方法"), QStringLiteral("EN 1264-5 供冷"),
                QString::fromUtf8(cooling::clause::kMethod.data(),
                                  static_cast<qsizetype>(cooling::clause::kMethod.size()))};
    if (!mode.methodGiven)
        return {};
    return {QStringLiteral("计算方法"), QString::fromUtf8(method::methodName(mode.method)),
            QString::fromUtf8(method::methodClause(mode.method))};
}

int sheetInputColumns() {
    return 1 + io::kLoopNumberCount + io::kManifoldNumberCount;
}

QStringList methodCsvHeader(const CalcMode& mode) {
    QStringList header;
    header << QString::fromUtf8(io::kLoopNameCaption);
    for (const io::NumberRange& range : io::loopRanges())
        header << range.caption();
    for (const io::NumberRange& range : io::manifoldRanges())
        header << range.caption();
    if (mode.cooling)
        append(header, kCoolingCaptions);
    else
        append(header, kHeatingCaptions);
    return header;
}

QStringList methodCsvRow(const CalcMode& mode, const ManifoldInput& manifold, const LoopInput& loop,
                         QStringList row, bool& computed) {
    if (mode.cooling) {
        const cooling::LoopResult r = coolingLoopOf(manifold, loop, mode);
        computed = r.applicable();
        row << fixed(r.room.temp, 1) << fixed(r.room.humidity * 100, 1) << fixed(r.returnTemp, 1);
        if (!computed) {
            for (int i = 3; i < int(std::size(kCoolingCaptions)) - 1; ++i)
                row << QString();
            return row << coolingProblemText(r);
        }
        row << fixed(r.area, 2) << fixed(r.coolingOutput, 2) << fixed(r.floorTempMean, 2)
            << fixed(r.floorTempInlet, 2) << fixed(r.dewPoint, 2) << fixed(r.minSupplyTemp, 2)
            << fixed(r.floorTempLowest, 2) << fixed(r.maxAdmissibleOutput, 2)
            << fixed(r.loopOutput, 0) << fixed(r.flow, 1) << fixed(r.velocity, 3)
            << passText(supplyPasses(r)) << passText(surfacePasses(r)) << QStringLiteral("完成");
        return row;
    }
    const method::MethodLoopResult r =
        heatingLoop(mode.method, manifold, loop, RoomCategory::LongStay);
    computed = r.computed();
    row << fixed(manifold.supplyTemp - loopTempDiff(manifold, loop), 1);
    if (!computed) {
        for (int i = 1; i < int(std::size(kHeatingCaptions)) - 1; ++i)
            row << QString();
        return row << (r.problem == method::LoopProblem::MethodNotApplicable
                           ? enApplicabilityText(r.applicability)
                           : loopProblemText(r.problem));
    }
    const int d = r.standard ? std::max(1, enFluxDecimals(*r.standard)) : 1;
    row << fixed(r.area, 2) << fixed(r.heatOutput, d) << fixed(r.downwardOutput, 1)
        << fixed(r.floorTempMean, 1) << fixed(r.floorLimit, 1) << fixed(r.limitOutput, d)
        << fixed(r.limitOutputMax, d) << fixed(r.loopOutput, 0) << fixed(r.flowKgh, 1)
        << fixed(r.flowLpm, 2) << fixed(r.velocity, 2) << fixed(r.pressureDrop, 1)
        << passText(r.withinLimit) << QStringLiteral("完成");
    return row;
}

} // namespace zorva::cli
