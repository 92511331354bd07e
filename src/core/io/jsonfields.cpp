// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/jsonfields.h"

#include <QJsonDocument>
#include <QLocale>

namespace zorva::io::json {

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

QString key(const char* k) {
    return QString::fromLatin1(k);
}

QString missing(const QString& where, const char* name, const char* k) {
    return QStringLiteral("%1缺少“%2”（%3）").arg(where, QString::fromUtf8(name), key(k));
}

QString wrongType(const QString& where, const char* name, const char* k, const QString& expected,
                  const QJsonValue& value) {
    return QStringLiteral("%1的“%2”（%3）应是%4，而不是%5")
        .arg(where, QString::fromUtf8(name), key(k), expected, typeName(value));
}

QString outOfRange(const QString& where, const NumberRange& range, double value) {
    return where + QStringLiteral("的") + rangeMessage(range, value);
}

QString notWhole(const QString& where, const NumberRange& range, double value) {
    return QStringLiteral("%1的“%2”（%3）应是整数，而不是 %4")
        .arg(where, QString::fromUtf8(range.name), key(range.key),
             QString::number(value, 'g', QLocale::FloatingPointShortest));
}

QString checkNumber(const NumberRange& range, bool whole, double value, const QString& where) {
    if (!inRange(range, value))
        return outOfRange(where, range, value);
    if (whole && value != std::floor(value))
        return notWhole(where, range, value);
    return {};
}

QString readNumber(const QJsonObject& obj, const NumberRange& range, Presence presence, bool whole,
                   const QString& where, std::optional<double>& out) {
    out.reset();
    const QJsonValue v = obj.value(key(range.key));
    if (v.isUndefined() || v.isNull()) {
        if (presence == Presence::Required)
            return v.isNull() ? wrongType(where, range.name, range.key, QStringLiteral("数字"), v)
                              : missing(where, range.name, range.key);
        return {};
    }
    if (!v.isDouble())
        return wrongType(where, range.name, range.key, QStringLiteral("数字"), v);
    const double d = v.toDouble();
    if (QString error = checkNumber(range, whole, d, where); !error.isEmpty())
        return error;
    out = d;
    return {};
}

QString readBool(const QJsonObject& obj, const char* k, const char* name, const QString& where,
                 bool& out) {
    const QJsonValue v = obj.value(key(k));
    if (v.isUndefined() || v.isNull())
        return {};
    if (!v.isBool())
        return wrongType(where, name, k, QStringLiteral("真假值（true 或 false）"), v);
    out = v.toBool();
    return {};
}

QString checkText(const std::string& text, const char* name, const QString& where, int maxLength) {
    if (QString::fromStdString(text).size() > maxLength)
        return QStringLiteral("%1的“%2”超过 %3 个字符")
            .arg(where, QString::fromUtf8(name))
            .arg(maxLength);
    return {};
}

QString readText(const QJsonObject& obj, const char* k, const char* name, const QString& where,
                 int maxLength, bool required, std::string& out) {
    const QJsonValue v = obj.value(key(k));
    if (v.isUndefined() && required)
        return missing(where, name, k);
    if (v.isUndefined())
        return {};
    if (!v.isString())
        return wrongType(where, name, k, QStringLiteral("文字"), v);
    out = v.toString().toStdString();
    return checkText(out, name, where, maxLength);
}

QString readObject(const QJsonObject& obj, const char* k, const char* name, const QString& where,
                   QJsonObject& out, bool& present) {
    const QJsonValue v = obj.value(key(k));
    present = !v.isUndefined() && !v.isNull();
    out = {};
    if (!present)
        return {};
    if (!v.isObject())
        return wrongType(where, name, k, QStringLiteral("对象"), v);
    out = v.toObject();
    return {};
}

QString readArray(const QJsonObject& obj, const char* k, const char* name, const QString& where,
                  QJsonArray& out, bool& present) {
    const QJsonValue v = obj.value(key(k));
    present = !v.isUndefined() && !v.isNull();
    out = {};
    if (!present)
        return {};
    if (!v.isArray())
        return wrongType(where, name, k, QStringLiteral("数组"), v);
    out = v.toArray();
    return {};
}

QJsonObject unknownKeys(const QJsonObject& obj, std::initializer_list<const char*> known) {
    QJsonObject rest = obj;
    for (const char* k : known)
        rest.remove(key(k));
    return rest;
}

std::string extraText(const QJsonObject& extras) {
    if (extras.isEmpty())
        return {};
    return QJsonDocument(extras).toJson(QJsonDocument::Compact).toStdString();
}

QJsonObject extraObject(const std::string& text) {
    if (text.empty())
        return {};
    return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object();
}

QJsonObject mergeExtras(QJsonObject written, const QJsonObject& extras) {
    for (auto it = extras.begin(); it != extras.end(); ++it) {
        const auto here = written.find(it.key());
        if (here == written.end()) {
            written.insert(it.key(), it.value());
            continue;
        }
        if (here->isObject() && it->isObject()) {
            *here = mergeExtras(here->toObject(), it->toObject());
        } else if (here->isArray() && it->isArray()) {
            QJsonArray mine = here->toArray();
            const QJsonArray kept = it->toArray();
            if (mine.size() != kept.size())
                continue;
            for (qsizetype i = 0; i < mine.size(); ++i)
                if (mine[i].isObject() && kept[i].isObject())
                    mine[i] = mergeExtras(mine[i].toObject(), kept[i].toObject());
            *here = mine;
        }
    }
    return written;
}

} // namespace zorva::io::json
