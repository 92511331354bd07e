#include "picturefile.h"

#include <QSaveFile>

namespace zorva::io {

namespace {

QString writeBitmap(const QImage& image, const QString& fileName) {
    if (image.isNull())
        return QStringLiteral("没有可保存的图片");
    // QSaveFile writes beside the target and renames over it on commit, so
    // an existing file is only ever replaced by a complete new one.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    // The format is named: the extension the user typed does not choose it.
    if (!image.save(&file, "BMP")) {
        // The failed write keeps its cause for the next flush to report.
        file.flush();
        const QString reason = file.error() != QFileDevice::NoError
                                   ? file.errorString()
                                   : QStringLiteral("写入位图数据失败");
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace

WriteResult writeBitmapFile(const QImage& image, const QString& fileName) {
    const QString reason = writeBitmap(image, fileName);
    if (reason.isEmpty())
        return {true, {}};
    return {false, QStringLiteral("无法保存图片文件“%1”：\r\n%2").arg(fileName, reason)};
}

} // namespace zorva::io
