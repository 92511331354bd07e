// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/engine/en1264.h"

#include "core/engine/checked.h"
#include "core/engine/en1264tables.h"
#include "core/engine/numparse.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>

namespace zorva {

namespace {

constexpr double kSurfaceCoefficient = 10.8; // α, W/(m²·K)
constexpr double kRefScreed = 0.045;         // s_u,0, m
constexpr double kRefScreedConductivity = 1.0;
constexpr double kRefSystemCoeff = 6.7; // B_0, W/(m²·K)
constexpr double kRefWall = 0.002;      // s_R,0, m
constexpr double kRefWallConductivity = 0.35;
constexpr double kBasicCoefficient = 8.92;
constexpr double kBasicExponent = 1.1;
constexpr double kLimitBase = 9; // Δθ_0, K
constexpr double kWidestTableSpacing = 0.375;
constexpr double kWideRatioStart = 0.173;

struct Characteristic {
    double aB = 0, aT = 0, aU = 0, aD = 0;
    double mT = 0, mU = 0, mD = 0;
    double product = 0;
    double bracket = 0;
    double systemCoeff = 0;
    double value = 0; // B·Π
};

// Steps a_B to K_H = B·Π at spacing T (at most the widest table row) and
// screed thickness su.
Characteristic characteristicAt(const En1264Inputs& in, double spacing, double su) {
    const double r = in.coveringResistance;
    const double d = in.diameter;
    Characteristic c;
    c.aB = (1 / kSurfaceCoefficient + kRefScreed / kRefScreedConductivity) /
           (1 / kSurfaceCoefficient + kRefScreed / in.screedConductivity + r);
    c.aT = en1264::tableAT(r);
    c.aU = en1264::tableAU(spacing, r);
    c.aD = en1264::tableAD(spacing, r);
    c.mT = 1 - spacing / 0.075;
    c.mU = 100 * (0.045 - su);
    c.mD = 250 * (d - 0.020);
    c.product = c.aB * std::pow(c.aT, c.mT) * std::pow(c.aU, c.mU) * std::pow(c.aD, c.mD);
    c.bracket = std::log(d / (d - 2 * in.wallThickness)) / (2 * in.wallConductivity) -
                std::log(d / (d - 2 * kRefWall)) / (2 * kRefWallConductivity);
    const double inverse =
        1 / kRefSystemCoeff + (1.1 / std::numbers::pi) * c.product * spacing * c.bracket;
    c.systemCoeff = 1 / inverse;
    c.value = c.systemCoeff * c.product;
    return c;
}

bool allFinite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

En1264Applicability applicability(const En1264Inputs& in) {
    using A = En1264Applicability;
    if (!allFinite({in.spacing, in.diameter, in.wallThickness, in.wallConductivity,
                    in.coveringResistance, in.screedAbove, in.supplyTemp, in.returnTemp,
                    in.roomTemp, in.floorLimit}))
        return A::InvalidConstruction;
    if (!(in.spacing > 0) || !(in.diameter > 0) || !(in.wallThickness >= 0) ||
        !(in.wallConductivity > 0) || !(in.coveringResistance >= 0) ||
        !(in.diameter > 2 * in.wallThickness))
        return A::InvalidConstruction;
    if (!(in.screedAbove > 0))
        return A::NoScreedAbovePipe;
    if (!std::isfinite(in.screedConductivity) || !(in.screedConductivity > 0))
        return A::InvalidConstruction;
    if (!(in.supplyTemp >= in.returnTemp && in.returnTemp > in.roomTemp))
        return A::TemperatureOrder;
    // The reference pipe's wall term needs a pipe wider than its two walls.
    if (!(in.diameter > 2 * kRefWall))
        return A::OutsideMethodNumbers;
    return A::Applicable;
}

unsigned validityFlags(const En1264Inputs& in, double screedResistance) {
    unsigned flags = 0;
    if (in.spacing < 0.050)
        flags |= SpacingBelowTables;
    if (in.spacing > kWidestTableSpacing)
        flags |= SpacingWide;
    if (in.diameter < 0.008 || in.diameter > 0.030)
        flags |= DiameterOutsideRange;
    if (in.screedAbove < 0.010)
        flags |= ScreedThin;
    if (in.coveringResistance > 0.15)
        flags |= CoveringOutsideTables;
    if (screedResistance < 0.010)
        flags |= ScreedRatioBelowTables;
    return flags;
}

double logMeanExcess(double supply, double ret, double room) {
    if (supply - ret < 1e-9)
        return (supply + ret) / 2 - room;
    return (supply - ret) / std::log((supply - room) / (ret - room));
}

// The limit curve: B_G, n_G, φ, ΔθH,G, q_G and q_G,max into `r`.
void limitCurve(const En1264Inputs& in, double tableSpacing, En1264Result& r) {
    const double excess = in.floorLimit - in.roomTemp;
    r.limitBySpacingRatio = r.screedResistance > en1264::screedRatioTableEnd;
    if (r.limitBySpacingRatio) {
        const double ratio = in.screedAbove / tableSpacing;
        r.limitB = en1264::tableBGBySpacingRatio(ratio);
        r.limitN = en1264::tableNGBySpacingRatio(ratio);
    } else {
        r.limitB = en1264::tableBG(tableSpacing, r.screedResistance);
        r.limitN = en1264::tableNG(tableSpacing, r.screedResistance);
    }
    if (!(excess > 0))
        return; // no floor above the room temperature: q_G = 0
    r.limitPhi = std::pow(excess / kLimitBase, kBasicExponent);
    r.limitFluxMax = kBasicCoefficient * std::pow(excess, kBasicExponent);
    r.limitExcess = r.limitPhi * std::pow(r.limitB / r.characteristicAtTable, 1 / (1 - r.limitN));
    r.limitFlux = r.limitPhi * r.limitB * std::pow(r.limitExcess / r.limitPhi, r.limitN);
    if (!r.wideSpacingRule)
        return;
    const double base = r.limitFlux * kWidestTableSpacing / in.spacing;
    const double x = in.screedAbove / in.spacing;
    if (x > kWideRatioStart && base > 0) {
        const double spread = std::exp(-20 * (x - kWideRatioStart) * (x - kWideRatioStart));
        r.limitWideFactor = (r.limitFluxMax - (r.limitFluxMax - base) * spread) / base;
    }
    r.limitFlux = base * r.limitWideFactor;
    r.limitExcess *= r.limitWideFactor;
}

} // namespace

double en1264FloorTemp(double heatFlux, double roomTemp) {
    if (!(heatFlux > 0))
        return roomTemp;
    return roomTemp + std::pow(heatFlux / kBasicCoefficient, 1 / kBasicExponent);
}

En1264Result en1264TypeA(const En1264Inputs& in) {
    En1264Result r;
    r.coveringResistance = in.coveringResistance;
    r.screedAbove = in.screedAbove;
    r.screedConductivity = in.screedConductivity;
    r.floorLimit = in.floorLimit;
    r.applicability = applicability(in);
    if (!r.applicable())
        return r;
    r.screedResistance = in.screedAbove / in.screedConductivity;
    r.flags = validityFlags(in, r.screedResistance);

    // Wider spacings are computed at the widest table row and scaled.
    r.wideSpacingRule = in.spacing > kWidestTableSpacing;
    const double spacing = std::min(in.spacing, kWidestTableSpacing);
    const Characteristic c = characteristicAt(in, spacing, in.screedAbove);
    r.coveringFactor = c.aB;
    r.aT = c.aT;
    r.aU = c.aU;
    r.aD = c.aD;
    r.mT = c.mT;
    r.mU = c.mU;
    r.mD = c.mD;
    r.product = c.product;
    r.wallBracket = c.bracket;
    r.systemCoeff = c.systemCoeff;

    // Thick screed: the characteristic at s_u* plus the rest of the screed
    // as a plain resistance.
    r.thickScreedLimit = spacing <= 0.200 ? 0.100 : 0.5 * spacing;
    r.thickScreedRule = in.screedAbove > r.thickScreedLimit;
    if (r.thickScreedRule) {
        const Characteristic thick = characteristicAt(in, spacing, r.thickScreedLimit);
        r.thickProduct = thick.product;
        r.thickSystemCoeff = thick.systemCoeff;
        r.thickCharacteristic = thick.value;
        r.characteristicAtTable =
            1 / (1 / thick.value + (in.screedAbove - r.thickScreedLimit) / in.screedConductivity);
    } else {
        r.characteristicAtTable = c.value;
    }
    r.characteristic = r.wideSpacingRule
                           ? r.characteristicAtTable * kWidestTableSpacing / in.spacing
                           : r.characteristicAtTable;
    if (!std::isfinite(r.characteristic) || !(r.characteristic > 0)) {
        r.applicability = En1264Applicability::OutsideMethodNumbers;
        return r;
    }

    r.logMeanExcess = logMeanExcess(in.supplyTemp, in.returnTemp, in.roomTemp);
    r.heatFlux = r.characteristic * r.logMeanExcess;
    r.meanFloorTemp = en1264FloorTemp(r.heatFlux, in.roomTemp);

    limitCurve(in, spacing, r);
    r.withinLimit = r.heatFlux <= r.limitFlux && r.heatFlux <= r.limitFluxMax;

    r.upwardResistance = 1 / kSurfaceCoefficient + in.coveringResistance + r.screedResistance;
    if (in.downwardResistance && in.belowTemp)
        r.downwardLoss = (r.upwardResistance * r.heatFlux + in.roomTemp - *in.belowTemp) /
                         *in.downwardResistance;
    if (!allFinite({r.heatFlux, r.meanFloorTemp, r.limitExcess, r.limitFlux}))
        r.applicability = En1264Applicability::OutsideMethodNumbers;
    return r;
}

En1264Inputs en1264Inputs(const FieldRecord& fields, double floorLimit) {
    const auto value = [](const std::string& text) { return parseLeadingNumber(text); };
    const double diameterMm = value(fields.design[DiameterField]);
    const double surfaceMm = value(fields.thickness[0]);
    const double levelMm = value(fields.thickness[1]);
    double fillMm = value(fields.thickness[2]);
    // The calculation raises the filling layer to the pipe diameter first.
    try {
        if (const auto write = clampFillingLayer(fields))
            fillMm = parseLeadingNumber(write->fill.view());
    } catch (const ArithmeticError&) {
        fillMm = diameterMm;
    }

    En1264Inputs in;
    in.spacing = value(fields.design[SpacingField]) / 1000;
    in.diameter = diameterMm / 1000;
    in.wallThickness = value(fields.thickness[3]) / 1000;
    in.wallConductivity = value(fields.conductivity[3]);
    in.coveringResistance = (surfaceMm / 1000) / value(fields.conductivity[0]);
    in.screedAbove = (levelMm + fillMm - diameterMm) / 1000;
    const double screedResistance = (levelMm / 1000) / value(fields.conductivity[1]) +
                                    ((fillMm - diameterMm) / 1000) / value(fields.conductivity[2]);
    in.screedConductivity = in.screedAbove / screedResistance;
    in.supplyTemp = value(fields.design[SupplyTempField]);
    in.returnTemp = value(fields.design[ReturnTempField]);
    in.roomTemp = value(fields.design[RoomTempField]);
    in.floorLimit = floorLimit;
    return in;
}

} // namespace zorva
