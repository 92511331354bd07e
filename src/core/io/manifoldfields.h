// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The inputs of the manifold sheet as the files hold them: for each number
// its key in a project file, its column caption in a CSV table, its unit and
// the range a value must lie in. The project reader and the CSV import check
// values against the same ranges.

#include "core/engine/manifold.h"

#include <QString>

#include <optional>
#include <span>

namespace zorva::io {

struct NumberRange {
    const char* key;         // project file key
    const char* name;        // caption without unit, UTF-8
    const char* unit;        // UTF-8, may be empty
    double min;              // inclusive
    double max;              // inclusive
    bool optional;           // may be absent (then empty)
    QString caption() const; // "name(unit)" or the name
};

// The manifold's thirteen numbers, in file order.
constexpr int kManifoldNumberCount = 13;
std::span<const NumberRange> manifoldRanges();
double& manifoldNumber(ManifoldInput& manifold, int index);
double manifoldNumber(const ManifoldInput& manifold, int index);

// A loop's numbers after its name: room, spacing, length, load, difference.
constexpr int kLoopNumberCount = 5;
std::span<const NumberRange> loopRanges();
void setLoopNumber(LoopInput& loop, int index, std::optional<double> value);
std::optional<double> loopNumber(const LoopInput& loop, int index);
const char* const kLoopNameKey = "name";
const char* const kLoopNameCaption = "环路";
// The most characters (UTF-16 units) of a loop name.
constexpr int kMaxLoopNameLength = 200;
// The most loops of one manifold sheet: what the sheet holds, saves, exports
// and reads back. Every project file and CSV table of this many loops with
// the longest names fits the readers' size limits with room to spare
// (docs/project-format.md).
constexpr int kMaxLoops = 10000;

// Whether a value lies in the numberField's range (never for NaN).
bool inRange(const NumberRange& numberField, double value);
// "“室内温度”的值 60 超出范围 -50 ~ 50 ℃", quoting the value's text as the user
// typed it (trimmed).
QString rangeMessage(const NumberRange& numberField, const QString& valueText);
// The same for a value without its text (a JSON number): the shortest text
// that reads back as the same double, so that 50.00000000000001 is not
// shown as 50.
QString rangeMessage(const NumberRange& numberField, double value);
// "第 3 个环路（客厅）" ; without a name "第 3 个环路"
QString loopLabel(int oneBasedIndex, const QString& name);

} // namespace zorva::io
