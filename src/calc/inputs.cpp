#include "inputs.h"

#include "checked.h"
#include "numparse.h"

namespace zorva {

FieldRecord FieldRecord::defaults() {
    return FieldRecord{
        {"18", "50", "40", "300", "90", "20", "120"},
        {"20", "20", "50", "2"},
        "2",
        {"2.91", "1.84", "1.28", "0.41"},
    };
}

void ReadSettings(WorkingVars& vars, const FieldRecord& fields) {
    vars.lambdaSurface = parseLeadingNumber(fields.conductivity[0]);
    vars.lambdaLevel = parseLeadingNumber(fields.conductivity[1]);
    vars.lambdaFill = parseLeadingNumber(fields.conductivity[2]);
    vars.lambdaPipe = checked::toFloat(parseLeadingNumber(fields.conductivity[3]));
    vars.thickSurface = parseLeadingNumber(fields.thickness[0]);
    vars.thickLevel = parseLeadingNumber(fields.thickness[1]);
    vars.thickFill = parseLeadingNumber(fields.thickness[2]);
    vars.thickPipeWall = checked::toFloat(parseLeadingNumber(fields.thickness[3]));
}

NumberText layerSumText(double surface, double level, double fill) {
    return generalText(checked::add(checked::add(surface, level), fill));
}

NumberText fillFromDepthText(double depth, double surface, double level) {
    return generalText(checked::sub(checked::sub(depth, surface), level));
}

std::optional<ClampWrite> clampFillingLayer(const FieldRecord& fields) {
    const double diameter = parseLeadingNumber(fields.design[DiameterField]);
    const double fill = parseLeadingNumber(fields.thickness[2]);
    if (!(diameter > fill))
        return std::nullopt;
    ClampWrite write;
    write.fill = generalText(checked::finite(diameter));
    // The sum reads the filling layer back from the text just written.
    const double level = parseLeadingNumber(fields.thickness[1]);
    const double newFill = parseLeadingNumber(write.fill.view());
    const double surface = parseLeadingNumber(fields.thickness[0]);
    write.depth = layerSumText(surface, level, newFill);
    return write;
}

} // namespace zorva
