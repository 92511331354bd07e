// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The values of zorva-calc's options: the seven design texts, the floor
// construction's thicknesses and conductivities, the elbows, and the design
// check's load and room category, each checked before anything is computed.

#include "cli/exitstatus.h"
#include "core/engine/designcheck.h"
#include "core/engine/inputs.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace zorva::cli {

// The option texts as given; an empty optional when the option is absent.
struct DesignOptions {
    std::optional<QString> design;       // seven values, the main window's order
    std::optional<QString> thickness;    // four values, mm
    std::optional<QString> conductivity; // four values, W/(m·℃)
    std::optional<QString> elbows;       // one value
    std::optional<QString> load;         // W/m²
    std::optional<QString> category;     // a room category
};

// The texts of both windows: their defaults with the given values in place,
// then the burial depth of --design through the depth link as the main
// window takes a typed depth (the filling layer follows it; a depth that
// leaves the filling layer no room is raised). A wrong count of values is a
// usage error; a value that is not a number, or lies outside the range the
// CSV cells allow (the depth: 0 ~ 2000 mm, and the filling layer it leaves
// within its own range), an input error; the message names the option and
// the field and quotes the text as given. `notes` receives a "注：" line
// when the link changed the filling layer or the depth. With `cooling` the
// return temperature lies above the supply by the same range.
Result<void> readFieldRecord(const DesignOptions& options, FieldRecord& out,
                             QStringList* notes = nullptr, bool cooling = false);

// The default limits with the given load (a positive number) and category.
Result<void> readCheckLimits(const DesignOptions& options, CheckLimits& out);

// "long-stay", "short-stay", "unoccupied", "residential", "bathroom",
// "peripheral", the Chinese name (人员经常停留 …, also the older 人员长期停留)
// or the number 1 to 6.
std::optional<RoomCategory> roomCategoryFromText(const QString& text);
// The accepted names with their floor temperature limits, for --help.
QString roomCategoryHelp();

} // namespace zorva::cli
