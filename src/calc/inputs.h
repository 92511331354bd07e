#pragma once
// Where the calculation takes its inputs from: the texts of the main window's
// design fields and of the settings window's construction fields, read with
// the leading-number parse. Also the arithmetic of the depth link between the
// two windows and the clamp that keeps the filling layer at least as thick as
// the pipe.

#include "numtext.h"
#include "workingvars.h"

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

// A plain record of the field texts the calculation reads.
struct FieldRecord {
    std::array<std::string, 7> design;       // Txt(0) .. Txt(6)
    std::array<std::string, 4> thickness;    // settings Txt1(0) .. Txt1(3), mm
    std::string elbows;                      // settings Txt1(5)
    std::array<std::string, 4> conductivity; // settings Text1(0) .. Text1(3)

    // The default texts of both windows.
    static FieldRecord defaults();
};

// Copies the eight construction fields into their working variables, in the
// order Text1(0..3), Txt1(0..3).
void ReadSettings(WorkingVars& vars, const FieldRecord& fields);

// The depth shown in the main window for the given layer thicknesses:
// (surface + level) + fill, as general decimal text.
NumberText layerSumText(double surface, double level, double fill);

// The filling-layer thickness for a depth: (depth - surface) - level.
NumberText fillFromDepthText(double depth, double surface, double level);

// What the filling-layer clamp writes when the pipe is wider than the filling
// layer: first the filling layer, then the depth re-summed from the three
// layer texts with the new filling text.
struct ClampWrite {
    NumberText fill;  // new text of settings Txt1(2)
    NumberText depth; // new text of main Txt(4)
};

// Empty when the diameter is not greater than the filling thickness.
std::optional<ClampWrite> clampFillingLayer(const FieldRecord& fields);

} // namespace zorva
