// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the calculation takes its inputs from: the texts of the main window's
// design fields and of the construction window's fields, read with the
// leading-number parse, and the clamp that keeps the filling layer at least
// as thick as the pipe (docs/method.md, "The filling-layer clamp").

#include "core/engine/numtext.h"
#include "core/engine/workingvars.h"

#include <array>
#include <optional>
#include <string>

namespace zorva {

// Indices of the main window's design fields Txt(0) to Txt(6).
enum DesignField {
    RoomTempField = 0,
    SupplyTempField = 1,
    ReturnTempField = 2,
    SpacingField = 3,
    DepthField = 4,
    DiameterField = 5,
    LoopLengthField = 6,
};

// Rows of the construction window: a thickness Txt1(row) and a conductivity
// Text1(row) each.
enum ConstructionRow {
    SurfaceLayerRow = 0,
    LevellingLayerRow = 1,
    FillingLayerRow = 2,
    PipeWallRow = 3,
};
constexpr int kConstructionRows = 4;

// A plain record of the field texts the calculation reads.
struct FieldRecord {
    std::array<std::string, 7> design;                       // Txt(0) .. Txt(6)
    std::array<std::string, kConstructionRows> thickness;    // Txt1(0) .. Txt1(3), mm
    std::string elbows;                                      // Txt1(5)
    std::array<std::string, kConstructionRows> conductivity; // Text1(0) .. Text1(3)

    // The default texts of both windows.
    static FieldRecord defaults();
};

// Copies the eight construction fields into their working variables, in the
// order Text1(0..3), Txt1(0..3).
void readSettings(WorkingVars& vars, const FieldRecord& fields);

// What the filling-layer clamp writes when the pipe is wider than the filling
// layer: first the filling layer, then the depth re-summed from the three
// layer texts with the new filling text.
struct ClampWrite {
    NumberText fill;  // new text of the filling layer Txt1(2)
    NumberText depth; // new text of main Txt(4)
};

// Empty when the diameter is not greater than the filling thickness.
std::optional<ClampWrite> clampFillingLayer(const FieldRecord& fields);

// The two steps of the clamp, for a caller that writes the filling layer
// before the depth is summed (a sum that overflows then still leaves the
// raised filling layer): the new filling text (empty when the clamp does
// not fire), and the depth summed from the record's surface and levelling
// texts with that filling text.
std::optional<NumberText> clampedFillText(const FieldRecord& fields);
NumberText clampedDepthText(const FieldRecord& fields, const NumberText& fill);

} // namespace zorva
