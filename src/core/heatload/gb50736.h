// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The design heat load of a room by GB 50736-2012 §5.2 with the
// floor-heating rules of JGJ 142-2012 §3.3 (docs/heat-load.md §2):
//   Q_j = α·K·F·(t_n − t_wn), or K·F·(t_n − t_c) beside a space at t_c;
//   Q_e = Q_j·(1 + β_ch + β_f + β_door + β_other)·(1 + β_h);
//   Q_T = ΣQ_e·(1 + β_int);
//   Q_inf = 0.28·c_p·ρ_wn·L·(t_n − t_wn), c_p = 1, ρ_wn = 353/(273 + t_wn);
// then option A (every term at t_n − 2) or B (a share of Q_T + Q_inf), the
// partial-area factor, and the inter-dwelling allowance apart.

#include "core/heatload/loadresult.h"

namespace zorva::heatload {

HeatLoadResult computeGb50736(const RoomEnvelope& room, const Gb50736Options& options);

} // namespace zorva::heatload
