// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calculation method and the season of zorva-calc's designs: --method
// program|en1264 and --mode heating|cooling with the cooling room's
// humidity and temperature (docs/cli.md, "Method and season of a design").

#include "cli/exitstatus.h"
#include "core/method/method.h"
#include "core/project/project.h"

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

// What the command line changes in a project file for one run (docs/cli.md,
// "Season of a project"): the method of the heating design, the season, and
// the cooling state of every room.
struct ProjectModes {
    std::optional<method::Method> method;  // replaces the file's method
    std::optional<project::Season> season; // replaces the file's season
    std::optional<double> humidity;        // φ of every room, a fraction
    std::optional<double> roomTemp;        // θ_i of every room in summer, ℃
    bool any() const { return method || season || humidity || roomTemp; }
};

// Reads the four options for a project: --mode heating|cooling|both, any
// method (a project's cooling is always by EN 1264-5, whatever method lays
// its loops). --humidity or --room-temp with --mode heating is a usage
// error; without --mode they need a file whose season cools
// (checkProjectModes).
Result<void> readProjectModes(const ModeOptions& options, ProjectModes& out);

// Applies `modes` to `project`; a usage error where --humidity or
// --room-temp is given for a project that does not cool.
Result<void> applyProjectModes(const ProjectModes& modes, project::Project& project);

} // namespace zorva::cli
