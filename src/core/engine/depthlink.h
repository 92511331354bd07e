// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The depth link between the two windows: the main window's burial depth
// Txt(4) is the sum of the surface, levelling and filling layers of the
// construction window (docs/method.md, "The depth link"). Which text the
// link writes after a change is decided here, on plain numbers; the windows
// read their fields, ask, and write the answer.

#include "core/engine/numtext.h"

namespace zorva {

// The thickness the filling layer is given when the depth leaves it no room.
constexpr double kMinimumFillMm = 10;

// The numbers the link reads, each the leading number of its field text.
struct LinkNumbers {
    double depth = 0;   // main Txt(4), mm
    double surface = 0; // Txt1(0), mm
    double level = 0;   // Txt1(1), mm
    double fill = 0;    // Txt1(2), mm
};

enum class LinkEvent {
    DesignChanged, // any main-window field changed
    FillFollowed,  // the filling layer was just written after a design change
    LayerChanged,  // a thickness (or the elbow count) of the construction window changed
};

enum class LinkTarget { None, FillingLayer, Depth };

struct LinkWrite {
    LinkTarget target = LinkTarget::None;
    NumberText text; // the new text of the target
};

// The text the link writes next:
// - DesignChanged: the filling layer takes (depth − surface) − level;
// - FillFollowed: when the filling layer is not above 0, the depth takes
//   (surface + level) + 10; otherwise nothing is written;
// - LayerChanged: the depth takes (surface + level) + fill.
// Throws ArithmeticError when a sum or difference leaves the double range.
LinkWrite depthLinkWrite(LinkEvent event, const LinkNumbers& now);

// The depth for the given layer thicknesses: (surface + level) + fill, as
// general decimal text.
NumberText layerSumText(double surface, double level, double fill);

} // namespace zorva
