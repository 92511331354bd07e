// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One design of zorva-calc by the method and season the user chose: the
// heating loop by loopByMethod, or the cooled floor by EN 1264-5 with the
// room's dew point and limits, and their JSON objects (docs/cli.md,
// "Method and season of a design"). Shared by --design and the CSV rows.

#include "cli/calcmode.h"
#include "core/cooling/loop.h"
#include "core/engine/designcheck.h"
#include "core/engine/manifold.h"
#include "core/method/loopresult.h"

#include <QJsonObject>
#include <QString>

namespace zorva::cli {

// The heating loop by `method` with the room category's floor limit.
method::MethodLoopResult heatingLoop(method::Method method, const ManifoldInput& manifold,
                                     const LoopInput& loop, RoomCategory category);

// The cooled loop: the manifold's supply is the colder water, the return
// lies the loop's difference above it; the room is at mode.roomTemp (the
// loop's room temperature when none) and mode.humidity. Nothing below the
// floor is known, so the heat from below is left out.
cooling::LoopResult coolingLoopOf(const ManifoldInput& manifold, const LoopInput& loop,
                                  const CalcMode& mode);

// The verdicts of a cooled loop: the supply against the dew point and its
// margin (D1), and the surface (D2, D3 and the comfort limit F1).
bool supplyPasses(const cooling::LoopResult& r);
bool surfacePasses(const cooling::LoopResult& r);
// "合格" or "不合格".
QString passText(bool passed);

// Why a cooled loop has no numbers, in Chinese.
QString coolingProblemText(const cooling::LoopResult& r);

// Every number of the result, unrounded; `method`, `methodName` and
// `clause` first.
QJsonObject heatingJson(const method::MethodLoopResult& r);
QJsonObject coolingJson(const cooling::LoopResult& r);

} // namespace zorva::cli
