// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/main/picturefile.h"

#include <QBuffer>

namespace zorva::ui {

Result<void> writeBitmapFile(const QImage& image, const QString& fileName) {
    const QString cannotSave = QStringLiteral("无法保存图片文件“%1”：\r\n%2");
    if (image.isNull())
        return Problem{cannotSave.arg(fileName, QStringLiteral("没有可保存的图片")), {}};
    // The whole bitmap is made in memory first, so the file is only written
    // once its exact bytes are known. The format is named: the extension the
    // user typed does not choose it.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP"))
        return Problem{cannotSave.arg(fileName, QStringLiteral("无法生成位图数据")), {}};
    Result<void> written = io::writeFileSafely(fileName, bytes);
    if (!written)
        return Problem{QStringLiteral("无法保存图片文件。\r\n") + written.problem().message,
                       written.problem().reason};
    return written;
}

} // namespace zorva::ui
