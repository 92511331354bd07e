// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The words of a project's results (docs/project.md): the keys zorva-calc's
// JSON prints for the engine's enumerations and the Chinese texts of the
// problems, notes and verdicts, for the windows, the report and zorva-calc
// alike.

#include "core/en1264/designresult.h"
#include "core/method/loopresult.h"
#include "core/project/projectresult.h"

#include <QString>
#include <QStringList>

namespace zorva {

// "faulted", "notConverged", …; empty for a computed loop (docs/method.md).
const char* loopProblemKey(method::LoopProblem problem);
QString loopProblemText(method::LoopProblem problem);
// "spacingBelowTables", … and "downwardLossLeftOut", … of the set bits.
QStringList validityKeys(unsigned en1264Flags);
QStringList loopNoteKeys(unsigned notes);

// EN 1264-3 design (docs/en1264-design.md, "Notes" and "Results").
const char* noteCodeKey(en1264::NoteCode code);
QString noteText(en1264::NoteCode code);
const char* noteLevelKey(en1264::NoteLevel level);
const char* designProblemKey(en1264::DesignProblem problem);
const char* designRoomProblemKey(en1264::RoomProblem problem);
QString designRoomProblemText(en1264::RoomProblem problem);

// Why a room's floor cannot carry its cooling load (docs/project.md,
// "Cooling"), in UTF-8: "露点限制", …; empty when it can.
const char* coolingShortfallText(cooling::Shortfall reason);
const char* designLoopProblemKey(en1264::LoopProblem problem);
const char* dropRuleKey(en1264::DropRule rule);
const char* designModeKey(en1264::DesignMode mode);

// Rooms (docs/heat-load.md §5–6).
const char* roomCategoryKey(RoomCategory category);
const char* loadSourceKey(rooms::LoadSource source);
const char* roomStatusKey(rooms::RoomStatus status);
const char* allowanceKey(heatload::FloorAllowance allowance);
const char* elementKindKey(heatload::ElementKind kind);

// Why a room has no load or no loops: "没有输入热负荷", the method's
// refusal naming the element, "第 3 个分集水器不存在", the loop design's fault.
QString loadProblemText(project::LoadProblem problem);
QString roomProblemText(const project::Room& room, const project::RoomResult& result);

// The verdict beside a loop's figures: 合格 (within the floor limit and
// the load given), 需辅助散热 (within the limit, part of the load missing),
// 不合格 (above the floor limit).
QString loopVerdictText(const project::LoopFigures& figures);
const char* loopVerdictKey(const project::LoopFigures& figures); // pass, supplementary, fail

} // namespace zorva
