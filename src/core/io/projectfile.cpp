#include "core/io/projectfile.h"

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

ProjectRead readProject(const QByteArray& bytes) {
    ProjectRead r;
    if (bytes.size() > kMaxProjectBytes) {
        r.error = QStringLiteral("项目文件太大（超过 16 MiB），不能打开");
        return r;
    }
    // A byte-order mark, as some editors write one, is not part of the JSON.
    const QByteArray json = bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes;
    // Qt's parser drops a byte-order mark that starts a string but sorts an
    // object's keys with it, so that keys can no longer be found and a saved
    // file could hold a key twice; such a file is refused.
    const qsizetype mark = json.indexOf("\"\xEF\xBB\xBF");
    if (mark >= 0) {
        r.error = QStringLiteral("项目文件%1：文字以不可见的字节顺序标记（U+FEFF）开头，"
                                 "不能可靠读取；请删除这个字符或写成 \\uFEFF")
                      .arg(position(json, mark + 1));
        return r;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        r.error = QStringLiteral("项目文件不是有效的 JSON：%1出错（%2）")
                      .arg(position(json, parseError.offset), syntaxError(parseError.error));
        return r;
    }
    if (!doc.isObject()) {
        r.error = QStringLiteral("项目文件的最外层应是对象");
        return r;
    }
    const QJsonObject top = doc.object();
    if (top.value(kFormatKey).toString() != QString::fromLatin1(kProjectFormatName)) {
        r.error = QStringLiteral("这不是 Zorva 多环路项目文件（缺少 \"format\": \"%1\"）")
                      .arg(QString::fromLatin1(kProjectFormatName));
        return r;
    }
    const QJsonValue version = top.value(kVersionKey);
    const double v = version.toDouble(-1);
    if (!version.isDouble() || v != std::floor(v) || v < 1) {
        r.error = QStringLiteral("项目文件的版本号（version）应是正整数");
        return r;
    }
    if (v > kProjectVersion) {
        r.error = QStringLiteral("项目文件的版本 %1 比本程序支持的版本 %2 新，请使用更新的程序打开")
                      .arg(QString::number(v, 'g', 15))
                      .arg(kProjectVersion);
        return r;
    }
    ProjectData p;
    const QJsonValue manifold = top.value(kManifoldKey);
    if (!manifold.isObject()) {
        r.error = QStringLiteral("项目文件的“分集水器”（manifold）应是对象，而不是%1")
                      .arg(typeName(manifold));
        return r;
    }
    if (!readManifold(manifold.toObject(), p, r.error))
        return r;
    const QJsonValue loops = top.value(kLoopsKey);
    if (!loops.isArray()) {
        r.error =
            QStringLiteral("项目文件的“环路”（loops）应是数组，而不是%1").arg(typeName(loops));
        return r;
    }
    const QJsonArray array = loops.toArray();
    p.loops.reserve(array.size());
    for (qsizetype i = 0; i < array.size(); ++i) {
        ProjectLoop loop;
        if (!readLoop(array[i], static_cast<int>(i) + 1, loop, r.error))
            return r;
        p.loops.append(std::move(loop));
    }
    p.unknownKeys = without(top, {kFormatKey, kVersionKey, kManifoldKey, kLoopsKey});
    r.project = std::move(p);
    r.ok = true;
    return r;
}

ProjectRead readProjectFile(const QString& path) {
    ProjectRead r;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        r.error = QStringLiteral("不能打开项目文件：%1").arg(file.errorString());
        return r;
    }
    if (file.size() > kMaxProjectBytes) {
        r.error = QStringLiteral("项目文件太大（超过 16 MiB），不能打开");
        return r;
    }
    const QByteArray bytes = file.read(kMaxProjectBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        r.error = QStringLiteral("读取项目文件失败：%1").arg(file.errorString());
        return r;
    }
    return readProject(bytes);
}

} // namespace zorva::io
