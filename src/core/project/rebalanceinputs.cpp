// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/project/rebalanceinputs.h"

#include <algorithm>
#include <utility>

namespace zorva::project {

bool isDefault(const RebalanceInputs& in) {
    return in.loops.empty() && in.tolerance == RebalanceInputs{}.tolerance;
}

const LoopMeasurement* measurementOf(const RebalanceInputs& in, const std::string& loop) {
    const auto it = std::find_if(in.loops.begin(), in.loops.end(),
                                 [&](const LoopMeasurement& m) { return m.loop == loop; });
    return it == in.loops.end() ? nullptr : &*it;
}

LoopMeasurement* measurementOf(RebalanceInputs& in, const std::string& loop) {
    return const_cast<LoopMeasurement*>(measurementOf(std::as_const(in), loop));
}

} // namespace zorva::project
