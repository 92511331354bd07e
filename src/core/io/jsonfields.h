// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fields of a project file's objects as tables: for each field its key,
// its Chinese name, its unit and range (NumberRange), and how the model holds
// it. One table serves the reader, the writer and the writer's check that
// every value it writes reads back (docs/project-format.md). Messages name
// the place ("第 2 个房间（客厅）") and the field, in Chinese.

#include "core/io/manifoldfields.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <cmath>
#include <optional>
#include <span>
#include <string>
#include <utility>

namespace zorva::io::json {

QString typeName(const QJsonValue& value);
QString key(const char* k);

// How a field may be absent.
enum class Presence {
    Required,  // must be given
    Defaulted, // absent (or null): the model's value stays; always written
    Nullable,  // absent or null: empty; written only when set
};

// A number; `whole` numbers must be integers.
template <typename T> struct Number {
    NumberRange range;
    Presence presence = Presence::Required;
    bool whole = false;
    std::optional<double> (*get)(const T&) = nullptr;
    void (*set)(T&, std::optional<double>) = nullptr;
};

// Fields of plain members: a double (absent keeps its value unless
// required) or an optional double (absent or null is empty).
template <typename T, double T::*M> std::optional<double> getPlain(const T& t) {
    return t.*M;
}
template <typename T, double T::*M> void setPlain(T& t, std::optional<double> v) {
    if (v)
        t.*M = *v;
}
template <typename T, std::optional<double> T::*M> std::optional<double> getOptional(const T& t) {
    return t.*M;
}
template <typename T, std::optional<double> T::*M> void setOptional(T& t, std::optional<double> v) {
    t.*M = v;
}
template <typename T, double T::*M>
constexpr Number<T> plain(NumberRange range, Presence presence = Presence::Defaulted) {
    return {range, presence, false, &getPlain<T, M>, &setPlain<T, M>};
}
template <typename T, std::optional<double> T::*M> constexpr Number<T> optional(NumberRange range) {
    return {range, Presence::Nullable, false, &getOptional<T, M>, &setOptional<T, M>};
}

// A choice among keys, each with the model's value.
template <typename T, typename E> struct Choice {
    const char* key;
    const char* name;
    std::span<const std::pair<const char*, E>> options;
    Presence presence = Presence::Defaulted;
    E T::*member;
};

// `where` + "缺少…", "…应是数字…", "…超出范围…": the messages of every field.
QString missing(const QString& where, const char* name, const char* key);
QString wrongType(const QString& where, const char* name, const char* key, const QString& expected,
                  const QJsonValue& value);
QString outOfRange(const QString& where, const NumberRange& range, double value);
QString notWhole(const QString& where, const NumberRange& range, double value);

// The number of a field's value, with its checks; an empty message when it
// reads. `out` is empty for an absent optional field.
QString readNumber(const QJsonObject& obj, const NumberRange& range, Presence presence, bool whole,
                   const QString& where, std::optional<double>& out);
// The check of a value the writer is about to write.
QString checkNumber(const NumberRange& range, bool whole, double value, const QString& where);

template <typename T>
QString readNumbers(const QJsonObject& obj, std::span<const Number<T>> fields, T& target,
                    const QString& where) {
    for (const Number<T>& f : fields) {
        std::optional<double> value;
        if (QString error = readNumber(obj, f.range, f.presence, f.whole, where, value);
            !error.isEmpty())
            return error;
        if (value || f.presence == Presence::Nullable)
            f.set(target, value);
    }
    return {};
}

template <typename T>
void writeNumbers(QJsonObject& obj, std::span<const Number<T>> fields, const T& source) {
    for (const Number<T>& f : fields)
        if (const std::optional<double> v = f.get(source))
            obj.insert(key(f.range.key), *v);
}

template <typename T>
QString checkNumbers(std::span<const Number<T>> fields, const T& source, const QString& where) {
    for (const Number<T>& f : fields)
        if (const std::optional<double> v = f.get(source))
            if (QString error = checkNumber(f.range, f.whole, *v, where); !error.isEmpty())
                return error;
    return {};
}

// A choice: absent keeps the model's value unless required.
template <typename T, typename E>
QString readChoice(const QJsonObject& obj, const Choice<T, E>& c, T& target, const QString& where) {
    const QJsonValue v = obj.value(key(c.key));
    if (v.isUndefined() || v.isNull()) {
        if (c.presence == Presence::Required)
            return missing(where, c.name, c.key);
        return {};
    }
    if (!v.isString())
        return wrongType(where, c.name, c.key, QStringLiteral("文字"), v);
    const QString text = v.toString();
    QStringList allowed;
    for (const auto& [k, value] : c.options) {
        if (text == QLatin1String(k)) {
            target.*c.member = value;
            return {};
        }
        allowed << QStringLiteral("\"%1\"").arg(QLatin1String(k));
    }
    return QStringLiteral("%1的“%2”（%3）应是 %4 之一，而不是“%5”")
        .arg(where, QString::fromUtf8(c.name), key(c.key), allowed.join(QStringLiteral("、")),
             text.left(40));
}

template <typename T, typename E>
void writeChoice(QJsonObject& obj, const Choice<T, E>& c, const T& source) {
    for (const auto& [k, value] : c.options)
        if (value == source.*c.member) {
            obj.insert(key(c.key), QLatin1String(k));
            return;
        }
}

// A true/false value; absent keeps the model's.
QString readBool(const QJsonObject& obj, const char* k, const char* name, const QString& where,
                 bool& out);

// Text of at most `maxLength` UTF-16 units; absent gives empty unless required.
QString readText(const QJsonObject& obj, const char* k, const char* name, const QString& where,
                 int maxLength, bool required, std::string& out);
QString checkText(const std::string& text, const char* name, const QString& where, int maxLength);

// An object member: absent gives an empty object; anything else than an
// object is refused.
QString readObject(const QJsonObject& obj, const char* k, const char* name, const QString& where,
                   QJsonObject& out, bool& present);
QString readArray(const QJsonObject& obj, const char* k, const char* name, const QString& where,
                  QJsonArray& out, bool& present);

// The first of the messages noted: a writer writes every value and says
// what the first value that would not read back is.
struct FirstError {
    QString text;
    void note(const QString& error) {
        if (text.isEmpty())
            text = error;
    }
};

// The keys of `obj` that are not in `known`.
QJsonObject unknownKeys(const QJsonObject& obj, std::initializer_list<const char*> known);

// Keys kept from a file, as the model holds them: compact JSON text of an
// object ("" for none), and back.
std::string extraText(const QJsonObject& extras);
QJsonObject extraObject(const std::string& text);

// `extras` merged into `written`: keys `written` lacks are added; where
// both hold an object, the two are merged the same way; where both hold an
// array of the same length, their objects are merged one by one. What the
// writer wrote always wins.
QJsonObject mergeExtras(QJsonObject written, const QJsonObject& extras);

} // namespace zorva::io::json
