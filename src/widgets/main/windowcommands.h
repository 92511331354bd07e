// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the main window's menu may ask of the program's other windows: show
// the construction or the principle window, and the picture of the
// principle diagram for the picture commands.

#include <QImage>

namespace zorva::ui {

class WindowCommands {
public:
    virtual ~WindowCommands() = default;

    // "设置": the construction window modeless, without an owner, in front.
    virtual void showConstruction() = 0;
    // "原理": the principle window modeless, without an owner, in front.
    virtual void showPrinciple() = 0;
    // The picture of the principle window's diagram box. Reaching the window
    // builds it hidden when it does not exist; a shown window stays shown.
    virtual QImage principlePicture() = 0;
};

} // namespace zorva::ui
