// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The words of the manifold sheet's searches: the limits they keep to, the
// rule that bounded each answer and why a loop cannot be served.

#include "core/engine/manifoldsearch.h"

#include <QString>

namespace zorva {

// "温差 5~10 ℃，流速 ≥ 0.25 m/s，人员经常停留 地面平均温度 ≤ 29 ℃，供水温度 ≤ 60 ℃"
QString searchLimitsText(const CheckLimits& limits);

// A difference found with what bounded it ("7.3 ℃，由热负荷决定"), or why
// none within the limits serves the loop at `supplyTemp`.
QString diffAnswerText(const DiffSearch& search, const CheckLimits& limits, double supplyTemp);

// Why the supply search cannot serve a loop whose difference is `tempDiff`,
// or, for a loop it serves, the rule the loop still breaks (empty when none).
QString supplyNeedText(const SupplyNeed& need, const CheckLimits& limits, double tempDiff);

} // namespace zorva
