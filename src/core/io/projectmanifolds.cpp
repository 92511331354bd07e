// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/projectmanifolds.h"

#include "core/io/jsonfields.h"
#include "core/io/projectbelow.h"

namespace zorva::io {

namespace {

using namespace json;

constexpr int kMaxManifoldNameLength = 200;

// The sheet's loop numbers, as version 1 reads them.
QString readLoop(const QJsonValue& value, int index, const QString& owner,
                 project::ManualLoop& loop) {
    const QString label = owner + loopLabel(index, QString());
    if (!value.isObject())
        return QStringLiteral("%1应是对象，而不是%2").arg(label, typeName(value));
    const QJsonObject obj = value.toObject();
    const QJsonValue name = obj.value(key(kLoopNameKey));
    if (!name.isUndefined() && !name.isString())
        return QStringLiteral("%1的“环路”（name）应是文字，而不是%2").arg(label, typeName(name));
    const QString nameText = name.toString();
    if (nameText.size() > kMaxLoopNameLength)
        return QStringLiteral("%1的名称超过 %2 个字符").arg(label).arg(kMaxLoopNameLength);
    loop.input.name = nameText.toStdString();
    const QString where = owner + loopLabel(index, nameText);
    QJsonObject rest = obj;
    rest.remove(key(kLoopNameKey));
    for (int i = 0; i < kLoopNumberCount; ++i) {
        const NumberRange& range = loopRanges()[i];
        std::optional<double> v;
        if (QString e =
                readNumber(obj, range, range.optional ? Presence::Nullable : Presence::Required,
                           false, where, v);
            !e.isEmpty())
            return e;
        setLoopNumber(loop.input, i, v);
        rest.remove(key(range.key));
    }
    loop.extraKeys = extraText(rest);
    return {};
}

// `holder` has the loops ("项目文件", a manifold); `owner` prefixes their labels.
QString readLoops(const QJsonArray& array, const QString& holder, const QString& owner,
                  std::vector<project::ManualLoop>& out) {
    if (array.size() > kMaxLoops)
        return QStringLiteral("%1有 %2 个环路，超过本程序的上限 %3 个")
            .arg(holder)
            .arg(array.size())
            .arg(kMaxLoops);
    out.clear();
    out.reserve(std::size_t(array.size()));
    for (qsizetype i = 0; i < array.size(); ++i) {
        project::ManualLoop loop;
        if (QString e = readLoop(array[i], int(i) + 1, owner, loop); !e.isEmpty())
            return e;
        out.push_back(std::move(loop));
    }
    return {};
}

QString readNumbersOf(const QJsonObject& obj, const QString& where, ManifoldInput& input,
                      QJsonObject& rest) {
    for (int i = 0; i < kManifoldNumberCount; ++i) {
        std::optional<double> v;
        if (QString e = readNumber(obj, manifoldRanges()[i], Presence::Required, false, where, v);
            !e.isEmpty())
            return e;
        manifoldNumber(input, i) = *v;
        rest.remove(key(manifoldRanges()[i].key));
    }
    return {};
}

QString readManifold(const QJsonValue& value, std::size_t index, project::Manifold& m) {
    const QString label = manifoldLabel(index, {});
    if (!value.isObject())
        return QStringLiteral("%1应是对象，而不是%2").arg(label, typeName(value));
    const QJsonObject obj = value.toObject();
    if (QString e = readText(obj, "name", "名称", label, kMaxManifoldNameLength, false, m.name);
        !e.isEmpty())
        return e;
    const QString where = manifoldLabel(index, m.name);
    QJsonObject rest = unknownKeys(obj, {"name", "below", "loops"});
    if (QString e = readNumbersOf(obj, where, m.input, rest); !e.isEmpty())
        return e;
    QJsonObject sub;
    bool present = false;
    if (QString e = readObject(obj, "below", "楼板下方", where, sub, present); !e.isEmpty())
        return e;
    QJsonObject belowExtras;
    if (QString e = readBelow(sub, m.manualBelow, where, belowExtras); !e.isEmpty())
        return e;
    if (!belowExtras.isEmpty())
        rest.insert(QStringLiteral("below"), belowExtras);
    QJsonArray loops;
    if (QString e = readArray(obj, "loops", "环路", where, loops, present); !e.isEmpty())
        return e;
    if (QString e = readLoops(loops, where, where + QStringLiteral("的"), m.loops); !e.isEmpty())
        return e;
    m.extraKeys = extraText(rest);
    return {};
}

} // namespace

QString
readManifoldEntries(const QJsonObject& section, const QString& sectionName, project::Project& p,
                    const std::function<QString(const QJsonValue& entry, const QString& where,
                                                project::Manifold& manifold)>& read) {
    QJsonArray manifolds;
    bool present = false;
    if (QString e = readArray(section, "manifolds", "分集水器", sectionName, manifolds, present);
        !e.isEmpty())
        return e;
    if (manifolds.size() > qsizetype(p.manifolds.size()))
        return QStringLiteral("%1有 %2 个分集水器，项目只有 %3 个")
            .arg(sectionName)
            .arg(manifolds.size())
            .arg(p.manifolds.size());
    for (qsizetype i = 0; i < manifolds.size(); ++i) {
        project::Manifold& m = p.manifolds[std::size_t(i)];
        if (QString e =
                read(manifolds[i],
                     sectionName + QStringLiteral("中") + manifoldLabel(std::size_t(i), m.name), m);
            !e.isEmpty())
            return e;
    }
    return {};
}

QString manifoldLabel(std::size_t index, const std::string& name) {
    const QString label = QStringLiteral("第 %1 个分集水器").arg(index + 1);
    return name.empty() ? label
                        : label + QStringLiteral("（%1）").arg(QString::fromStdString(name));
}

QString readManifolds(const QJsonArray& array, std::vector<project::Manifold>& out) {
    if (array.size() > kMaxManifolds)
        return QStringLiteral("项目文件有 %1 个分集水器，超过本程序的上限 %2 个")
            .arg(array.size())
            .arg(kMaxManifolds);
    out.clear();
    for (qsizetype i = 0; i < array.size(); ++i) {
        project::Manifold m;
        if (QString e = readManifold(array[i], std::size_t(i), m); !e.isEmpty())
            return e;
        out.push_back(std::move(m));
    }
    return {};
}

QString writeManifolds(const std::vector<project::Manifold>& manifolds, QJsonArray& out) {
    FirstError error;
    if (manifolds.size() > std::size_t(kMaxManifolds))
        error.note(QStringLiteral("项目有 %1 个分集水器，超过 %2 个")
                       .arg(manifolds.size())
                       .arg(kMaxManifolds));
    out = {};
    for (std::size_t i = 0; i < manifolds.size(); ++i) {
        const project::Manifold& m = manifolds[i];
        const QString where = manifoldLabel(i, m.name);
        error.note(checkText(m.name, "名称", where, kMaxManifoldNameLength));
        if (m.loops.size() > std::size_t(kMaxLoops))
            error.note(QStringLiteral("%1有 %2 个环路，超过 %3 个，不能保存")
                           .arg(where)
                           .arg(m.loops.size())
                           .arg(kMaxLoops));
        QJsonObject obj;
        obj.insert(QStringLiteral("name"), QString::fromStdString(m.name));
        for (int n = 0; n < kManifoldNumberCount; ++n) {
            const double v = manifoldNumber(m.input, n);
            error.note(checkNumber(manifoldRanges()[n], false, v, where));
            obj.insert(key(manifoldRanges()[n].key), v);
        }
        QJsonObject below;
        error.note(writeBelow(m.manualBelow, where, below));
        obj.insert(QStringLiteral("below"), below);
        QJsonArray loops;
        for (std::size_t l = 0; l < m.loops.size(); ++l) {
            const LoopInput& input = m.loops[l].input;
            const QString name = QString::fromStdString(input.name);
            const QString at = where + QStringLiteral("的") + loopLabel(int(l) + 1, name);
            if (name.size() > kMaxLoopNameLength)
                error.note(
                    QStringLiteral("%1的名称超过 %2 个字符").arg(at).arg(kMaxLoopNameLength));
            QJsonObject loop;
            loop.insert(key(kLoopNameKey), name);
            for (int n = 0; n < kLoopNumberCount; ++n)
                if (const std::optional<double> v = loopNumber(input, n)) {
                    error.note(checkNumber(loopRanges()[n], false, *v, at));
                    loop.insert(key(loopRanges()[n].key), *v);
                }
            loops.append(mergeExtras(loop, extraObject(m.loops[l].extraKeys)));
        }
        obj.insert(QStringLiteral("loops"), loops);
        out.append(mergeExtras(obj, extraObject(m.extraKeys)));
    }
    return error.text;
}

QString readVersion1Manifold(const QJsonObject& manifold, const QJsonArray& loops,
                             project::Manifold& out) {
    QJsonObject rest = manifold;
    if (QString e = readNumbersOf(manifold, QStringLiteral("分集水器"), out.input, rest);
        !e.isEmpty())
        return e;
    out.extraKeys = extraText(rest);
    return readLoops(loops, QStringLiteral("项目文件"), QString(), out.loops);
}

} // namespace zorva::io
