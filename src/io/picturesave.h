#pragma once
// The File menu's "保存图片": saves the principle diagram as a Windows
// bitmap under a name the user chooses.

#include "filehost.h"

#include <QImage>
#include <QString>

// What the picture save needs from the main window.
class PictureHost : public virtual FileCommandHost {
public:
    // The picture of the principle window's Pic11. Reaching the window
    // creates it hidden when it does not exist; a shown window stays shown.
    virtual QImage principlePicture() = 0;
};

// The file-type entry of the picture dialog.
QString pictureFilter();

// Writes `image` as a Windows bitmap to exactly `fileName`, whatever its
// extension. The file is replaced whole or not at all. On failure returns
// false and sets `reason`.
bool writeBitmap(const QImage& image, const QString& fileName, QString* reason);

// "保存图片". A cancelled dialog or an empty name writes nothing. A file that
// cannot be written is reported in a message box and any old file of that
// name is left as it was.
void savePictureCommand(PictureHost& host);
