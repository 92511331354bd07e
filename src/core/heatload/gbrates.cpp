// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/heatload/gbrates.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zorva::heatload {

RateRange orientationRange(Orientation facing, std::optional<double> winterSunshine) {
    // Note 2 of §5.2.6: little winter sun leaves the south side 0 … −10 %
    // and the east and west sides uncorrected.
    const bool dull = winterSunshine && *winterSunshine < 35;
    switch (facing) {
    case Orientation::N:
    case Orientation::NE:
    case Orientation::NW:
        return {0, 0.10, 0.10};
    case Orientation::E:
    case Orientation::W:
        return dull ? RateRange{0, 0, 0} : RateRange{-0.05, -0.05, -0.05};
    case Orientation::SE:
    case Orientation::SW:
        return dull ? RateRange{-0.10, 0, 0} : RateRange{-0.15, -0.10, -0.10};
    case Orientation::S:
        return dull ? RateRange{-0.10, 0, 0} : RateRange{-0.30, -0.15, -0.15};
    case Orientation::None:
        break;
    }
    return {0, 0, 0};
}

double heightRate(double height, HeatingSystem system, bool stairwell) {
    if (stairwell || !(height > 4))
        return 0;
    const bool floor = system == HeatingSystem::Floor;
    const double perMetre = floor ? 0.01 : 0.02;
    const double cap = floor ? 0.08 : 0.15;
    return std::min(perMetre * (height - 4), cap);
}

double doorRate(DoorEntrance entrance, int storeys) {
    switch (entrance) {
    case DoorEntrance::OneDoor:
        return 0.65 * storeys;
    case DoorEntrance::TwoDoors:
        return 0.80 * storeys;
    case DoorEntrance::ThreeDoors:
        return 0.60 * storeys;
    case DoorEntrance::PublicMain:
        return 5.0;
    case DoorEntrance::None:
        break;
    }
    return 0;
}

double partialHeatingFactor(double heatedShare) {
    // Share of the room's area against the factor on its whole-room load:
    // the products of Table 3.3.3 (0.55·1.30, 0.40·1.35, 0.25·1.50) between
    // the two ends.
    static constexpr std::array<std::pair<double, double>, 5> points{{
        {0.20, 0.30},
        {0.25, 0.375},
        {0.40, 0.54},
        {0.55, 0.715},
        {0.75, 1.0},
    }};
    if (!(heatedShare > points.front().first))
        return points.front().second;
    if (heatedShare >= points.back().first)
        return points.back().second;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const auto [x1, y1] = points[i];
        if (heatedShare <= x1) {
            const auto [x0, y0] = points[i - 1];
            return y0 + (heatedShare - x0) / (x1 - x0) * (y1 - y0);
        }
    }
    return 1.0;
}

double airDensity(double outdoorTemp) {
    return 353.0 / (273.0 + outdoorTemp);
}

std::span<const Preset> alphaPresets() {
    static constexpr Preset presets[] = {
        {"外墙、屋顶、地面、与室外相通的楼板", 1.00},
        {"闷顶和与室外空气相通的非供暖地下室上面的楼板", 0.90},
        {"与有外门窗的不供暖楼梯间相邻的隔墙（1～6层建筑）", 0.60},
        {"与有外门窗的不供暖楼梯间相邻的隔墙（7～30层建筑）", 0.50},
        {"非供暖地下室上面的楼板，外墙上有窗", 0.75},
        {"非供暖地下室上面的楼板，外墙上无窗且位于室外地坪以上", 0.60},
        {"非供暖地下室上面的楼板，外墙上无窗且位于室外地坪以下", 0.40},
        {"与有外门窗的非供暖房间相邻的隔墙", 0.70},
        {"与无外门窗的非供暖房间相邻的隔墙", 0.40},
        {"伸缩缝墙、沉降缝墙", 0.30},
        {"防震缝墙", 0.70},
    };
    return presets;
}

std::span<const Preset> indoorTempPresets() {
    static constexpr Preset presets[] = {
        {"卧室", 18},   {"起居室", 18},           {"书房", 18}, {"厨房", 15},
        {"卫生间", 18}, {"卫生间（有洗浴）", 25}, {"走廊", 14}, {"楼梯间", 14},
    };
    return presets;
}

std::span<const Preset> airChangePresets() {
    static constexpr Preset presets[] = {
        {"住宅房间（严寒、寒冷地区）", 0.5},
        {"住宅房间（夏热冬冷地区）", 1.0},
        {"门厅", 2.0},
    };
    return presets;
}

} // namespace zorva::heatload
