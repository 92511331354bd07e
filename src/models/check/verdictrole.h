// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The item role through which the check's table models give the verdict a
// cell stands for: an int of zorva::Verdict. The models stay free of
// widgets; the view that shows them draws the verdict's icon.

#include <Qt>

namespace zorva::models {

inline constexpr int VerdictRole = Qt::UserRole + 1;

} // namespace zorva::models
