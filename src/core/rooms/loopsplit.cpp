// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rooms/roomdesign.h"

#include <cmath>

namespace zorva::rooms {

LoopCount fewestLoops(const Room& room, double pipe, double heat, double spacing,
                      const DesignConditions& conditions, const PressureMethod& pressure) {
    const double leaders = 2 * room.leaderLength;
    const double limit = conditions.maxLoopLength;
    if (!(limit > leaders))
        return {0, RoomFault::LeadersTooLong};
    const double lower = std::ceil(pipe / (limit - leaders));
    if (!(lower <= kMaxLoopsPerRoom))
        return {0, RoomFault::TooManyLoops};
    const auto length = [&](int n) { return pipe / n + leaders; };
    const auto within = [&](int n) { return !lengthOverLimit(length(n), limit); };
    // The bound by division may be one off after rounding; the lengths
    // themselves decide.
    int n = std::max(1, int(lower));
    while (n > 1 && within(n - 1))
        --n;
    while (!within(n))
        ++n;
    if (!pressure)
        return {n, RoomFault::None};
    const int guard = std::min(4 * n + 16, kMaxLoopsPerRoom);
    for (; n <= guard; ++n) {
        const PressureOutput drop = pressure({&room, length(n), heat / n, spacing});
        if (!drop.valid || !std::isfinite(drop.pressureDrop))
            return {0, RoomFault::PressureInvalid};
        if (drop.pressureDrop <= conditions.maxPressureDrop)
            return {n, RoomFault::None};
    }
    return {0, RoomFault::PressureUnreachable};
}

std::string loopName(const std::string& room, int index) {
    return room + "-" + std::to_string(index + 1);
}

} // namespace zorva::rooms
