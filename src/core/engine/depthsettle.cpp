// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/engine/depthsettle.h"

#include "core/engine/depthlink.h"
#include "core/engine/numparse.h"

namespace zorva {

void settleDepthEdit(FieldRecord& fields) {
    std::string& depth = fields.design[DepthField];
    std::string& fill = fields.thickness[FillingLayerRow];
    const auto number = [](const std::string& text) { return parseLeadingNumber(text); };
    const auto write = [](std::string& field, const NumberText& text) {
        if (text == field)
            return false;
        field = text.str();
        return true;
    };
    for (int round = 0; round < kMaxLinkRounds; ++round) {
        LinkNumbers now{number(depth), number(fields.thickness[SurfaceLayerRow]),
                        number(fields.thickness[LevellingLayerRow]), number(fill)};
        if (write(fill, depthLinkWrite(LinkEvent::DesignChanged, now).text)) {
            // The construction window's handling of its changed thickness.
            if (number(fill) < 0)
                write(fill, generalText(0));
            now.fill = number(fill);
            if (write(depth, depthLinkWrite(LinkEvent::LayerChanged, now).text))
                continue;
        }
        now.fill = number(fill);
        const LinkWrite raise = depthLinkWrite(LinkEvent::FillFollowed, now);
        if (raise.target == LinkTarget::None || !write(depth, raise.text))
            return;
    }
}

} // namespace zorva
