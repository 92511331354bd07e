// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/projectfile.h"

#include "core/csv/textencoding.h"
#include "core/io/jsonfields.h"
#include "core/io/jsonkeys.h"
#include "core/io/manifoldfields.h"
#include "core/io/projectdocument.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

#include <cmath>

namespace zorva::io {

namespace {

const QString kFormatKey = QStringLiteral("format");
const QString kVersionKey = QStringLiteral("version");

// What a JSON syntax error is, in Chinese.
QString syntaxError(QJsonParseError::ParseError error) {
    switch (error) {
    case QJsonParseError::UnterminatedObject:
        return QStringLiteral("对象没有正确结束");
    case QJsonParseError::MissingNameSeparator:
        return QStringLiteral("键后面缺少冒号");
    case QJsonParseError::UnterminatedArray:
        return QStringLiteral("数组没有正确结束");
    case QJsonParseError::MissingValueSeparator:
        return QStringLiteral("缺少逗号");
    case QJsonParseError::IllegalValue:
        return QStringLiteral("无效的值");
    case QJsonParseError::TerminationByNumber:
        return QStringLiteral("文件在数字中间结束");
    case QJsonParseError::IllegalNumber:
        return QStringLiteral("无效的数字");
    case QJsonParseError::IllegalEscapeSequence:
        return QStringLiteral("无效的转义序列");
    case QJsonParseError::IllegalUTF8String:
        return QStringLiteral("文字不是有效的 UTF-8");
    case QJsonParseError::UnterminatedString:
        return QStringLiteral("字符串没有结束");
    case QJsonParseError::MissingObject:
        return QStringLiteral("缺少对象");
    case QJsonParseError::DeepNesting:
        return QStringLiteral("嵌套太深");
    case QJsonParseError::DocumentTooLarge:
        return QStringLiteral("文件太大");
    case QJsonParseError::GarbageAtEnd:
        return QStringLiteral("结尾有多余的内容");
    case QJsonParseError::NoError:
        break;
    }
    return QStringLiteral("语法错误");
}

// Line and column (from 1, in characters) of a byte offset in UTF-8 text.
QString position(const QByteArray& bytes, qsizetype offset) {
    offset = std::clamp<qsizetype>(offset, 0, bytes.size());
    int line = 1;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < offset; ++i)
        if (bytes[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    const int column =
        static_cast<int>(
            QString::fromUtf8(bytes.constData() + lineStart, offset - lineStart).toUcs4().size()) +
        1;
    return QStringLiteral("第 %1 行第 %2 列").arg(line).arg(column);
}

Problem fault(const QString& message) {
    return {message, {}};
}

// The JSON as UTF-8: byte-order marks (any number) are no part of it, and
// UTF-16 with its mark is turned into UTF-8 first.
Result<QByteArray> jsonBytes(const QByteArray& bytes) {
    const Result<csv::TextStart> start = csv::detectEncoding(bytes);
    if (!start)
        return fault(QStringLiteral("项目文件：") + start.problem().message);
    if ((start->encoding == csv::Encoding::Utf16Le || start->encoding == csv::Encoding::Utf16Be)) {
        const Result<QString> text =
            csv::decodeText(QByteArrayView(bytes).sliced(start->markBytes), start->encoding);
        if (!text)
            return fault(QStringLiteral("项目文件") + text.problem().message);
        return text->toUtf8();
    }
    if (start->markBytes > 0)
        return bytes.sliced(start->markBytes);
    // Anything else goes to the JSON parser, which names the place of a byte
    // that is not UTF-8.
    return bytes;
}

// The top-level object and its version, every check of the file as a
// whole made.
struct TopLevel {
    QJsonObject object;
    int version = 0;
};

Result<TopLevel> topLevel(const QByteArray& bytes) {
    if (bytes.size() > kMaxProjectBytes)
        return fault(
            QStringLiteral("项目文件太大（超过 %1 MiB），不能打开").arg(kMaxProjectBytes >> 20));
    const Result<QByteArray> utf8 = jsonBytes(bytes);
    if (!utf8)
        return utf8.problem();
    const QByteArray& json = *utf8;
    // Qt's parser drops a byte-order mark that starts a string but sorts an
    // object's keys with it, so that keys can no longer be found and a saved
    // file could hold a key twice; such a file is refused.
    const qsizetype mark = json.indexOf("\"\xEF\xBB\xBF");
    if (mark >= 0)
        return fault(QStringLiteral("项目文件%1：文字以不可见的字节顺序标记（U+FEFF）开头，"
                                    "不能可靠读取；请删除这个字符或写成 \\uFEFF")
                         .arg(position(json, mark + 1)));
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return fault(QStringLiteral("项目文件不是有效的 JSON：%1出错（%2）")
                         .arg(position(json, parseError.offset), syntaxError(parseError.error)));
    if (const std::optional<RepeatedKey> repeated = findRepeatedKey(json))
        return fault(QStringLiteral("项目文件%1：键“%2”在同一个对象中出现了两次，"
                                    "不知道该用哪一个值")
                         .arg(position(json, repeated->offset), repeated->key));
    if (!doc.isObject())
        return fault(QStringLiteral("项目文件的最外层应是对象"));
    TopLevel top;
    top.object = doc.object();
    if (top.object.value(kFormatKey).toString() != QString::fromLatin1(kProjectFormatName))
        return fault(QStringLiteral("这不是 Zorva 多环路项目文件（缺少 \"format\": \"%1\"）")
                         .arg(QString::fromLatin1(kProjectFormatName)));
    const QJsonValue version = top.object.value(kVersionKey);
    const double v = version.toDouble(-1);
    if (!version.isDouble() || v != std::floor(v) || v < 1)
        return fault(QStringLiteral("项目文件的版本号（version）应是正整数"));
    if (v > kProjectVersion)
        return fault(
            QStringLiteral("项目文件的版本 %1 比本程序支持的版本 %2 新，请使用更新的程序打开")
                .arg(QString::number(v, 'g', 15))
                .arg(kProjectVersion));
    top.version = int(v);
    return top;
}

Problem fileProblem(Problem problem, const QString& quoted) {
    if (problem.code == TooLarge)
        problem.message = QStringLiteral("项目文件%1太大（超过 %2 MiB），不能打开")
                              .arg(quoted)
                              .arg(kMaxProjectBytes >> 20);
    else if (problem.code == CannotOpen)
        problem.message = QStringLiteral("无法打开项目文件") + quoted;
    else if (problem.code == ReadError)
        problem.message = QStringLiteral("读取项目文件%1失败").arg(quoted);
    return problem;
}

// The text and its first fault.
struct Written {
    QByteArray bytes;
    QString error;
};

Written written(const project::Project& p) {
    QJsonObject top;
    Written w;
    w.error = writeProjectObject(p, top);
    top.insert(kFormatKey, QString::fromLatin1(kProjectFormatName));
    top.insert(kVersionKey, kProjectVersion);
    w.bytes = QJsonDocument(top).toJson(QJsonDocument::Indented);
    return w;
}

} // namespace

Result<ProjectDocument> readProjectDocument(const QByteArray& bytes) {
    const Result<TopLevel> top = topLevel(bytes);
    if (!top)
        return top.problem();
    ProjectDocument d;
    d.version = top->version;
    if (const QString error = readProjectObject(top->object, top->version, d.project);
        !error.isEmpty())
        return fault(error);
    return d;
}

Result<ProjectDocument> readProjectDocumentFile(const QByteArray& path, const QString& shownName,
                                                FileKinds kinds) {
    const QString quoted = QStringLiteral("“%1”").arg(shownName);
    const Result<QByteArray> bytes = readFileBytes(path, shownName, kMaxProjectBytes, kinds);
    if (!bytes)
        return fileProblem(bytes.problem(), quoted);
    Result<ProjectDocument> read = readProjectDocument(*bytes);
    if (!read)
        return Problem{QStringLiteral("无法打开项目文件%1：%2").arg(quoted, read.problem().message),
                       {}};
    return read;
}

Result<ProjectDocument> readProjectDocumentFile(const QString& path) {
    return readProjectDocumentFile(QFile::encodeName(path), shownFileName(path),
                                   FileKinds::RegularOnly);
}

QByteArray projectDocumentText(const project::Project& project) {
    return written(project).bytes;
}

Result<QByteArray> projectDocumentBytes(const project::Project& project) {
    Written w = written(project);
    if (!w.error.isEmpty())
        return fault(w.error + QStringLiteral("，不能保存"));
    if (w.bytes.size() > kMaxProjectBytes)
        return fault(QStringLiteral("项目文件将超过 %1 MiB（其中有打开时保留的未知内容），"
                                    "将不能再打开，未保存")
                         .arg(kMaxProjectBytes >> 20));
    return std::move(w.bytes);
}

project::Project projectOf(const ProjectData& data) {
    project::Project p = data.document;
    if (p.manifolds.empty()) {
        p = project::newProject();
        p.settings.method = method::Method::Program;
        p.manifolds[0].name.clear();
    }
    p.manifolds.resize(1);
    project::Manifold& m = p.manifolds[0];
    m.input = data.manifold;
    m.extraKeys = json::extraText(data.unknownManifoldKeys);
    m.loops.clear();
    m.loops.reserve(std::size_t(data.loops.size()));
    for (const ProjectLoop& loop : data.loops)
        m.loops.push_back({loop.input, json::extraText(loop.unknownKeys)});
    p.extraKeys = json::extraText(data.unknownKeys);
    return p;
}

Result<ProjectData> sheetOf(const project::Project& project) {
    if (project.manifolds.size() != 1 || !project.rooms.empty())
        return fault(QStringLiteral("这个项目有 %1 个分集水器、%2 个房间；多环路计算表只能打开"
                                    "一个分集水器、没有房间的项目")
                         .arg(project.manifolds.size())
                         .arg(project.rooms.size()));
    ProjectData d;
    const project::Manifold& m = project.manifolds[0];
    d.manifold = m.input;
    d.unknownManifoldKeys = json::extraObject(m.extraKeys);
    d.unknownKeys = json::extraObject(project.extraKeys);
    d.loops.reserve(qsizetype(m.loops.size()));
    for (const project::ManualLoop& loop : m.loops)
        d.loops.append({loop.input, json::extraObject(loop.extraKeys)});
    d.document = project;
    return d;
}

QByteArray projectBytes(const ProjectData& project) {
    return projectDocumentText(projectOf(project));
}

Result<QByteArray> projectFileBytes(const ProjectData& project) {
    if (project.loops.size() > kMaxLoops)
        return Problem{QStringLiteral("项目有 %1 个环路，超过 %2 个，不能保存")
                           .arg(project.loops.size())
                           .arg(kMaxLoops),
                       {}};
    return projectDocumentBytes(projectOf(project));
}

Result<ProjectData> readProject(const QByteArray& bytes) {
    const Result<ProjectDocument> read = readProjectDocument(bytes);
    if (!read)
        return read.problem();
    return sheetOf(read->project);
}

Result<ProjectData> readProjectFile(const QByteArray& path, const QString& shownName,
                                    FileKinds kinds) {
    const Result<ProjectDocument> read = readProjectDocumentFile(path, shownName, kinds);
    if (!read)
        return read.problem();
    const Result<ProjectData> sheet = sheetOf(read->project);
    if (!sheet)
        return Problem{
            QStringLiteral("无法打开项目文件“%1”：%2").arg(shownName, sheet.problem().message), {}};
    return sheet;
}

Result<ProjectData> readProjectFile(const QString& path) {
    return readProjectFile(QFile::encodeName(path), shownFileName(path), FileKinds::RegularOnly);
}

} // namespace zorva::io
