// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Names of the program's built-in pictures and the icon every window wears.

#include <QIcon>
#include <QString>

namespace zorva::ui {

// The principle diagram, 300 x 250 pixels, a 16-entry grey palette.
inline QString diagramResource() {
    return QStringLiteral(":/diagram.png");
}

// The program icon, a blue eight-spoked star, at the 16 and 32 pixels of
// window captions and task bars.
QIcon programIcon();

} // namespace zorva::ui
