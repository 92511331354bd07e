// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/main/pictureprint.h"

#include "core/wording/designwording.h"
#include "widgets/common/uikit.h"
#include "widgets/dialogs/dialogseam.h"
#include "widgets/dialogs/messages.h"
#include "widgets/main/filecommands.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace zorva::ui {

QRectF pictureRectOnPage(const QSizeF& picture, const QRectF& page, double captionHeight) {
    if (picture.isEmpty() || page.isEmpty())
        return {};
    const double room = std::max(0.0, page.height() - captionHeight);
    const double scale = std::min(page.width() / picture.width(), room / picture.height());
    const QSizeF size = picture * scale;
    const double top = page.top() + (page.height() - captionHeight - size.height()) / 2;
    return {page.left() + (page.width() - size.width()) / 2, top + captionHeight, size.width(),
            size.height()};
}

bool printPicture(QPagedPaintDevice& device, const QImage& picture, const QString& caption) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const QFont font = songFont(14);
    const double captionHeight = QFontMetricsF(font, &device).height() * 2;
    const QRectF page(0, 0, device.width(), device.height());
    const QRectF target = pictureRectOnPage(picture.size(), page, captionHeight);
    painter.setFont(font);
    painter.drawText(
        QRectF(target.left(), target.top() - captionHeight, target.width(), captionHeight),
        Qt::AlignHCenter | Qt::AlignTop, caption);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::LosslessImageRendering);
    painter.drawImage(target, picture);
    return painter.end();
}

void printPictureCommand(PictureHost& host) {
    QPrinter printer(QPrinter::HighResolution);
    if (!host.dialogs().choosePrinter(host.dialogParent(), printer))
        return;
    if (!printPicture(printer, host.principlePicture(), principleCaption()))
        host.dialogs().message(host.dialogParent(), QMessageBox::Warning, messageTitle(),
                               QStringLiteral("无法打印图片：打印机“%1”不能开始打印。")
                                   .arg(printer.outputFileName().isEmpty()
                                            ? printer.printerName()
                                            : printer.outputFileName()));
}

} // namespace zorva::ui
