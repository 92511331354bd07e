// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What was measured on a manifold's loops after commissioning, for the
// thermal re-balancing (docs/hydraulics.md §7, docs/project.md
// "Re-balancing"): per loop the supply and return temperatures at the
// manifold, the flow where a flow meter shows it and the room temperature
// where it was read, with the setting dialled while measuring (before) and
// the one dialled after re-balancing (after). Plain values; no Qt.

#include <optional>
#include <string>
#include <vector>

namespace zorva::project {

struct LoopMeasurement {
    std::string loop;      // the loop's name as the manifold lists it (UTF-8)
    double supplyTemp = 0; // θ_S measured at the loop's supply, ℃
    double returnTemp = 0; // θ_R measured at the loop's return, ℃
    std::optional<double> flowLpm = std::nullopt;  // the flow meter's reading, l/min
    std::optional<double> roomTemp = std::nullopt; // ℃; empty: the design's
    // The setting dialled while measuring; empty: the design's presetting.
    std::optional<double> settingBefore = std::nullopt;
    // The setting dialled after re-balancing; empty: not changed yet.
    std::optional<double> settingAfter = std::nullopt;
};

struct RebalanceInputs {
    std::vector<LoopMeasurement> loops;
    // Loops within this share of their design output keep their setting.
    double tolerance = 0.05;
};

// Whether nothing was measured and the tolerance is a new project's (the
// file leaves the manifold out).
bool isDefault(const RebalanceInputs& in);

// The measurement of the loop named `loop`, or null.
const LoopMeasurement* measurementOf(const RebalanceInputs& in, const std::string& loop);
LoopMeasurement* measurementOf(RebalanceInputs& in, const std::string& loop);

} // namespace zorva::project
