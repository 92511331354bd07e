// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file name a save dialog's answer stands for: the type's suffix added
// when the user typed a name without it ("户型" saves as "户型.zorvaproj").

#include <QFileInfo>
#include <QString>

namespace zorva::io {

inline QString withSuffix(QString fileName, const QString& suffix) {
    if (QFileInfo(fileName).suffix().compare(suffix, Qt::CaseInsensitive) != 0)
        fileName += u'.' + suffix;
    return fileName;
}

} // namespace zorva::io
