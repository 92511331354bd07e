#pragma once
// The words of a design calculation: the captions and units of the main
// window's fields, and the names of the arithmetic faults that stop a run.

#include "core/engine/checked.h"

#include <QString>

namespace zorva {

// The caption of field Txt(index), 0 to 13 ("室内温度" … "盘管水流速"),
// and its unit ("℃", "W/m²"); empty outside that range.
QString fieldCaption(int index);
QString fieldUnit(int index);
// The same for result k, 0 to 6 in the order of ResultTexts: field Txt(7 + k).
QString resultCaption(int k);
QString resultUnit(int k);

// "除数为零", "数值溢出", …
QString faultName(Fault fault);

} // namespace zorva
