// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/engine/inputs.h"

#include "core/engine/checked.h"
#include "core/engine/depthlink.h"
#include "core/engine/numparse.h"

namespace zorva {

FieldRecord FieldRecord::defaults() {
    return FieldRecord{
        {"18", "50", "40", "300", "90", "20", "120"},
        {"20", "20", "50", "2"},
        "2",
        {"2.91", "1.84", "1.28", "0.41"},
    };
}

void readSettings(WorkingVars& vars, const FieldRecord& fields) {
    vars.lambdaSurface = parseLeadingNumber(fields.conductivity[SurfaceLayerRow]);
    vars.lambdaLevel = parseLeadingNumber(fields.conductivity[LevellingLayerRow]);
    vars.lambdaFill = parseLeadingNumber(fields.conductivity[FillingLayerRow]);
    vars.lambdaPipe = checked::toFloat(parseLeadingNumber(fields.conductivity[PipeWallRow]));
    vars.thickSurface = parseLeadingNumber(fields.thickness[SurfaceLayerRow]);
    vars.thickLevel = parseLeadingNumber(fields.thickness[LevellingLayerRow]);
    vars.thickFill = parseLeadingNumber(fields.thickness[FillingLayerRow]);
    vars.thickPipeWall = checked::toFloat(parseLeadingNumber(fields.thickness[PipeWallRow]));
}

std::optional<NumberText> clampedFillText(const FieldRecord& fields) {
    const double diameter = parseLeadingNumber(fields.design[DiameterField]);
    const double fill = parseLeadingNumber(fields.thickness[FillingLayerRow]);
    if (!(diameter > fill))
        return std::nullopt;
    return generalText(checked::finite(diameter));
}

NumberText clampedDepthText(const FieldRecord& fields, const NumberText& fill) {
    // The sum reads the filling layer back from the text just written.
    const double level = parseLeadingNumber(fields.thickness[LevellingLayerRow]);
    const double newFill = parseLeadingNumber(fill.view());
    const double surface = parseLeadingNumber(fields.thickness[SurfaceLayerRow]);
    return layerSumText(surface, level, newFill);
}

std::optional<ClampWrite> clampFillingLayer(const FieldRecord& fields) {
    std::optional<NumberText> fill = clampedFillText(fields);
    if (!fill)
        return std::nullopt;
    ClampWrite write;
    write.fill = *fill;
    write.depth = clampedDepthText(fields, *fill);
    return write;
}

} // namespace zorva
