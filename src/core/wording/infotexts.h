// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fixed texts of the Help menu's message boxes: the design guidance,
// the heating system's characteristics and the About text. Lines are joined
// with CR LF, as the message box shows them.

#include <QString>

namespace zorva {

enum class InfoText {
    Guidance,        // "说明"
    Characteristics, // "特性"
    About,           // "关于"
};

QString infoText(InfoText which);

// Line `index` (from 0) of a text, empty past its end.
QString infoLine(InfoText which, int index);

} // namespace zorva
