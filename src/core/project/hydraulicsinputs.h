// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the installer's side of a project needs beyond the loop design
// (docs/project.md, "Hydraulics and materials"): per manifold the presetting
// valve, the connection pipes, the manifold body, an optional pump curve and
// mixing station; per project the stocked pipe rolls and the bill's options;
// per room what the bill needs of it. Plain values; no Qt.

#include "core/hydraulics/manifoldduty.h"
#include "core/hydraulics/pump.h"
#include "core/hydraulics/valve.h"
#include "core/materials/bill.h"

#include <optional>
#include <string>
#include <vector>

namespace zorva::project {

enum class ValveSource {
    Generic, // the characteristic shipped with the program (hydraulics::genericValveCharacteristic)
    Table,   // a product's table kept in the project
    File     // a product's valve file, read when the project is opened
};

struct ValveChoice {
    ValveSource source = ValveSource::Generic;
    // Table: the product's table. File: the table read from `file`, empty
    // (no points) when it could not be read; it is not saved in the project.
    hydraulics::ValveCharacteristic table;
    std::string file; // File: the path as typed, relative to the project's folder
};

// The supply and return pipes from the heat source or mixing station to
// the manifold, each of this length and bore.
struct ConnectionPipeInput {
    double lengthOneWay = 0;     // m
    double innerDiameter = 0;    // m
    double lossCoefficients = 0; // Σζ of each pipe
};

struct MixingStationInput {
    double primarySupplyTemp = 70;     // θ_prim, ℃
    double authority = 0.5;            // target a of the mixing valve
    double primaryVariableDropKpa = 5; // Δp_prim,var, kPa
    bool valveInPumpCircuit = true;    // the valve's drop adds to the floor pump's head
};

struct ManifoldHydraulicsInputs {
    ValveChoice valve;
    // Typed drop of the connection pipes at the total flow, kPa; replaced
    // by the pipes' own friction when `pipes` is given.
    double connectionDropKpa = 0;
    std::optional<ConnectionPipeInput> pipes = std::nullopt;
    double bodyKv = 5.0;             // m³/h of the manifold body with its meters and ball valves
    double barInnerDiameter = 0.025; // m
    std::vector<hydraulics::PumpCurvePoint> pumpCurve; // empty: no pump to check
    std::optional<MixingStationInput> mixing = std::nullopt;
    std::optional<hydraulics::MeterRange> meterRange = std::nullopt; // l/min
};

struct MaterialsInputs {
    materials::BillOptions bill; // roll lengths, allowances, outlet range, wastes, clips
};

struct RoomMaterialsInputs {
    std::optional<double> perimeter = std::nullopt; // m along the walls; empty: 4·√(floor area)
    std::optional<double> screedThicknessMm = std::nullopt; // empty: the manifold's filling layer
    bool thermostat = true;
};

// Whether the inputs are those of a new project (the file leaves them out).
bool isDefault(const ManifoldHydraulicsInputs& in);
bool isDefault(const MaterialsInputs& in);
bool isDefault(const RoomMaterialsInputs& in);

// The characteristic a manifold's loops are preset with.
hydraulics::ValveCharacteristic valveOf(const ValveChoice& choice);

} // namespace zorva::project
