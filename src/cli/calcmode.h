// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calculation method and the season of zorva-calc's designs: --method
// program|en1264 and --mode heating|cooling with the cooling room's
// humidity and temperature (docs/cli.md, "Method and season of a design").

#include "cli/exitstatus.h"
#include "core/method/method.h"

#include <QString>

#include <optional>

namespace zorva::cli {

// The option texts as given; an empty optional when the option is absent.
struct ModeOptions {
    std::optional<QString> method;   // program | en1264
    std::optional<QString> mode;     // heating | cooling
    std::optional<QString> humidity; // %
    std::optional<QString> roomTemp; // ℃
};

struct CalcMode {
    method::Method method = method::Method::Program;
    bool methodGiven = false; // the output names the method only then
    bool cooling = false;
    double humidity = 0.5;          // φ, a fraction
    std::optional<double> roomTemp; // the cooling room temperature, ℃

    // Today's output: the program's method for heating, with no method line.
    bool plain() const { return !cooling && method == method::Method::Program && !methodGiven; }
};

// Ranges of the cooling room: relative humidity (0, 100] %, room
// temperature 10 ~ 40 ℃.
inline constexpr double kLowestCoolingRoomTemp = 10;
inline constexpr double kHighestCoolingRoomTemp = 40;

// Reads the four options. --humidity or --room-temp without --mode cooling,
// and --method program with cooling (a cooled floor is computed by
// EN 1264-5 only), are usage errors; an unknown method or mode, a value that
// is not a number or one outside its range an input error naming the
// option.
Result<void> readCalcMode(const ModeOptions& options, CalcMode& out);

} // namespace zorva::cli
