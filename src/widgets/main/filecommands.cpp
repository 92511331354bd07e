// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/main/filecommands.h"

#include "core/engine/workingvars.h"
#include "core/io/recordfile.h"
#include "core/io/recordformat.h"
#include "widgets/dialogs/dialogseam.h"
#include "widgets/dialogs/filedialog.h"
#include "widgets/dialogs/messages.h"
#include "widgets/main/picturefile.h"

#include <QDir>

namespace zorva::ui {

namespace {

// The record box shows at most this much of a long file, so that the box
// still fits on the screen.
constexpr qsizetype kShownChars = 2000;
constexpr qsizetype kShownLines = 40;

// The text of the box that shows an opened record: the record itself, cut
// short when it is long.
QString shownRecord(const QString& fileName, const QString& record) {
    if (record.isEmpty())
        return QStringLiteral("文件“%1”中没有记录。").arg(QDir::toNativeSeparators(fileName));
    qsizetype end = qMin(record.size(), kShownChars);
    qsizetype lines = 0;
    for (qsizetype i = 0; i < end; ++i) {
        if (record.at(i) == u'\n' && ++lines == kShownLines) {
            end = i + 1;
            break;
        }
    }
    if (end == record.size())
        return record;
    return record.left(end) + QStringLiteral("……");
}

void warnAboutFile(FileCommandHost& host, const QString& text) {
    showFileWarning(host.dialogs(), host.dialogParent(), text);
}

} // namespace

QString recordFilter() {
    return QStringLiteral("文本文件(*.txt)|*.txt;*.doc");
}

QString pictureFilter() {
    return QStringLiteral("图片文件(*.bmp)|*.bmp");
}

void saveRecordCommand(RecordHost& host) {
    FileDialog& dialog = host.fileDialog();
    dialog.setFilter(recordFilter());
    const QString fileName = dialog.showSave(host.dialogParent());
    if (fileName.isEmpty())
        return;

    // The file is touched only after a run that produced results, so a
    // failed run leaves an existing record as it was.
    if (!host.calculate())
        return;

    const zorva::WorkingVars& v = host.vars();
    host.setRecordBuffer(zorva::io::composeRecord(v.roomTemp, v.supplyTemp, v.returnTemp,
                                                  v.heatOutput, v.surfaceTemp));

    const zorva::Result<void> written = zorva::io::writeRecordFile(fileName, host.recordBuffer());
    if (!written)
        warnAboutFile(host, written.error());
}

void openRecordCommand(RecordHost& host) {
    FileDialog& dialog = host.fileDialog();
    dialog.setFilter(recordFilter());
    const QString fileName = dialog.showOpen(host.dialogParent());
    if (fileName.isEmpty())
        return;

    const zorva::Result<QString> read = zorva::io::readRecordFile(fileName);
    if (!read) {
        warnAboutFile(host, read.error());
        return;
    }
    host.setRecordBuffer(*read);
    host.dialogs().message(host.dialogParent(), QMessageBox::Information, messageTitle(),
                           shownRecord(fileName, host.recordBuffer()));
}

void savePictureCommand(PictureHost& host) {
    FileDialog& dialog = host.fileDialog();
    dialog.setFilter(pictureFilter());
    const QString fileName = dialog.showSave(host.dialogParent());
    if (fileName.isEmpty())
        return;

    const zorva::Result<void> written = writeBitmapFile(host.principlePicture(), fileName);
    if (!written)
        warnAboutFile(host, written.error());
}

} // namespace zorva::ui
