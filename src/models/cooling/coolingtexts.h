// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The words the project window's cooling tables share: why a load is not
// met, why a room has no cooling numbers, the checks that fail with their
// clauses, the column sources and the one-line summary of a project's
// cooling (docs/project-window.md, "Cooling").

#include "core/cooling/room.h"
#include "core/project/coolingresult.h"

#include <QString>

namespace zorva::models {

// 供水温度偏高, 露点限制, 地面温度下限, …
QString shortfallReasonText(cooling::Shortfall reason);
// Why a room has no cooling result, as a sentence.
QString coolingRoomProblemText(const project::CoolingRoomResult& room);
// The codes and names of the required checks that fail, e.g.
// "D1 供水温度低于露点温度加安全余量".
QString failedChecksText(const cooling::LoopResult& loop);
// The clauses of the failing required checks, or of all of them when none
// fails.
QString checksBasisText(const cooling::LoopResult& loop);
// The load check in words: the load, the admissible capacity, what is
// missing and why, and what helps.
QString loadShortfallText(const cooling::RoomResult& room);
// What the 所需供水温度 column says for a room with a load.
QString neededSupplyText(const cooling::RoomResult& room);
// One line: the method, the margin and the totals against the loads.
QString coolingTotalsText(const project::CoolingResult& cooling);

} // namespace zorva::models
