// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The words of a design calculation: the captions and units of the main
// window's fields and of the construction window's rows, the principle
// diagram's caption, and the names of the arithmetic faults that stop a run.
// The windows and the reports take their captions from here.

#include "core/engine/checked.h"
#include "core/engine/inputs.h"

#include <QString>

namespace zorva {

// The caption of field Txt(index), 0 to 13 ("室内温度" … "盘管水流速"),
// and its unit ("℃", "W/m²"); empty outside that range.
QString fieldCaption(int index);
QString fieldUnit(int index);
// The same for result k, 0 to 6 in the order of ResultTexts: field Txt(7 + k).
QString resultCaption(int k);
QString resultUnit(int k);
// The result fields Txt(7) .. Txt(13).
inline constexpr int kFirstResultField = 7;
inline constexpr int kResultCount = 7;

// The construction window's row captions ("1、地面层" … "4、塑料管壁") and
// that of the elbow count ("90度弯头数").
QString constructionRowCaption(ConstructionRow row);
QString elbowsCaption();

// The caption above the principle diagram, "1、计算原理图".
QString principleCaption();

// "除数为零", "数值溢出", …
QString faultName(Fault fault);

} // namespace zorva
