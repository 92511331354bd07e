// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The File menu's commands as the user meets them: "保存文件" recalculates
// and writes the calculation record, "打开文件" reads a record into the main
// window's record buffer and shows it, "保存图片" saves the principle
// diagram as a bitmap. The files themselves are written and read by
// src/io; here live the dialogs, the messages and the order of the steps.

#include <QImage>
#include <QString>

class QWidget;

namespace zorva {
struct WorkingVars;
}

namespace zorva::ui {

class DialogSeam;
class FileDialog;

// What every file command needs from the main window: its file dialog and
// the seam through which it shows dialogs.
class FileCommandHost {
public:
    virtual ~FileCommandHost() = default;

    // The window's file dialog (CommonDialog1), shared by all file commands.
    virtual FileDialog& fileDialog() = 0;
    virtual DialogSeam& dialogs() = 0;
    virtual QWidget* dialogParent() = 0;
};

// What the record commands need from the main window.
class RecordHost : public virtual FileCommandHost {
public:
    // Runs the window's Calculate handling as the Calculate button does.
    // True only when the run converged and wrote its results; on an
    // arithmetic fault or a run that did not converge the window has already
    // told the user and false is returned.
    virtual bool calculate() = 0;
    virtual const zorva::WorkingVars& vars() = 0;

    // The hidden record buffer Text1(0).
    virtual QString recordBuffer() const = 0;
    virtual void setRecordBuffer(const QString& text) = 0;
};

// What the picture save needs from the main window.
class PictureHost : public virtual FileCommandHost {
public:
    // The picture of the principle window's diagram box. Reaching the window
    // creates it hidden when it does not exist; a shown window stays shown.
    virtual QImage principlePicture() = 0;
};

// The file-type entries of the dialogs.
QString recordFilter();
QString pictureFilter();

// "保存文件". Asks for a name and runs the calculation before the file is
// touched; only a run with results is written, and the file is replaced
// whole or not at all.
void saveRecordCommand(RecordHost& host);

// "打开文件". Asks for a name, reads the file into the record buffer and
// shows the text read. The buffer keeps its text when the file cannot be
// read. No field of the window changes and nothing is recalculated.
void openRecordCommand(RecordHost& host);

// "保存图片". A cancelled dialog or an empty name writes nothing. A file that
// cannot be written is reported in a message box and any old file of that
// name is left as it was.
void savePictureCommand(PictureHost& host);

} // namespace zorva::ui
