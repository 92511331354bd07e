// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/common/zorvaresources.h"

namespace zorva::ui {

QIcon programIcon() {
    QIcon icon;
    // Captions and task bars use the small sizes; the 48 and 256 pixel
    // images serve the desktop's icon theme.
    for (const int size : {16, 32})
        icon.addFile(QStringLiteral(":/icons/zorva-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace zorva::ui
