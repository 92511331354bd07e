// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The design heat load of a room by the simplified room method of
// EN 12831-1:2017 (docs/heat-load.md §3):
//   Φ_T = Σ A·(U + ΔU_TB)·f_x·(θ_int − θ_e)          (eq. 50–52)
//   Φ_V = V·n_min·0.34·(θ_int − θ_e)                 (eq. 53)
//   Φ_hu = A_floor·φ_hu                              (eq. 39)
// with f_x = (θ_int − θ_a)/(θ_int − θ_e) beside a space at θ_a, held at 0
// when the neighbour is warmer.

#include "core/heatload/loadresult.h"

namespace zorva::heatload {

// f_x of an element when none is typed: 1.0 outdoors, 0.5 beside an
// unheated space, 0.3 against the ground (Table B.11), and the temperature
// ratio beside a space whose temperature is known.
double defaultFx(const EnvelopeElement& element, double indoorTemp, double outdoorTemp);

HeatLoadResult computeEn12831(const RoomEnvelope& room, const En12831Options& options);

} // namespace zorva::heatload
