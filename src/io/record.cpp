#include "record.h"

#include "commondialog.h"
#include "dialogseam.h"
#include "messages.h"
#include "recordformat.h"
#include "workingvars.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// The record box shows at most this much of a long file, so that the box
// still fits on the screen.
constexpr qsizetype kShownChars = 2000;
constexpr qsizetype kShownLines = 40;

QString shownName(const QString& fileName) {
    return QDir::toNativeSeparators(fileName);
}

QString cannotSaveText(const QString& fileName, const QString& reason) {
    return QStringLiteral("无法保存文件“%1”：%2。").arg(shownName(fileName), reason);
}

QString cannotOpenText(const QString& fileName, const QString& reason) {
    return QStringLiteral("无法打开文件“%1”：%2。\r\n记录未读取。")
        .arg(shownName(fileName), reason);
}

QString cannotReadText(const QString& fileName, const QString& reason) {
    return QStringLiteral("无法读取文件“%1”：%2。\r\n记录未读取。")
        .arg(shownName(fileName), reason);
}

QString notAFileText(const QString& fileName) {
    return QStringLiteral("“%1”不是普通文件，未读取。").arg(shownName(fileName));
}

QString tooLargeText(const QString& fileName) {
    return QStringLiteral("文件“%1”大于1 MB，不是计算记录文件，未读取。").arg(shownName(fileName));
}

// The text of the box that shows an opened record: the record itself, cut
// short when it is long.
QString shownRecord(const QString& fileName, const QString& record) {
    if (record.isEmpty())
        return QStringLiteral("文件“%1”中没有记录。").arg(shownName(fileName));
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

// Replaces the file by `bytes` in one step: the old file stays as it was
// unless the whole new content has been written.
bool writeWhole(const QString& fileName, const QByteArray& bytes, QString& reason) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        reason = file.errorString();
        return false;
    }
    return true;
}

} // namespace

QString recordFilter() {
    return QStringLiteral("文本文件(*.txt)|*.txt;*.doc");
}

void saveRecordCommand(RecordHost& host) {
    CommonDialog& dialog = host.commonDialog();
    dialog.setFilter(recordFilter());
    const QString fileName = dialog.showSave(host.dialogParent());
    if (fileName.isEmpty())
        return;

    // The file is touched only after a run that produced results, so a
    // failed run leaves an existing record as it was.
    if (!host.calculate())
        return;

    const zorva::WorkingVars& v = host.vars();
    host.setRecordBuffer(
        composeRecord(v.roomTemp, v.supplyTemp, v.returnTemp, v.heatOutput, v.surfaceTemp));

    QString reason;
    if (!writeWhole(fileName, recordFileBytes(host.recordBuffer()), reason))
        warnAboutFile(host, cannotSaveText(fileName, reason));
}

void openRecordCommand(RecordHost& host) {
    CommonDialog& dialog = host.commonDialog();
    dialog.setFilter(recordFilter());
    const QString fileName = dialog.showOpen(host.dialogParent());
    if (fileName.isEmpty())
        return;

    // A pipe or a device is no record, and opening a pipe would wait for a
    // writer that may never come.
    const QFileInfo info(fileName);
    if (info.exists() && !info.isDir() && !info.isFile()) {
        warnAboutFile(host, notAFileText(fileName));
        return;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        warnAboutFile(host, cannotOpenText(fileName, file.errorString()));
        return;
    }
    if (file.size() > kRecordSizeLimit) {
        warnAboutFile(host, tooLargeText(fileName));
        return;
    }
    // Devices and pipes report no size; one byte past the limit tells a
    // file that is too large.
    const QByteArray bytes = file.read(kRecordSizeLimit + 1);
    const bool readFailed = file.error() != QFileDevice::NoError;
    const QString readError = file.errorString();
    file.close();
    if (readFailed) {
        warnAboutFile(host, cannotReadText(fileName, readError));
        return;
    }
    if (bytes.size() > kRecordSizeLimit) {
        warnAboutFile(host, tooLargeText(fileName));
        return;
    }

    host.setRecordBuffer(readRecordFields(bytes));
    host.dialogs().message(host.dialogParent(), QMessageBox::Information, messageTitle(),
                           shownRecord(fileName, host.recordBuffer()));
}
