// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/en1264/floor.h"

#include "core/engine/constants.h"

#include <cmath>

namespace zorva::en1264 {

namespace {
constexpr double kSurfaceResistance = 1 / 10.8; // 1/α at the floor surface, m²·K/W
} // namespace

Floor floorFromConstruction(const std::array<double, 4>& thicknessMm,
                            const std::array<double, 4>& conductivity, double pipeDiameterMm,
                            double spacingMm) {
    // Same arithmetic, in the same order, as en1264Inputs on field texts.
    const double surfaceMm = thicknessMm[0];
    const double levelMm = thicknessMm[1];
    const double fillMm = pipeDiameterMm > thicknessMm[2] ? pipeDiameterMm : thicknessMm[2];
    Floor f;
    f.spacing = spacingMm / 1000;
    f.pipeDiameter = pipeDiameterMm / 1000;
    f.wallThickness = thicknessMm[3] / 1000;
    f.wallConductivity = conductivity[3];
    f.coveringResistance = (surfaceMm / 1000) / conductivity[0];
    f.screedAbove = (levelMm + fillMm - pipeDiameterMm) / 1000;
    const double screedResistance =
        (levelMm / 1000) / conductivity[1] + ((fillMm - pipeDiameterMm) / 1000) / conductivity[2];
    f.screedConductivity = f.screedAbove / screedResistance;
    return f;
}

En1264Inputs methodInputs(const Floor& floor, double supplyTemp, double returnTemp, double roomTemp,
                          double floorLimit) {
    En1264Inputs in;
    in.spacing = floor.spacing;
    in.diameter = floor.pipeDiameter;
    in.wallThickness = floor.wallThickness;
    in.wallConductivity = floor.wallConductivity;
    in.screedAbove = floor.screedAbove;
    in.screedConductivity = floor.screedConductivity;
    in.coveringResistance = floor.coveringResistance;
    in.supplyTemp = supplyTemp;
    in.returnTemp = returnTemp;
    in.roomTemp = roomTemp;
    in.floorLimit = floorLimit;
    return in;
}

double surfaceLimit(RoomCategory category, double roomTemp) {
    if (category == RoomCategory::Bathroom)
        return roomTemp + 9;
    return floorTempLimit(category);
}

En1264Result floorCharacteristic(const Floor& floor, double roomTemp, double floorLimit) {
    // Any water above the room will do; a room so warm that 10 K vanish in
    // its last digit takes the next number up.
    double water = roomTemp + 10;
    if (!(water > roomTemp))
        water = std::nextafter(roomTemp, HUGE_VAL);
    return en1264TypeA(methodInputs(floor, water, water, roomTemp, floorLimit));
}

double upwardResistance(const Floor& floor) {
    return kSurfaceResistance + floor.coveringResistance +
           floor.screedAbove / floor.screedConductivity;
}

double jgjFloorTemp(double heatFlux, double roomTemp) {
    namespace k = constants;
    if (!(heatFlux > 0))
        return roomTemp;
    return roomTemp +
           k::emissionCoefficient * std::pow(heatFlux / k::emissionDivisor, k::emissionExponent);
}

} // namespace zorva::en1264
