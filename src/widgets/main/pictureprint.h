// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "打印图片": the principle diagram on a printer the user chooses in the
// system print dialog, as large as the page allows with its proportions
// kept, centred, under its caption.

#include <QImage>
#include <QRectF>
#include <QString>

class QPagedPaintDevice;

namespace zorva::ui {

class PictureHost;

// Where a picture of `picture` size goes on a page whose printable area is
// `page`, under a caption line `captionHeight` high: scaled to fill the
// width or the height left, proportions kept, and the caption and picture
// together centred on the page. Empty for an empty picture.
QRectF pictureRectOnPage(const QSizeF& picture, const QRectF& page, double captionHeight);

// Paints the picture and its caption on one page of `device`. False when
// the device could not be painted on.
bool printPicture(QPagedPaintDevice& device, const QImage& picture, const QString& caption);

// The menu command: the print dialog, then the picture; a cancelled dialog
// prints nothing and a printer that cannot print is reported.
void printPictureCommand(PictureHost& host);

} // namespace zorva::ui
