#pragma once
// The values of zorva-calc's options: the seven design texts, the floor
// construction's thicknesses and conductivities, the elbows, and the design
// check's load and room category, each checked before anything is computed.

#include "cli/exitstatus.h"
#include "core/engine/designcheck.h"
#include "core/engine/inputs.h"

#include <QString>

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

// The texts of both windows: their defaults with the given values in place.
// A wrong count of values is a usage error, a value that is not a number an
// input error; the message names the option and the field.
Result<void> readFieldRecord(const DesignOptions& options, FieldRecord& out);

// The default limits with the given load (a positive number) and category.
Result<void> readCheckLimits(const DesignOptions& options, CheckLimits& out);

// "long-stay", "short-stay", "unoccupied", "residential", "bathroom",
// "peripheral", the Chinese name (人员长期停留 …) or the number 1 to 6.
std::optional<RoomCategory> roomCategoryFromText(const QString& text);
// The accepted names with their floor temperature limits, for --help.
QString roomCategoryHelp();

} // namespace zorva::cli
