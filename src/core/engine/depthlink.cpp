// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/engine/depthlink.h"

#include "core/engine/checked.h"
#include "core/engine/numparse.h"

namespace zorva {

NumberText layerSumText(double surface, double level, double fill) {
    return generalText(checked::add(checked::add(surface, level), fill));
}

LinkWrite depthLinkWrite(LinkEvent event, const LinkNumbers& now) {
    LinkWrite write;
    switch (event) {
    case LinkEvent::DesignChanged:
        write.target = LinkTarget::FillingLayer;
        write.text = generalText(checked::sub(checked::sub(now.depth, now.surface), now.level));
        break;
    case LinkEvent::FillFollowed:
        if (!(now.fill > 0)) {
            write.target = LinkTarget::Depth;
            write.text = layerSumText(now.surface, now.level, kMinimumFillMm);
        }
        break;
    case LinkEvent::LayerChanged:
        write.target = LinkTarget::Depth;
        write.text = layerSumText(now.surface, now.level, now.fill);
        break;
    }
    return write;
}
} // namespace zorva
