// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the construction window may do to the main window: keep the burial depth
// in step with the layer thicknesses, and hand the focus back to Calculate.

class QString;

namespace zorva::ui {

class MainLink {
public:
    virtual ~MainLink() = default;

    // Writes the main window's burial depth Txt(4); a changed text runs the
    // main window's field-change handling at once.
    virtual void setDepthText(const QString& text) = 0;

    // Activates the main window with the focus on its Calculate button.
    virtual void focusCalculate() = 0;
};

} // namespace zorva::ui
