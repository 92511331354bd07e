#include "picturesave.h"

#include "commondialog.h"

#include <QSaveFile>

QString pictureFilter() {
    return QStringLiteral("图片文件(*.bmp)|*.bmp");
}

bool writeBitmap(const QImage& image, const QString& fileName, QString* reason) {
    if (image.isNull()) {
        *reason = QStringLiteral("没有可保存的图片");
        return false;
    }
    // QSaveFile writes beside the target and renames over it on commit, so
    // an existing file is only ever replaced by a complete new one.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        *reason = file.errorString();
        return false;
    }
    // The format is named: the extension the user typed does not choose it.
    if (!image.save(&file, "BMP")) {
        // The failed write keeps its cause for the next flush to report.
        file.flush();
        *reason = file.error() != QFileDevice::NoError ? file.errorString()
                                                       : QStringLiteral("写入位图数据失败");
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *reason = file.errorString();
        return false;
    }
    return true;
}

void savePictureCommand(PictureHost& host) {
    CommonDialog& dialog = host.commonDialog();
    dialog.setFilter(pictureFilter());
    const QString fileName = dialog.showSave(host.dialogParent());
    if (fileName.isEmpty())
        return;

    QString reason;
    if (!writeBitmap(host.principlePicture(), fileName, &reason))
        warnAboutFile(host, QStringLiteral("无法保存图片文件“%1”：\r\n%2").arg(fileName, reason));
}
