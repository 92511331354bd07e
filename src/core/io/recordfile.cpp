// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/recordfile.h"

#include "core/csv/textencoding.h"
#include "core/io/fileread.h"
#include "core/io/recordformat.h"
#include "core/io/safesave.h"

namespace zorva::io {

namespace {

Problem cannotSave(const QString& fileName, const QString& reason) {
    return {QStringLiteral("无法保存文件“%1”：%2。").arg(shownFileName(fileName), reason), {}};
}

// The record's own wording around the reader's reason.
Problem cannotRead(const QString& fileName, const Problem& read) {
    const QString name = shownFileName(fileName);
    switch (read.code) {
    case NotRegularFile:
        return read;
    case TooLarge:
        return {QStringLiteral("文件“%1”大于1 MB，不是计算记录文件，未读取。").arg(name), {}};
    case ReadError:
        return {QStringLiteral("无法读取文件“%1”：读取时出错：%2。\r\n记录未读取。")
                    .arg(name, read.reason),
                {}};
    default:
        break;
    }
    return {QStringLiteral("无法打开文件“%1”：%2。\r\n记录未读取。").arg(name, read.reason), {}};
}

} // namespace

Result<void> writeRecordFile(const QString& fileName, const QString& buffer) {
    // Without GBK the record would be written as an empty file.
    if (const QString problem = csv::gbkCodecProblem(); !problem.isEmpty())
        return cannotSave(fileName, problem);
    Result<void> written = writeFileSafely(fileName, recordFileBytes(buffer));
    if (!written)
        return Problem{QStringLiteral("无法保存记录文件。\r\n") + written.problem().message,
                       written.problem().reason};
    return written;
}

Result<QString> readRecordFile(const QString& fileName) {
    // Without GBK every file would read as holding no record.
    if (const QString problem = csv::gbkCodecProblem(); !problem.isEmpty())
        return Problem{QStringLiteral("无法打开文件“%1”：%2。\r\n记录未读取。")
                           .arg(shownFileName(fileName), problem),
                       {}};
    const Result<QByteArray> bytes = readFileBytes(fileName, kRecordSizeLimit);
    if (!bytes)
        return cannotRead(fileName, bytes.problem());
    return readRecordFields(*bytes);
}

} // namespace zorva::io
