// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Help menu's message boxes: "说明", "特性" and "关于" with their fixed
// texts (core/wording/infotexts.h).

#include "core/wording/infotexts.h"

class QWidget;

namespace zorva::ui {

class DialogSeam;

// Shows the text in a modal box titled "Zorva" with the question icon and
// waits until the user closes it; which button closed it does not matter.
void showInfo(DialogSeam& dialogs, QWidget* parent, InfoText which);

} // namespace zorva::ui
