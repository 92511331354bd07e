// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/hydraulics/valve.h"

#include <algorithm>
#include <cmath>

namespace zorva::hydraulics {

namespace {

// 1 bar in kPa: kv is defined at this drop.
constexpr double kBarKpa = 100;

// Index i with points[i] ≤ x < points[i + 1], for x inside the range.
std::size_t segmentOf(const std::vector<double>& points, double x) {
    const auto upper = std::upper_bound(points.begin(), points.end(), x);
    const auto i = static_cast<std::size_t>(upper - points.begin());
    return std::clamp<std::size_t>(i, 1, points.size() - 1) - 1;
}

} // namespace

double volumeFlowM3h(double flowKgh, double density) {
    return flowKgh / density;
}

double flowFactor(double flowM3h, double dropKpa) {
    return flowM3h / std::sqrt(dropKpa / kBarKpa);
}

double valveDropKpa(double flowM3h, double kv) {
    const double ratio = flowM3h / kv;
    return ratio * ratio * kBarKpa;
}

ValveCharacteristic genericValveCharacteristic() {
    ValveCharacteristic v;
    v.name = "通用特性（示意，非任何产品）";
    v.generic = true;
    v.settings = {1, 2, 3, 4, 5, 6};
    v.kv = {0.12, 0.25, 0.40, 0.60, 0.85, 1.20};
    v.resolution = 0.25;
    return v;
}

CharacteristicCheck checkCharacteristic(const ValveCharacteristic& valve) {
    using F = CharacteristicFault;
    const auto fault = [](F f, std::size_t point = 0) { return CharacteristicCheck{f, point}; };
    if (valve.name.find_first_not_of(" \t\r\n") == std::string::npos)
        return fault(F::NameEmpty);
    if (valve.settings.size() != valve.kv.size())
        return fault(F::CountMismatch);
    if (valve.settings.size() < kMinValvePoints)
        return fault(F::TooFewPoints);
    if (valve.settings.size() > kMaxValvePoints)
        return fault(F::TooManyPoints);
    for (std::size_t i = 0; i < valve.settings.size(); ++i) {
        if (!std::isfinite(valve.settings[i]) || std::abs(valve.settings[i]) > kMaxValveSetting)
            return fault(F::SettingNotFinite, i);
        if (i > 0 && !(valve.settings[i] > valve.settings[i - 1]))
            return fault(F::SettingNotIncreasing, i);
    }
    for (std::size_t i = 0; i < valve.kv.size(); ++i) {
        if (!std::isfinite(valve.kv[i]) || !(valve.kv[i] > 0))
            return fault(F::KvNotPositive, i);
        if (valve.kv[i] < kMinValveKv || valve.kv[i] > kMaxValveKv)
            return fault(F::KvOutsideRange, i);
        if (i > 0 && !(valve.kv[i] > valve.kv[i - 1]))
            return fault(F::KvNotIncreasing, i);
    }
    if (!std::isfinite(valve.resolution) || !(valve.resolution > 0) ||
        valve.resolution > kMaxValveSetting)
        return fault(F::ResolutionNotPositive);
    return {};
}

SettingLookup settingForKv(const ValveCharacteristic& valve, double kv) {
    if (kv >= valve.kv.back())
        return {valve.settings.back(), SettingRange::FullyOpen};
    if (kv < valve.kv.front())
        return {valve.settings.front(), SettingRange::BelowTable};
    const std::size_t i = segmentOf(valve.kv, kv);
    const double share = (kv - valve.kv[i]) / (valve.kv[i + 1] - valve.kv[i]);
    return {valve.settings[i] + share * (valve.settings[i + 1] - valve.settings[i]),
            SettingRange::Inside};
}

double kvAtSetting(const ValveCharacteristic& valve, double setting) {
    if (setting >= valve.settings.back())
        return valve.kv.back();
    if (setting <= valve.settings.front())
        return valve.kv.front();
    const std::size_t i = segmentOf(valve.settings, setting);
    const double share =
        (setting - valve.settings[i]) / (valve.settings[i + 1] - valve.settings[i]);
    return valve.kv[i] + share * (valve.kv[i + 1] - valve.kv[i]);
}

double dialSetting(const ValveCharacteristic& valve, double setting) {
    const double steps = std::floor(setting / valve.resolution + 0.5);
    return std::clamp(steps * valve.resolution, valve.settings.front(), valve.settings.back());
}

} // namespace zorva::hydraulics
