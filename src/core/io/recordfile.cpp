#include "core/io/recordfile.h"

#include "core/io/gbkcodec.h"
#include "core/io/recordformat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zorva::io {

namespace {

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

// Why a file could not be opened for reading: our own words first, then the
// system's text.
QString openFailureReason(const QFile& file) {
    const QFileInfo info(file.fileName());
    QString reason;
    if (!info.exists())
        reason = QStringLiteral("文件不存在");
    else if (info.isDir())
        reason = QStringLiteral("这是一个文件夹，不是文件");
    else if (!info.isReadable())
        reason = QStringLiteral("没有读取这个文件的权限");
    else
        reason = QStringLiteral("系统不允许打开这个文件");
    return reason + QStringLiteral("：") + file.errorString();
}

RecordRead failed(const QString& error) {
    RecordRead read;
    read.error = error;
    return read;
}

} // namespace

WriteResult writeRecordFile(const QString& fileName, const QString& buffer) {
    // Without GBK the record would be written as an empty file.
    if (const QString problem = gbkCodecProblem(); !problem.isEmpty())
        return {false, cannotSaveText(fileName, problem)};
    WriteResult written = writeFileSafely(fileName, recordFileBytes(buffer));
    if (!written.ok)
        written.error = QStringLiteral("无法保存记录文件。\r\n") + written.error;
    return written;
}

RecordRead readRecordFile(const QString& fileName) {
    // Without GBK every file would read as holding no record.
    if (const QString problem = gbkCodecProblem(); !problem.isEmpty())
        return failed(cannotOpenText(fileName, problem));
    // A pipe or a device is no record, and opening a pipe would wait for a
    // writer that may never come.
    const QFileInfo info(fileName);
    if (info.exists() && !info.isDir() && !info.isFile())
        return failed(notAFileText(fileName));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return failed(cannotOpenText(fileName, openFailureReason(file)));
    if (file.size() > kRecordSizeLimit)
        return failed(tooLargeText(fileName));
    // Devices and pipes report no size; one byte past the limit tells a
    // file that is too large.
    const QByteArray bytes = file.read(kRecordSizeLimit + 1);
    const bool readFailed = file.error() != QFileDevice::NoError;
    const QString readError = QStringLiteral("读取时出错：") + file.errorString();
    file.close();
    if (readFailed)
        return failed(cannotReadText(fileName, readError));
    if (bytes.size() > kRecordSizeLimit)
        return failed(tooLargeText(fileName));

    RecordRead read;
    read.ok = true;
    read.record = readRecordFields(bytes);
    return read;
}

} // namespace zorva::io
