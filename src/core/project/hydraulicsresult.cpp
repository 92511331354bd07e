// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/project/hydraulicsresult.h"

namespace zorva::project {

const hydraulics::LoopPresetting* ManifoldHydraulicsResult::presetting(std::size_t loop) const {
    if (loop >= branchOf.size() || !branchOf[loop] ||
        *branchOf[loop] >= hydraulics.presetting.loops.size())
        return nullptr;
    const hydraulics::LoopPresetting& p = hydraulics.presetting.loops[*branchOf[loop]];
    return p.ok() && hydraulics.presetting.characteristic.ok() ? &p : nullptr;
}

std::optional<double> ManifoldHydraulicsResult::flowMeterLpm(std::size_t loop) const {
    if (!presetting(loop) || *branchOf[loop] >= hydraulics.flowMeterLpm.size())
        return std::nullopt;
    return hydraulics.flowMeterLpm[*branchOf[loop]];
}

unsigned ManifoldHydraulicsResult::flags(std::size_t loop) const {
    const hydraulics::LoopPresetting* p = presetting(loop);
    if (!p)
        return 0;
    unsigned f = 0;
    if (p->flags & hydraulics::PresetNoise)
        f |= LoopNoise;
    if (p->flags & hydraulics::PresetBelowTable)
        f |= LoopBelowTable;
    if (p->flags & hydraulics::PresetPoorAuthority)
        f |= LoopPoorAuthority;
    const std::size_t b = *branchOf[loop];
    if (b < hydraulics.meterOutOfRange.size() && hydraulics.meterOutOfRange[b])
        f |= LoopMeterRange;
    return f;
}

} // namespace zorva::project
