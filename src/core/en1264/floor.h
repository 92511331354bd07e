// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The floor of a room as EN 1264-2 type A sees it, the program's
// construction mapped onto it, the surface temperature limit of a room
// category, and the characteristic and limit curve of one floor
// (docs/en1264-design.md, "The floor of a room").

#include "core/engine/designcheck.h"
#include "core/engine/en1264.h"

#include <array>

namespace zorva::en1264 {

// Lengths in m, conductivities in W/(m·K), resistances in m²·K/W.
struct Floor {
    double spacing = 0.15;            // T
    double pipeDiameter = 0.020;      // D, outside
    double wallThickness = 0.002;     // s_R
    double wallConductivity = 0.35;   // λ_R
    double screedAbove = 0.045;       // s_u, screed above the pipe top
    double screedConductivity = 1.2;  // λ_E
    double coveringResistance = 0.10; // R_λ,B

    double innerDiameter() const { return pipeDiameter - 2 * wallThickness; }
};

// The construction window's values (thicknesses in mm of surface,
// levelling, filling layer and pipe wall; their conductivities) and the
// pipe diameter and spacing in mm, as EN 1264-2 inputs: the surface layer is
// the covering, the levelling layer and the filling above the pipe top are
// one screed of series conductivity, after the filling layer has been raised
// to the pipe diameter as the program's calculation does. The same numbers
// as en1264Inputs() gives for the same field texts.
Floor floorFromConstruction(const std::array<double, 4>& thicknessMm,
                            const std::array<double, 4>& conductivity, double pipeDiameterMm,
                            double spacingMm);

En1264Inputs methodInputs(const Floor& floor, double supplyTemp, double returnTemp, double roomTemp,
                          double floorLimit);

// θ_F,max (℃) for the limit curve: 29 in the occupied zone (居住区), 35 in
// the peripheral zone, θ_i + 9 K in bathrooms (EN 1264-2's surface
// temperature limits), and the JGJ 142 categories at their upper limit.
double surfaceLimit(RoomCategory category, double roomTemp);

// The characteristic K_H, the validity flags and the limit curve of a floor
// at a room temperature. None of them depends on the water temperatures, so
// the method is run with supply = return = θ_i + 10 K; the result's heat
// flux and floor temperature belong to that point and mean nothing else.
En1264Result floorCharacteristic(const Floor& floor, double roomTemp, double floorLimit);

// R_o = 1/α + R_λ,B + s_u/λ_E, from the pipe plane up to the room.
double upwardResistance(const Floor& floor);

// The mean floor temperature by the JGJ 142 law t = θ_i + 9.82·(q/100)^0.969
// (the law of the program's own method), ℃; θ_i for q ≤ 0.
double jgjFloorTemp(double heatFlux, double roomTemp);

} // namespace zorva::en1264
