// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/curves/standardfield.h"

#include "core/cooling/dewpoint.h"
#include "core/cooling/field.h"
#include "core/en1264/field.h"
#include "core/engine/numparse.h"
#include "core/engine/numtext.h"

#include <algorithm>
#include <cmath>

namespace zorva::models {

namespace {

constexpr int kCoolingIntervals = 20;

QString fixed(double value, int decimals) {
    const NumberText text = patternText(value, decimals);
    return QString::fromLatin1(text.view().data(), static_cast<qsizetype>(text.size()));
}

QString general(double value) {
    const NumberText text = generalText(value);
    return QString::fromLatin1(text.view().data(), static_cast<qsizetype>(text.size()));
}

double number(const std::string& text) {
    return parseLeadingNumber(text);
}

// A value a rounding step away from one of the family (20 mm / 0.2 gives
// 0.09999999999999999, not 0.10) is that value: otherwise the family would
// show the same covering twice.
template <std::size_t N> double snapped(double value, const std::array<double, N>& family) {
    for (const double f : family)
        if (std::abs(value - f) <= 1e-12)
            return f;
    return value;
}

en1264::Floor floorOf(const FieldRecord& fields) {
    std::array<double, 4> thickness{};
    std::array<double, 4> conductivity{};
    for (int i = 0; i < kConstructionRows; ++i) {
        thickness[std::size_t(i)] = number(fields.thickness[std::size_t(i)]);
        conductivity[std::size_t(i)] = number(fields.conductivity[std::size_t(i)]);
    }
    en1264::Floor floor =
        en1264::floorFromConstruction(thickness, conductivity, number(fields.design[DiameterField]),
                                      number(fields.design[SpacingField]));
    floor.spacing = snapped(floor.spacing, en1264::kFieldSpacings);
    floor.coveringResistance = snapped(floor.coveringResistance, en1264::kFieldCoverings);
    return floor;
}

QString spacingName(double spacing, bool current) {
    QString name = QStringLiteral("间距 %1 mm").arg(general(std::round(spacing * 1e6) / 1e3));
    return current ? name + QStringLiteral("（当前）") : name;
}

QString coveringName(double resistance, bool current) {
    QString name = QStringLiteral("R_λ,B %1 m²·K/W").arg(fixed(resistance, 3));
    return current ? name + QStringLiteral("（当前）") : name;
}

PlotSeries lineSeries(const en1264::FieldLine& line, bool bySpacing) {
    PlotSeries s;
    s.kind = PlotSeries::Kind::Line;
    s.parameter = bySpacing ? line.spacing : line.coveringResistance;
    s.current = line.current;
    s.name = bySpacing ? spacingName(line.spacing, line.current)
                       : coveringName(line.coveringResistance, line.current);
    s.points.reserve(line.points.size());
    for (const en1264::FieldPoint& p : line.points)
        s.points.emplace_back(p.excess, p.heatFlux);
    return s;
}

PlotSeries limitCurveSeries(const en1264::LimitCurve& curve) {
    PlotSeries s;
    s.kind = PlotSeries::Kind::LimitCurve;
    s.parameter = curve.spacing;
    s.name =
        QStringLiteral("极限曲线 间距 %1 mm").arg(general(std::round(curve.spacing * 1e6) / 1e3));
    for (const en1264::FieldPoint& p : curve.points)
        s.points.emplace_back(p.excess, p.heatFlux);
    return s;
}

PlotSeries limitPoints(const std::vector<en1264::FieldLine>& lines) {
    PlotSeries s;
    s.kind = PlotSeries::Kind::LimitPoints;
    s.name = QStringLiteral("极限点 (Δθ_H,G, q_G)");
    for (const en1264::FieldLine& l : lines)
        if (!l.points.empty())
            s.points.emplace_back(l.limitExcess, l.limitFlux);
    return s;
}

PlotSeries horizontal(const QString& name, double y, double toX) {
    PlotSeries s;
    s.kind = PlotSeries::Kind::Limit;
    s.name = name;
    s.points = {QPointF(0, y), QPointF(toX, y)};
    return s;
}

PlotSeries designPoint(double x, double y) {
    PlotSeries s;
    s.kind = PlotSeries::Kind::DesignPoint;
    s.name = QStringLiteral("设计点");
    s.points = {QPointF(x, y)};
    return s;
}

// Lines left out of a family, for the status text.
int skipped(const std::vector<en1264::FieldLine>& lines) {
    return int(std::count_if(lines.begin(), lines.end(),
                             [](const en1264::FieldLine& l) { return l.points.empty(); }));
}

} // namespace

const PlotSeries* FieldPlot::find(PlotSeries::Kind kind, double parameter) const {
    for (const PlotSeries& s : series)
        if (s.kind == kind && s.parameter == parameter)
            return &s;
    return nullptr;
}

StandardField en1264FieldOf(const FieldRecord& fields, RoomCategory category) {
    StandardField out;
    out.season = FieldSeason::Heating;
    out.roomTemp = number(fields.design[RoomTempField]);
    out.supplyTemp = number(fields.design[SupplyTempField]);
    out.returnTemp = number(fields.design[ReturnTempField]);
    out.floorLimit = en1264::surfaceLimit(category, out.roomTemp);
    const QString limitText = fixed(out.floorLimit, 1);
    out.clause = QStringLiteral("EN 1264-2 附录 A（A 型）：q = K_H·Δθ_H；极限曲线 "
                                "q_G = φ·B_G·(Δθ_H/φ)^n_G，θ_F,max %1 ℃")
                     .arg(limitText);

    const en1264::Floor floor = floorOf(fields);
    const en1264::CharacteristicField f = en1264::characteristicField(
        floor, out.roomTemp, out.floorLimit, en1264::FieldWater{out.supplyTemp, out.returnTemp});

    const QString x = QStringLiteral("对数平均温差 Δθ_H (K)");
    const QString y = QStringLiteral("散热量 q (W/m²)");
    out.spacing = {QStringLiteral("管间距"),
                   QStringLiteral("EN 1264-2 特性曲线族：管间距（R_λ,B %1 m²·K/W，θ_F,max %2 ℃）")
                       .arg(fixed(floor.coveringResistance, 3), limitText),
                   x,
                   y,
                   {}};
    out.covering = {QStringLiteral("面层热阻"),
                    QStringLiteral("EN 1264-2 特性曲线族：面层热阻（间距 %1 mm，θ_F,max %2 ℃）")
                        .arg(general(std::round(floor.spacing * 1e6) / 1e3), limitText),
                    x,
                    y,
                    {}};

    for (const en1264::FieldLine& l : f.spacingLines)
        if (!l.points.empty())
            out.spacing.series.push_back(lineSeries(l, true));
    for (const en1264::LimitCurve& c : f.limitCurves)
        if (!c.points.empty())
            out.spacing.series.push_back(limitCurveSeries(c));
    out.spacing.series.push_back(limitPoints(f.spacingLines));

    for (const en1264::FieldLine& l : f.coveringLines)
        if (!l.points.empty())
            out.covering.series.push_back(lineSeries(l, false));
    // B_G and n_G do not depend on the covering: one limit curve, the
    // design spacing's.
    for (std::size_t i = 0; i < f.spacingLines.size(); ++i)
        if (f.spacingLines[i].current && !f.limitCurves[i].points.empty())
            out.covering.series.push_back(limitCurveSeries(f.limitCurves[i]));
    out.covering.series.push_back(limitPoints(f.coveringLines));

    out.valid = f.limitFluxMax > 0 && std::any_of(f.spacingLines.begin(), f.spacingLines.end(),
                                                  [](const auto& l) { return !l.points.empty(); });
    if (!out.valid) {
        out.spacing.series.clear();
        out.covering.series.clear();
        out.status =
            f.limitFluxMax > 0
                ? QStringLiteral("按 EN 1264-2 画不出曲线：构造或管间距超出该方法的适用范围。")
                : QStringLiteral("θ_F,max %1 ℃ 不高于室温 %2 ℃，按 EN 1264-2 画不出曲线。")
                      .arg(limitText, fixed(out.roomTemp, 1));
        return out;
    }
    const QString qgMax = QStringLiteral("q_G,max %1 W/m²").arg(fixed(f.limitFluxMax, 1));
    out.spacing.series.push_back(horizontal(qgMax, f.limitFluxMax, f.grid.maxExcess));
    out.covering.series.push_back(horizontal(qgMax, f.limitFluxMax, f.grid.maxExcess));
    if (f.designPoint) {
        out.spacing.series.push_back(designPoint(f.designPoint->excess, f.designPoint->heatFlux));
        out.covering.series.push_back(out.spacing.series.back());
    }
    const int left = skipped(f.spacingLines) + skipped(f.coveringLines);
    out.status =
        QStringLiteral("EN 1264-2：Δθ_H 0～%1 K，室温 %2 ℃，θ_F,max %3 ℃ 的极限曲线；%4")
            .arg(general(f.grid.maxExcess), fixed(out.roomTemp, 1), limitText,
                 f.designPoint ? QStringLiteral("设计点按供回水 %1/%2 ℃。")
                                     .arg(fixed(out.supplyTemp, 1), fixed(out.returnTemp, 1))
                               : QStringLiteral("设计供回水温度不在该方法范围内，未画设计点。"));
    if (left > 0)
        out.status += QStringLiteral("%1 条曲线超出适用范围，未画。").arg(left);
    return out;
}

StandardField coolingFieldOf(const FieldRecord& fields, const CoolingAir& air) {
    StandardField out;
    out.season = FieldSeason::Cooling;
    out.roomTemp = air.roomTemp;
    out.clause = QStringLiteral("EN 1264-5 / ISO 11855-2 附录 A：q_C = K_C·Δθ_C；露点按 Magnus "
                                "公式，余量 %1 K（JGJ 142-2012 §3.1）")
                     .arg(general(cooling::kDefaultDewMargin));
    const double humidity = air.humidityPercent / 100;
    out.dewPoint = cooling::dewPoint(air.roomTemp, humidity);
    out.minSupply = cooling::lowestSupplyTemp(air.roomTemp, humidity, cooling::kDefaultDewMargin);
    const auto water = cooling::designWater(air.roomTemp, humidity, cooling::kDefaultDewMargin,
                                            cooling::kDefaultRise);
    if (!out.dewPoint || !water) {
        out.status =
            out.dewPoint
                ? QStringLiteral("室温 %1 ℃、相对湿度 %2 % 时露点 %3 ℃，供水须不低于 %4 ℃，"
                                 "回水已不低于室温：无法供冷。")
                      .arg(fixed(air.roomTemp, 1), general(air.humidityPercent),
                           fixed(*out.dewPoint, 1), fixed(*out.minSupply, 1))
                : QStringLiteral("室内温度或相对湿度超出露点公式的适用范围，画不出供冷曲线。");
        return out;
    }
    out.supplyTemp = water->supplyTemp;
    out.returnTemp = water->returnTemp;
    const en1264::Floor floor = floorOf(fields);
    cooling::RoomConditions room;
    room.temp = air.roomTemp;
    room.humidity = humidity;
    const cooling::CoolingField f = cooling::coolingField(
        cooling::loopInputs(floor, water->supplyTemp, water->returnTemp, room, 0));

    const QString x = QStringLiteral("室温−平均水温 Δθ_C (K)");
    const QString y = QStringLiteral("供冷量 q_C (W/m²)");
    out.spacing = {QStringLiteral("管间距"),
                   QStringLiteral("EN 1264-5 供冷特性曲线族：管间距（R_λ,B %1 m²·K/W，室温 "
                                  "%2 ℃，相对湿度 %3 %）")
                       .arg(fixed(floor.coveringResistance, 3), fixed(air.roomTemp, 1),
                            general(air.humidityPercent)),
                   x,
                   y,
                   {}};
    out.covering = {QStringLiteral("面层热阻"),
                    QStringLiteral("EN 1264-5 供冷特性曲线族：面层热阻（间距 %1 mm，室温 %2 ℃，"
                                   "相对湿度 %3 %）")
                        .arg(general(std::round(floor.spacing * 1e6) / 1e3), fixed(air.roomTemp, 1),
                             general(air.humidityPercent)),
                    x,
                    y,
                    {}};
    if (!f.valid) {
        out.status = QStringLiteral("该室内状态下画不出供冷曲线。");
        return out;
    }

    double top = f.floorLimitedOutput;
    int left = 0;
    const auto fill = [&](FieldPlot& plot, const std::vector<cooling::FieldLine>& lines,
                          bool bySpacing) {
        PlotSeries ends;
        ends.kind = PlotSeries::Kind::LimitPoints;
        ends.name = QStringLiteral("允许范围终点");
        for (const cooling::FieldLine& l : lines) {
            if (!l.hasLine()) {
                ++left;
                continue;
            }
            PlotSeries s;
            s.parameter = bySpacing ? l.spacing : l.coveringResistance;
            s.current = l.current;
            s.name = bySpacing ? spacingName(l.spacing, l.current)
                               : coveringName(l.coveringResistance, l.current);
            // A straight line, sampled as the heating field is, so the table
            // reads it at even steps.
            const double k = l.characteristic.cooling;
            s.points.reserve(kCoolingIntervals + 1);
            for (int i = 0; i <= kCoolingIntervals; ++i) {
                const double x = i == kCoolingIntervals ? l.axisUnderTemp
                                                        : l.axisUnderTemp * i / kCoolingIntervals;
                s.points.emplace_back(x, i == kCoolingIntervals ? l.axisOutput : k * x);
            }
            top = std::max(top, l.axisOutput);
            plot.series.push_back(std::move(s));
            ends.points.emplace_back(l.admissibleUnderTemp, l.admissibleOutput);
        }
        plot.series.push_back(std::move(ends));
    };
    fill(out.spacing, f.spacing, true);
    fill(out.covering, f.covering, false);
    out.valid = true;

    for (FieldPlot* plot : {&out.spacing, &out.covering}) {
        if (f.dewLimitUnderTemp) {
            PlotSeries dew;
            dew.kind = PlotSeries::Kind::Limit;
            dew.name = QStringLiteral("露点限值：露点 %1 ℃，供水 ≥ %2 ℃")
                           .arg(fixed(f.dewPoint, 1), fixed(f.minSupplyTemp, 1));
            dew.parameter = f.dewPoint;
            dew.points = {QPointF(*f.dewLimitUnderTemp, 0), QPointF(*f.dewLimitUnderTemp, top)};
            plot->series.push_back(std::move(dew));
        }
        plot->series.push_back(horizontal(
            QStringLiteral("地面温度下限 q_C %1 W/m²").arg(fixed(f.floorLimitedOutput, 1)),
            f.floorLimitedOutput, f.axisUnderTemp));
        if (f.designUnderTemp && f.designOutput)
            plot->series.push_back(designPoint(*f.designUnderTemp, *f.designOutput));
    }
    out.status = QStringLiteral("EN 1264-5：室温 %1 ℃、相对湿度 %2 %，露点 %3 ℃，供水不低于 "
                                "%4 ℃；设计点按供回水 %5/%6 ℃。")
                     .arg(fixed(air.roomTemp, 1), general(air.humidityPercent),
                          fixed(f.dewPoint, 1), fixed(f.minSupplyTemp, 1),
                          fixed(water->supplyTemp, 1), fixed(water->returnTemp, 1));
    if (!f.dewLimitUnderTemp)
        out.status += QStringLiteral("露点限值下的供水已不能供冷，未画露点线。");
    if (left > 0)
        out.status += QStringLiteral("%1 条曲线超出适用范围，未画。").arg(left);
    return out;
}

} // namespace zorva::models
