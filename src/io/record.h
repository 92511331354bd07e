#pragma once
// The File menu's record commands: "保存文件" recalculates and writes the
// calculation record to a text file, "打开文件" reads a text file field by
// field into the main window's record buffer and shows what was read.

#include "filehost.h"

#include <QString>
#include <QtGlobal>

namespace zorva {
struct WorkingVars;
}

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

// The file-type entry of both record dialogs.
QString recordFilter();

// Files larger than this are not records and are not read.
constexpr qint64 kRecordSizeLimit = qint64(1) << 20;

// "保存文件". Asks for a name and runs the calculation before the file is
// touched; only a run with results is written, and the file is replaced
// whole or not at all.
void saveRecordCommand(RecordHost& host);

// "打开文件". Asks for a name, reads the file into the record buffer and
// shows the text read. The buffer keeps its text when the file cannot be
// read. No field of the window changes and nothing is recalculated.
void openRecordCommand(RecordHost& host);
