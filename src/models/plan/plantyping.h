// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Dimensions typed in the plan window instead of dragged (docs/project.md,
// "Editing the floor plan"): a point as "1.2,3.4", a rectangle as "4.2x3.6"
// (width × depth, m; also ×, * or a space between), a polygon's next
// segment as a direction and a length ("右4.2", "上 3.6", "左2", "下1.5"),
// as a length at an angle ("4.2@90", degrees counter-clockwise from +x) or
// as a step ("@1.2,-0.6", m along x and y). Full-width characters count
// as their ASCII twins.

#include "core/project/planinputs.h"

#include <QString>

#include <optional>

namespace zorva::models {

struct TypedSize {
    double width = 0; // m
    double depth = 0; // m
};

// Lengths typed are between 1 mm and 1000 m.
inline constexpr double kMinTypedLength = 0.001;
inline constexpr double kMaxTypedLength = 1000;

// The width and depth of "4.2x3.6"; nullopt for anything else.
std::optional<TypedSize> parseTypedSize(const QString& text);

// The end of a typed segment from `from`, to the millimetre; nullopt when
// the text is not a segment.
std::optional<project::PlanPoint> parseTypedSegment(const QString& text, project::PlanPoint from);

// A point typed as "x,y", m, to the millimetre.
std::optional<project::PlanPoint> parseTypedPoint(const QString& text);

// A typed length alone, m ("3.5"); nullopt when out of range.
std::optional<double> parseTypedLength(const QString& text);

} // namespace zorva::models
