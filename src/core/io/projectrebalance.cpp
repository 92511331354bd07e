// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/projectrebalance.h"

#include "core/hydraulics/valve.h"
#include "core/io/jsonfields.h"
#include "core/io/projectmanifolds.h"

#include <QJsonArray>

#include <array>

namespace zorva::io {

namespace {

using namespace json;
using project::LoopMeasurement;
using project::RebalanceInputs;

constexpr int kMaxNameLength = 200;
// More measured loops than any manifold has outlets.
constexpr qsizetype kMaxMeasurements = 10000;
constexpr double kSetting = hydraulics::kMaxValveSetting;

const QString kSection = QStringLiteral("项目文件的“调试后平衡”（rebalance）");

const std::array<Number<LoopMeasurement>, 6> kLoopNumbers{{
    plain<LoopMeasurement, &LoopMeasurement::supplyTemp>(
        {"supplyTemp", "实测供水温度", "℃", 0, 100, false}, Presence::Required),
    plain<LoopMeasurement, &LoopMeasurement::returnTemp>(
        {"returnTemp", "实测回水温度", "℃", 0, 100, false}, Presence::Required),
    optional<LoopMeasurement, &LoopMeasurement::flowLpm>(
        {"flow", "实测流量", "l/min", 0.001, 1000, true}),
    optional<LoopMeasurement, &LoopMeasurement::roomTemp>(
        {"roomTemp", "实测室内温度", "℃", -50, 50, true}),
    optional<LoopMeasurement, &LoopMeasurement::settingBefore>(
        {"settingBefore", "测量时的预设定值", "", -kSetting, kSetting, true}),
    optional<LoopMeasurement, &LoopMeasurement::settingAfter>(
        {"settingAfter", "平衡后的预设定值", "", -kSetting, kSetting, true}),
}};

const std::array<Number<RebalanceInputs>, 1> kManifoldNumbers{{
    plain<RebalanceInputs, &RebalanceInputs::tolerance>(
        {"tolerance", "散热量允许偏差", "", 0, 1, true}),
}};

QString refuseUnknown(const QJsonObject& obj, std::initializer_list<const char*> known,
                      const QString& where) {
    const QJsonObject rest = unknownKeys(obj, known);
    if (rest.isEmpty())
        return {};
    return QStringLiteral("%1有本程序不认识的键“%2”").arg(where, rest.keys().first().left(40));
}

QString readManifold(const QJsonValue& value, const QString& where, RebalanceInputs& in) {
    if (!value.isObject())
        return QStringLiteral("%1应是对象，而不是%2").arg(where, typeName(value));
    const QJsonObject obj = value.toObject();
    if (QString e = refuseUnknown(obj, {"tolerance", "loops"}, where); !e.isEmpty())
        return e;
    in = {};
    if (QString e = readNumbers<RebalanceInputs>(obj, kManifoldNumbers, in, where); !e.isEmpty())
        return e;
    QJsonArray loops;
    bool present = false;
    if (QString e = readArray(obj, "loops", "环路", where, loops, present); !e.isEmpty())
        return e;
    if (loops.size() > kMaxMeasurements)
        return QStringLiteral("%1的环路多于 %2 个").arg(where).arg(kMaxMeasurements);
    for (qsizetype i = 0; i < loops.size(); ++i) {
        const QString at = where + QStringLiteral("的第 %1 个环路").arg(i + 1);
        if (!loops[i].isObject())
            return QStringLiteral("%1应是对象，而不是%2").arg(at, typeName(loops[i]));
        const QJsonObject loop = loops[i].toObject();
        if (QString e = refuseUnknown(loop,
                                      {"loop", "supplyTemp", "returnTemp", "flow", "roomTemp",
                                       "settingBefore", "settingAfter"},
                                      at);
            !e.isEmpty())
            return e;
        LoopMeasurement m;
        if (QString e = readText(loop, "loop", "环路名称", at, kMaxNameLength, true, m.loop);
            !e.isEmpty())
            return e;
        if (m.loop.empty())
            return at + QStringLiteral("的“环路名称”（loop）为空");
        if (QString e = readNumbers<LoopMeasurement>(loop, kLoopNumbers, m, at); !e.isEmpty())
            return e;
        if (project::measurementOf(in, m.loop))
            return QStringLiteral("%1：环路“%2”已有测量值").arg(at, QString::fromStdString(m.loop));
        in.loops.push_back(std::move(m));
    }
    return {};
}

QJsonObject manifoldObject(const RebalanceInputs& in, const QString& where, FirstError& error) {
    QJsonObject obj;
    writeNumbers<RebalanceInputs>(obj, kManifoldNumbers, in);
    error.note(checkNumbers<RebalanceInputs>(kManifoldNumbers, in, where));
    QJsonArray loops;
    for (const LoopMeasurement& m : in.loops) {
        QJsonObject loop{{"loop", QString::fromStdString(m.loop)}};
        error.note(checkText(m.loop, "环路名称", where, kMaxNameLength));
        if (m.loop.empty())
            error.note(where + QStringLiteral("有环路名称为空的测量值"));
        writeNumbers<LoopMeasurement>(loop, kLoopNumbers, m);
        error.note(checkNumbers<LoopMeasurement>(kLoopNumbers, m, where));
        loops.append(loop);
    }
    obj.insert(QStringLiteral("loops"), loops);
    return obj;
}

} // namespace

QString readRebalanceSection(const QJsonObject& top, project::Project& p) {
    QJsonObject section;
    bool present = false;
    if (QString e = readObject(top, "rebalance", "调试后平衡", QStringLiteral("项目文件"), section,
                               present);
        !e.isEmpty() || !present)
        return e;
    if (QString e = refuseUnknown(section, {"manifolds"}, kSection); !e.isEmpty())
        return e;
    if (QString e = readManifoldEntries(
            section, kSection, p,
            [](const QJsonValue& entry, const QString& where, project::Manifold& m) {
                return readManifold(entry, where, m.rebalance);
            });
        !e.isEmpty())
        return e;
    return {};
}

QString writeRebalanceSection(const project::Project& p, QJsonObject& top) {
    // Manifolds up to the last one that measured something.
    std::size_t count = 0;
    for (std::size_t i = 0; i < p.manifolds.size(); ++i)
        if (!project::isDefault(p.manifolds[i].rebalance))
            count = i + 1;
    if (count == 0)
        return {};
    FirstError error;
    QJsonArray manifolds;
    for (std::size_t i = 0; i < count; ++i)
        manifolds.append(manifoldObject(
            p.manifolds[i].rebalance,
            kSection + QStringLiteral("中") + manifoldLabel(i, p.manifolds[i].name), error));
    top.insert(QStringLiteral("rebalance"), QJsonObject{{"manifolds", manifolds}});
    return error.text;
}

} // namespace zorva::io
