// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/hydraulics/presetting.h"

#include <algorithm>
#include <cmath>

namespace zorva::hydraulics {

namespace {

BranchFault branchFault(const LoopBranch& b) {
    if (!std::isfinite(b.flowKgh) || !std::isfinite(b.pressureDropKpa) || !std::isfinite(b.density))
        return BranchFault::NotFinite;
    if (!(b.flowKgh > 0))
        return BranchFault::FlowNotPositive;
    if (!(b.density > 0))
        return BranchFault::DensityNotPositive;
    if (b.pressureDropKpa < 0)
        return BranchFault::PressureDropNegative;
    return BranchFault::None;
}

} // namespace

Presetting presetLoops(std::span<const LoopBranch> loops, const ValveCharacteristic& valve,
                       const PresettingOptions& options) {
    Presetting p;
    p.characteristic = checkCharacteristic(valve);
    p.loops.resize(loops.size());
    for (std::size_t i = 0; i < loops.size(); ++i)
        p.loops[i].fault = branchFault(loops[i]);
    if (!p.characteristic.ok())
        return p;
    const double kvOpen = valve.kv.back();

    // Pass 1: each branch with its valve fully open; the index loop.
    for (std::size_t i = 0; i < loops.size(); ++i) {
        LoopPresetting& r = p.loops[i];
        if (!r.ok())
            continue;
        r.flowM3h = volumeFlowM3h(loops[i].flowKgh, loops[i].density);
        r.openValveDropKpa = valveDropKpa(r.flowM3h, kvOpen);
        const double open = loops[i].pressureDropKpa + r.openValveDropKpa;
        if (!std::isfinite(open)) {
            r.fault = BranchFault::NotFinite;
            continue;
        }
        if (!p.indexLoop || open > p.branchPressureKpa) {
            p.indexLoop = i;
            p.branchPressureKpa = open;
        }
    }
    if (!p.indexLoop)
        return p;
    p.loops[*p.indexLoop].indexLoop = true;

    // Pass 2: what each valve must take up, and its setting.
    for (std::size_t i = 0; i < loops.size(); ++i) {
        LoopPresetting& r = p.loops[i];
        if (!r.ok())
            continue;
        const double open = loops[i].pressureDropKpa + r.openValveDropKpa;
        r.extraPressureDropKpa = std::max(0.0, p.branchPressureKpa - open);
        r.valveDropKpa = r.openValveDropKpa + r.extraPressureDropKpa;
        // A loop that needs nothing extra (the index loop and its equals) is
        // fully open by definition; its kv from the formula would only differ
        // from the table's last kv by rounding.
        r.kv = r.extraPressureDropKpa > 0 ? flowFactor(r.flowM3h, r.valveDropKpa) : kvOpen;
        const SettingLookup look = settingForKv(valve, r.kv);
        r.setting = look.setting;
        r.range = look.range;
        r.dialSetting =
            look.range == SettingRange::Inside ? dialSetting(valve, look.setting) : look.setting;
        r.dialKv = kvAtSetting(valve, r.dialSetting);
        r.dialFlowM3h = r.dialKv * std::sqrt(r.valveDropKpa / 100);
        r.dialFlowDeviation = r.dialFlowM3h / r.flowM3h - 1;
        r.authority = p.branchPressureKpa > 0 ? r.valveDropKpa / p.branchPressureKpa : 1;

        if (r.valveDropKpa > options.noiseLimitKpa) {
            r.flags |= PresetNoise;
            ++p.noisyLoops;
        }
        if (look.range == SettingRange::BelowTable) {
            r.flags |= PresetBelowTable;
            ++p.belowTableLoops;
        }
        if (options.actuator == ActuatorKind::Modulating && r.authority < options.poorAuthority) {
            r.flags |= PresetPoorAuthority;
            ++p.poorAuthorityLoops;
        }
        p.largestValveDropKpa = std::max(p.largestValveDropKpa, r.valveDropKpa);
    }
    return p;
}

} // namespace zorva::hydraulics
