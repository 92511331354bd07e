#include "core/io/projectfile.h"

#include "core/csv/textencoding.h"
#include "core/io/jsonkeys.h"
#include "core/io/manifoldfields.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

#include <cmath>

namespace zorva::io {

namespace {

const QString kFormatKey = QStringLiteral("format");
const QString kVersionKey = QStringLiteral("version");
const QString kManifoldKey = QStringLiteral("manifold");
const QString kLoopsKey = QStringLiteral("loops");

QString key(const char* k) {
    return QString::fromLatin1(k);
}

QString typeName(const QJsonValue& v) {
    switch (v.type()) {
    case QJsonValue::Null:
        return QStringLiteral("空值");
    case QJsonValue::Bool:
        return QStringLiteral("真假值");
    case QJsonValue::Double:
        return QStringLiteral("数字");
    case QJsonValue::String:
        return QStringLiteral("文字");
    case QJsonValue::Array:
        return QStringLiteral("数组");
    case QJsonValue::Object:
        return QStringLiteral("对象");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("缺失");
}

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

// Reads a number; `where` names the place ("分集水器" or a loop label).
bool readNumber(const QJsonObject& obj, const NumberSpec& numberField, std::optional<double>& out,
                const QString& where, QString& error) {
    const QJsonValue v = obj.value(key(numberField.key));
    out.reset();
    if (v.isUndefined() || (numberField.optional && v.isNull())) {
        if (numberField.optional)
            return true;
        error = QStringLiteral("%1缺少“%2”（%3）")
                    .arg(where, QString::fromUtf8(numberField.name), key(numberField.key));
        return false;
    }
    if (!v.isDouble()) {
        error =
            QStringLiteral("%1的“%2”（%3）应是数字，而不是%4")
                .arg(where, QString::fromUtf8(numberField.name), key(numberField.key), typeName(v));
        return false;
    }
    const double d = v.toDouble();
    if (!inRange(numberField, d)) {
        error = where + QStringLiteral("的") + rangeMessage(numberField, d);
        return false;
    }
    out = d;
    return true;
}

QJsonObject without(QJsonObject obj, std::initializer_list<QString> known) {
    for (const QString& k : known)
        obj.remove(k);
    return obj;
}

bool readManifold(const QJsonObject& obj, ProjectData& p, QString& error) {
    const QString where = QStringLiteral("分集水器");
    QJsonObject rest = obj;
    for (int i = 0; i < kManifoldNumberCount; ++i) {
        std::optional<double> v;
        if (!readNumber(obj, manifoldSpecs()[i], v, where, error))
            return false;
        manifoldNumber(p.manifold, i) = *v;
        rest.remove(key(manifoldSpecs()[i].key));
    }
    p.unknownManifoldKeys = rest;
    return true;
}

bool readLoop(const QJsonValue& value, int index, ProjectLoop& loop, QString& error) {
    if (!value.isObject()) {
        error = QStringLiteral("%1应是对象，而不是%2")
                    .arg(loopLabel(index, QString()), typeName(value));
        return false;
    }
    const QJsonObject obj = value.toObject();
    QJsonObject rest = obj;
    const QJsonValue name = obj.value(key(kLoopNameKey));
    if (!name.isUndefined() && !name.isString()) {
        error = QStringLiteral("%1的“环路”（name）应是文字，而不是%2")
                    .arg(loopLabel(index, QString()), typeName(name));
        return false;
    }
    const QString nameText = name.toString();
    if (nameText.size() > kMaxLoopNameLength) {
        error = QStringLiteral("%1的名称超过 %2 个字符")
                    .arg(loopLabel(index, QString()))
                    .arg(kMaxLoopNameLength);
        return false;
    }
    loop.input.name = nameText.toStdString();
    rest.remove(key(kLoopNameKey));
    const QString where = loopLabel(index, nameText);
    for (int i = 0; i < kLoopNumberCount; ++i) {
        std::optional<double> v;
        if (!readNumber(obj, loopSpecs()[i], v, where, error))
            return false;
        setLoopNumber(loop.input, i, v);
        rest.remove(key(loopSpecs()[i].key));
    }
    loop.unknownKeys = rest;
    return true;
}

} // namespace

QByteArray projectBytes(const ProjectData& p) {
    QJsonObject manifold = p.unknownManifoldKeys;
    for (int i = 0; i < kManifoldNumberCount; ++i)
        manifold.insert(key(manifoldSpecs()[i].key), manifoldNumber(p.manifold, i));
    QJsonArray loops;
    for (const ProjectLoop& loop : p.loops) {
        QJsonObject obj = loop.unknownKeys;
        obj.insert(key(kLoopNameKey), QString::fromStdString(loop.input.name));
        for (int i = 0; i < kLoopNumberCount; ++i) {
            const std::optional<double> v = loopNumber(loop.input, i);
            if (v)
                obj.insert(key(loopSpecs()[i].key), *v);
            else
                obj.remove(key(loopSpecs()[i].key));
        }
        loops.append(obj);
    }
    QJsonObject top = p.unknownKeys;
    top.insert(kFormatKey, QString::fromLatin1(kProjectFormatName));
    top.insert(kVersionKey, kProjectVersion);
    top.insert(kManifoldKey, manifold);
    top.insert(kLoopsKey, loops);
    return QJsonDocument(top).toJson(QJsonDocument::Indented);
}

Result<QByteArray> projectFileBytes(const ProjectData& project) {
    if (project.loops.size() > kMaxLoops)
        return Problem{QStringLiteral("项目有 %1 个环路，超过 %2 个，不能保存")
                           .arg(project.loops.size())
                           .arg(kMaxLoops),
                       {}};
    QByteArray bytes = projectBytes(project);
    if (bytes.size() > kMaxProjectBytes)
        return Problem{QStringLiteral("项目文件将超过 %1 MiB（其中有打开时保留的未知内容），"
                                      "将不能再打开，未保存")
                           .arg(kMaxProjectBytes >> 20),
                       {}};
    return bytes;
}

namespace {

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

} // namespace

Result<ProjectData> readProject(const QByteArray& bytes) {
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
    const QJsonObject top = doc.object();
    if (top.value(kFormatKey).toString() != QString::fromLatin1(kProjectFormatName))
        return fault(QStringLiteral("这不是 Zorva 多环路项目文件（缺少 \"format\": \"%1\"）")
                         .arg(QString::fromLatin1(kProjectFormatName)));
    const QJsonValue version = top.value(kVersionKey);
    const double v = version.toDouble(-1);
    if (!version.isDouble() || v != std::floor(v) || v < 1)
        return fault(QStringLiteral("项目文件的版本号（version）应是正整数"));
    if (v > kProjectVersion)
        return fault(
            QStringLiteral("项目文件的版本 %1 比本程序支持的版本 %2 新，请使用更新的程序打开")
                .arg(QString::number(v, 'g', 15))
                .arg(kProjectVersion));
    ProjectData p;
    QString error;
    const QJsonValue manifold = top.value(kManifoldKey);
    if (!manifold.isObject())
        return fault(QStringLiteral("项目文件的“分集水器”（manifold）应是对象，而不是%1")
                         .arg(typeName(manifold)));
    if (!readManifold(manifold.toObject(), p, error))
        return fault(error);
    const QJsonValue loops = top.value(kLoopsKey);
    if (!loops.isArray())
        return fault(
            QStringLiteral("项目文件的“环路”（loops）应是数组，而不是%1").arg(typeName(loops)));
    const QJsonArray array = loops.toArray();
    if (array.size() > kMaxLoops)
        return fault(QStringLiteral("项目文件有 %1 个环路，超过本程序的上限 %2 个")
                         .arg(array.size())
                         .arg(kMaxLoops));
    p.loops.reserve(array.size());
    for (qsizetype i = 0; i < array.size(); ++i) {
        ProjectLoop loop;
        if (!readLoop(array[i], static_cast<int>(i) + 1, loop, error))
            return fault(error);
        p.loops.append(std::move(loop));
    }
    p.unknownKeys = without(top, {kFormatKey, kVersionKey, kManifoldKey, kLoopsKey});
    return p;
}

Result<ProjectData> readProjectFile(const QByteArray& path, const QString& shownName,
                                    FileKinds kinds) {
    const QString quoted = QStringLiteral("“%1”").arg(shownName);
    const Result<QByteArray> bytes = readFileBytes(path, shownName, kMaxProjectBytes, kinds);
    if (!bytes) {
        Problem problem = bytes.problem();
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
    Result<ProjectData> read = readProject(*bytes);
    if (!read)
        return Problem{QStringLiteral("无法打开项目文件%1：%2").arg(quoted, read.problem().message),
                       {}};
    return read;
}

Result<ProjectData> readProjectFile(const QString& path) {
    return readProjectFile(QFile::encodeName(path), shownFileName(path), FileKinds::RegularOnly);
}

} // namespace zorva::io
