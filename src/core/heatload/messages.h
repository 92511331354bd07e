// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Chinese texts of the faults and warnings of a heat load, UTF-8, for
// the windows, the report and zorva-calc alike.

#include "core/heatload/loadresult.h"

#include <string>

namespace zorva::heatload {

const char* faultText(Fault fault);
const char* warningText(Warning warning);

// "外墙（北）：传热系数 K 必须大于 0" style: the element's name, when the
// issue belongs to one, before the text.
std::string describe(const RoomEnvelope& room, const Issue& issue);
std::string describe(const RoomEnvelope& room, const Notice& notice);

} // namespace zorva::heatload
