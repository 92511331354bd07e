#include "zorvaresources.h"

namespace zorva {

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 256})
        icon.addFile(QStringLiteral(":/icons/zorva-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace zorva
