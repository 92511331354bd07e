// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How cold the water may be: the lowest supply temperature at a fixed rise
// that keeps the supply, the floor surface and the inlet strip at least the
// dew-point margin above the dew point and the floor at its comfort limit,
// and the under-temperature there (docs/cooling.md, "What is admissible").

#include <optional>

namespace zorva::cooling {

// Which limit sets the most a floor may cool.
enum class Limit {
    DewPoint,    // the supply (or the inlet strip) at θ_d + Δθ_s
    FloorTemp,   // the mean floor at max(θ_F,min, θ_d + Δθ_s)
    LowestWater, // the lowest supply the program proposes (5 ℃)
};

struct AdmissibleWater {
    // The lowest supply the dew point allows: θ_V,min = θ_d + Δθ_s, raised
    // where a characteristic above 7 W/(m²·K) would make the inlet strip
    // colder than the water's margin allows.
    double dewSupplyTemp = 0;
    double dewUnderTemp = 0;       // Δθ_C there, 0 when its return is not below θ_i
    double floorLowest = 0;        // θ_F,lower = max(θ_F,min, θ_d + Δθ_s), ℃
    double floorLimitedOutput = 0; // q_F,lim = 7·(θ_i − θ_F,lower), at least 0
    double floorUnderTemp = 0;     // q_F,lim/K_C, K
    Limit limit = Limit::DewPoint; // the dew point when both give the same
    double underTemp = 0;          // admissible Δθ_C, K (0: no cooling at all)
    // The lowest admissible supply at this rise, never below dewSupplyTemp;
    // empty when no water cools the room without breaking a limit.
    std::optional<double> supplyTemp;
};

// For a floor of characteristic `cooling` (K_C > 0, the highest of a room's
// loops), water rising by `rise` (≥ 0), a room at `roomTemp`, the lowest
// supply `minSupplyTemp` = θ_d + Δθ_s and the comfort limit `floorMin`
// (empty: none). A proposed supply passes every check when the floor is
// computed again at it, to the last bit.
AdmissibleWater admissibleWater(double cooling, double rise, double roomTemp, double minSupplyTemp,
                                std::optional<double> floorMin);

// Mean floor surface temperature by the basic cooling characteristic,
// θ_F,m = θ_i − q/7 (ISO 11855-2 function 4).
double coolingFloorTemp(double coolingOutput, double roomTemp);

} // namespace zorva::cooling
