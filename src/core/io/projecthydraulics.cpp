// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/projecthydraulics.h"

#include "core/io/jsonfields.h"
#include "core/io/projectmanifolds.h"
#include "core/io/projectrooms.h"
#include "core/io/valvefile.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>

#include <array>

namespace zorva::io {

namespace {

using namespace json;
using project::ConnectionPipeInput;
using project::ManifoldHydraulicsInputs;
using project::MixingStationInput;
using project::RoomMaterialsInputs;

constexpr int kMaxFileNameLength = 1000;
constexpr int kMaxRollLengths = 32;

const QString kSection = QStringLiteral("项目文件的“水力与材料”（hydraulics）");

const std::array<Number<ManifoldHydraulicsInputs>, 3> kManifoldNumbers{{
    plain<ManifoldHydraulicsInputs, &ManifoldHydraulicsInputs::connectionDropKpa>(
        {"connectionDrop", "连接管压降", "kPa", 0, 1000, true}),
    plain<ManifoldHydraulicsInputs, &ManifoldHydraulicsInputs::bodyKv>(
        {"bodyKv", "分集水器本体 kv", "m³/h", 0.01, 1000, true}),
    plain<ManifoldHydraulicsInputs, &ManifoldHydraulicsInputs::barInnerDiameter>(
        {"barInnerDiameter", "分集水器内径", "m", 0.005, 1, true}),
}};

const std::array<Number<ConnectionPipeInput>, 3> kPipeNumbers{{
    plain<ConnectionPipeInput, &ConnectionPipeInput::lengthOneWay>(
        {"length", "连接管单程长度", "m", 0, 10000, false}, Presence::Required),
    plain<ConnectionPipeInput, &ConnectionPipeInput::innerDiameter>(
        {"innerDiameter", "连接管内径", "m", 0.005, 1, false}, Presence::Required),
    plain<ConnectionPipeInput, &ConnectionPipeInput::lossCoefficients>(
        {"lossCoefficients", "连接管局部阻力系数之和", "", 0, 1000, true}),
}};

const std::array<Number<MixingStationInput>, 3> kMixingNumbers{{
    plain<MixingStationInput, &MixingStationInput::primarySupplyTemp>(
        {"primarySupplyTemp", "一次侧供水温度", "℃", 0, 100, false}, Presence::Required),
    plain<MixingStationInput, &MixingStationInput::authority>(
        {"authority", "目标阀权度", "", 0.01, 0.99, true}),
    plain<MixingStationInput, &MixingStationInput::primaryVariableDropKpa>(
        {"primaryVariableDrop", "一次侧变流量管路压降", "kPa", 0.01, 1000, true}),
}};

const std::array<Number<hydraulics::MeterRange>, 2> kMeterNumbers{{
    plain<hydraulics::MeterRange, &hydraulics::MeterRange::min>(
        {"min", "流量计量程下限", "l/min", 0, 1000, false}, Presence::Required),
    plain<hydraulics::MeterRange, &hydraulics::MeterRange::max>(
        {"max", "流量计量程上限", "l/min", 0, 1000, false}, Presence::Required),
}};

// The bill's options: counts are whole numbers.
struct Options {
    double loopAllowance = 0, minOutlets = 0, maxOutlets = 0, insulationWaste = 0,
           insulationBoard = 0, edgeStripWaste = 0, edgeStripRoll = 0, clipsPerMetre = 0,
           screedThickness = 0, screedWaste = 0;
};
const std::array<Number<Options>, 10> kOptionNumbers{{
    plain<Options, &Options::loopAllowance>({"loopAllowance", "每环路余量", "m", 0, 100, true}),
    {{"minOutlets", "最小分集水器路数", "", 1, 1000, true},
     Presence::Defaulted,
     true,
     &getPlain<Options, &Options::minOutlets>,
     &setPlain<Options, &Options::minOutlets>},
    {{"maxOutlets", "最大分集水器路数", "", 1, 1000, true},
     Presence::Defaulted,
     true,
     &getPlain<Options, &Options::maxOutlets>,
     &setPlain<Options, &Options::maxOutlets>},
    plain<Options, &Options::insulationWaste>({"insulationWaste", "绝热板损耗率", "", 0, 1, true}),
    plain<Options, &Options::insulationBoard>(
        {"insulationBoard", "每块绝热板面积", "m²", 0, 10000, true}),
    plain<Options, &Options::edgeStripWaste>(
        {"edgeStripWaste", "边界保温带损耗率", "", 0, 1, true}),
    plain<Options, &Options::edgeStripRoll>(
        {"edgeStripRoll", "每卷边界保温带长度", "m", 0, 100000, true}),
    plain<Options, &Options::clipsPerMetre>({"clipsPerMetre", "每米管卡数", "", 0, 100, true}),
    plain<Options, &Options::screedThickness>(
        {"screedThickness", "默认填充层厚度", "mm", 1, 1000, true}),
    plain<Options, &Options::screedWaste>({"screedWaste", "填充层损耗率", "", 0, 1, true}),
}};

Options optionsOf(const materials::BillOptions& b) {
    return {b.loopAllowanceM,    double(b.minOutlets), double(b.maxOutlets), b.insulationWaste,
            b.insulationBoardM2, b.edgeStripWaste,     b.edgeStripRollM,     b.clipsPerMetre,
            b.screedThicknessMm, b.screedWaste};
}

void setOptions(materials::BillOptions& b, const Options& o) {
    b.loopAllowanceM = o.loopAllowance;
    b.minOutlets = std::size_t(o.minOutlets);
    b.maxOutlets = std::size_t(o.maxOutlets);
    b.insulationWaste = o.insulationWaste;
    b.insulationBoardM2 = o.insulationBoard;
    b.edgeStripWaste = o.edgeStripWaste;
    b.edgeStripRollM = o.edgeStripRoll;
    b.clipsPerMetre = o.clipsPerMetre;
    b.screedThicknessMm = o.screedThickness;
    b.screedWaste = o.screedWaste;
}

const std::array<Number<RoomMaterialsInputs>, 2> kRoomNumbers{{
    optional<RoomMaterialsInputs, &RoomMaterialsInputs::perimeter>(
        {"perimeter", "房间周长", "m", 0, 10000, true}),
    optional<RoomMaterialsInputs, &RoomMaterialsInputs::screedThicknessMm>(
        {"screedThickness", "填充层厚度", "mm", 1, 1000, true}),
}};

QString refuseUnknown(const QJsonObject& obj, std::initializer_list<const char*> known,
                      const QString& where) {
    const QJsonObject rest = unknownKeys(obj, known);
    if (rest.isEmpty())
        return {};
    return QStringLiteral("%1有本程序不认识的键“%2”").arg(where, rest.keys().first().left(40));
}

// A list of numbers in [min, max], each followed by the next larger.
QString readRolls(const QJsonArray& array, const QString& where, std::vector<double>& out) {
    if (array.isEmpty() || array.size() > kMaxRollLengths)
        return QStringLiteral("%1的“管材卷长”（rollLengths）应有 1 至 %2 个数")
            .arg(where)
            .arg(kMaxRollLengths);
    out.clear();
    for (const QJsonValue& v : array) {
        if (!v.isDouble() || !(v.toDouble() > 0) || v.toDouble() > materials::kMaxCutLengthM)
            return QStringLiteral("%1的“管材卷长”（rollLengths）应是 0 至 %2 m 之间的正数")
                .arg(where)
                .arg(materials::kMaxCutLengthM);
        out.push_back(v.toDouble());
    }
    return {};
}

QString readValve(const QJsonObject& obj, const QString& where, project::ValveChoice& valve) {
    const QString at = where + QStringLiteral("的阀门（valve）");
    std::string source = "generic";
    if (QString e = readText(obj, "source", "来源", at, 20, false, source); !e.isEmpty())
        return e;
    if (source == "generic") {
        valve = {};
        return refuseUnknown(obj, {"source"}, at);
    }
    if (source == "file") {
        valve.source = project::ValveSource::File;
        if (QString e = readText(obj, "file", "阀门文件", at, kMaxFileNameLength, true, valve.file);
            !e.isEmpty())
            return e;
        if (valve.file.empty())
            return at + QStringLiteral("的“阀门文件”（file）为空");
        return refuseUnknown(obj, {"source", "file"}, at);
    }
    if (source != "table")
        return QStringLiteral("%1的“来源”（source）应是 \"generic\"、\"table\"、\"file\" 之一")
            .arg(at);
    valve.source = project::ValveSource::Table;
    if (QString e = refuseUnknown(obj, {"source", "name", "resolution", "points"}, at);
        !e.isEmpty())
        return e;
    QJsonObject copy = obj;
    copy.remove(QStringLiteral("source"));
    copy.insert(QStringLiteral("format"), QStringLiteral("zorva-valve"));
    const ValveFileRead read = readValveFile(QJsonDocument(copy).toJson(QJsonDocument::Compact));
    if (!read)
        return at + QStringLiteral("：") + read.problem().message;
    valve.table = *read;
    return {};
}

QJsonObject valveObject(const project::ValveChoice& valve) {
    switch (valve.source) {
    case project::ValveSource::Generic:
        return {{"source", QStringLiteral("generic")}};
    case project::ValveSource::File:
        return {{"source", QStringLiteral("file")}, {"file", QString::fromStdString(valve.file)}};
    case project::ValveSource::Table:
        break;
    }
    QJsonArray points;
    for (std::size_t i = 0; i < valve.table.settings.size() && i < valve.table.kv.size(); ++i)
        points.append(QJsonObject{{"setting", valve.table.settings[i]}, {"kv", valve.table.kv[i]}});
    return {{"source", QStringLiteral("table")},
            {"name", QString::fromStdString(valve.table.name)},
            {"resolution", valve.table.resolution},
            {"points", points}};
}

QString readManifold(const QJsonValue& value, const QString& where, ManifoldHydraulicsInputs& h) {
    if (!value.isObject())
        return QStringLiteral("%1应是对象，而不是%2").arg(where, typeName(value));
    const QJsonObject obj = value.toObject();
    if (QString e = refuseUnknown(obj,
                                  {"valve", "connectionDrop", "connectionPipes", "bodyKv",
                                   "barInnerDiameter", "pumpCurve", "mixing", "meterRange"},
                                  where);
        !e.isEmpty())
        return e;
    h = {};
    if (QString e = readNumbers<ManifoldHydraulicsInputs>(obj, kManifoldNumbers, h, where);
        !e.isEmpty())
        return e;
    QJsonObject sub;
    bool present = false;
    if (QString e = readObject(obj, "valve", "阀门", where, sub, present); !e.isEmpty())
        return e;
    if (present)
        if (QString e = readValve(sub, where, h.valve); !e.isEmpty())
            return e;
    if (QString e = readObject(obj, "connectionPipes", "连接管", where, sub, present); !e.isEmpty())
        return e;
    if (present) {
        const QString at = where + QStringLiteral("的连接管（connectionPipes）");
        ConnectionPipeInput pipes;
        if (QString e = refuseUnknown(sub, {"length", "innerDiameter", "lossCoefficients"}, at);
            !e.isEmpty())
            return e;
        if (QString e = readNumbers<ConnectionPipeInput>(sub, kPipeNumbers, pipes, at);
            !e.isEmpty())
            return e;
        h.pipes = pipes;
    }
    if (QString e = readObject(obj, "mixing", "混水装置", where, sub, present); !e.isEmpty())
        return e;
    if (present) {
        const QString at = where + QStringLiteral("的混水装置（mixing）");
        MixingStationInput mixing;
        if (QString e = refuseUnknown(
                sub,
                {"primarySupplyTemp", "authority", "primaryVariableDrop", "valveInPumpCircuit"},
                at);
            !e.isEmpty())
            return e;
        if (QString e = readNumbers<MixingStationInput>(sub, kMixingNumbers, mixing, at);
            !e.isEmpty())
            return e;
        if (QString e = readBool(sub, "valveInPumpCircuit", "混水阀在循环泵回路中", at,
                                 mixing.valveInPumpCircuit);
            !e.isEmpty())
            return e;
        h.mixing = mixing;
    }
    if (QString e = readObject(obj, "meterRange", "流量计量程", where, sub, present); !e.isEmpty())
        return e;
    if (present) {
        const QString at = where + QStringLiteral("的流量计量程（meterRange）");
        hydraulics::MeterRange range;
        if (QString e = refuseUnknown(sub, {"min", "max"}, at); !e.isEmpty())
            return e;
        if (QString e = readNumbers<hydraulics::MeterRange>(sub, kMeterNumbers, range, at);
            !e.isEmpty())
            return e;
        if (range.max <= range.min)
            return at + QStringLiteral("的上限应大于下限");
        h.meterRange = range;
    }
    QJsonArray curve;
    if (QString e = readArray(obj, "pumpCurve", "水泵曲线", where, curve, present); !e.isEmpty())
        return e;
    if (curve.size() > qsizetype(hydraulics::kMaxPumpCurvePoints))
        return QStringLiteral("%1的水泵曲线多于 %2 个点")
            .arg(where)
            .arg(hydraulics::kMaxPumpCurvePoints);
    for (qsizetype i = 0; i < curve.size(); ++i) {
        const QString at = where + QStringLiteral("的水泵曲线第 %1 点").arg(i + 1);
        const QJsonObject point = curve[i].toObject();
        const QJsonValue flow = point.value(QStringLiteral("flow"));
        const QJsonValue head = point.value(QStringLiteral("head"));
        if (!curve[i].isObject() || point.size() != 2 || !flow.isDouble() || !head.isDouble() ||
            flow.toDouble() < 0 || head.toDouble() < 0 || flow.toDouble() > 1e4 ||
            head.toDouble() > 1e4)
            return at + QStringLiteral("应是 {\"flow\": m³/h, \"head\": kPa}，两者为不超过 10000 "
                                       "的非负数");
        if (i > 0 && !(flow.toDouble() > h.pumpCurve.back().flowM3h))
            return at + QStringLiteral("的流量应大于前一点");
        h.pumpCurve.push_back({flow.toDouble(), head.toDouble()});
    }
    if (curve.size() == 1)
        return where + QStringLiteral("的水泵曲线至少需要 2 个点");
    return {};
}

QJsonObject manifoldObject(const ManifoldHydraulicsInputs& h, const QString& where,
                           FirstError& error) {
    QJsonObject obj;
    writeNumbers<ManifoldHydraulicsInputs>(obj, kManifoldNumbers, h);
    error.note(checkNumbers<ManifoldHydraulicsInputs>(kManifoldNumbers, h, where));
    obj.insert(QStringLiteral("valve"), valveObject(h.valve));
    if (h.valve.source == project::ValveSource::Table &&
        !hydraulics::checkCharacteristic(h.valve.table).ok())
        error.note(where + QStringLiteral("的阀门特性表不合规则"));
    if (h.pipes) {
        QJsonObject pipes;
        writeNumbers<ConnectionPipeInput>(pipes, kPipeNumbers, *h.pipes);
        error.note(checkNumbers<ConnectionPipeInput>(kPipeNumbers, *h.pipes, where));
        obj.insert(QStringLiteral("connectionPipes"), pipes);
    }
    if (h.mixing) {
        QJsonObject mixing;
        writeNumbers<MixingStationInput>(mixing, kMixingNumbers, *h.mixing);
        error.note(checkNumbers<MixingStationInput>(kMixingNumbers, *h.mixing, where));
        mixing.insert(QStringLiteral("valveInPumpCircuit"), h.mixing->valveInPumpCircuit);
        obj.insert(QStringLiteral("mixing"), mixing);
    }
    if (h.meterRange) {
        QJsonObject range;
        writeNumbers<hydraulics::MeterRange>(range, kMeterNumbers, *h.meterRange);
        error.note(checkNumbers<hydraulics::MeterRange>(kMeterNumbers, *h.meterRange, where));
        obj.insert(QStringLiteral("meterRange"), range);
    }
    if (!h.pumpCurve.empty()) {
        QJsonArray curve;
        for (const hydraulics::PumpCurvePoint& p : h.pumpCurve)
            curve.append(QJsonObject{{"flow", p.flowM3h}, {"head", p.headKpa}});
        obj.insert(QStringLiteral("pumpCurve"), curve);
    }
    return obj;
}

QString readMaterials(const QJsonObject& obj, project::MaterialsInputs& m) {
    const QString where = kSection + QStringLiteral("的材料（materials）");
    if (QString e =
            refuseUnknown(obj,
                          {"rollLengths", "splitOversize", "loopAllowance", "minOutlets",
                           "maxOutlets", "insulationWaste", "insulationBoard", "edgeStripWaste",
                           "edgeStripRoll", "clipsPerMetre", "screedThickness", "screedWaste"},
                          where);
        !e.isEmpty())
        return e;
    QJsonArray rolls;
    bool present = false;
    if (QString e = readArray(obj, "rollLengths", "管材卷长", where, rolls, present); !e.isEmpty())
        return e;
    if (present)
        if (QString e = readRolls(rolls, where, m.bill.rollLengthsM); !e.isEmpty())
            return e;
    if (QString e = readBool(obj, "splitOversize", "超出路数时拆分", where, m.bill.splitOversize);
        !e.isEmpty())
        return e;
    Options o = optionsOf(m.bill);
    if (QString e = readNumbers<Options>(obj, kOptionNumbers, o, where); !e.isEmpty())
        return e;
    if (o.maxOutlets < o.minOutlets)
        return where + QStringLiteral("的最大路数应不小于最小路数");
    setOptions(m.bill, o);
    return {};
}

} // namespace

QString readHydraulicsSection(const QJsonObject& top, project::Project& p) {
    QJsonObject section;
    bool present = false;
    if (QString e = readObject(top, "hydraulics", "水力与材料", QStringLiteral("项目文件"), section,
                               present);
        !e.isEmpty() || !present)
        return e;
    if (QString e = refuseUnknown(section, {"manifolds", "materials", "rooms"}, kSection);
        !e.isEmpty())
        return e;
    if (QString e = readManifoldEntries(
            section, kSection, p,
            [](const QJsonValue& entry, const QString& where, project::Manifold& m) {
                return readManifold(entry, where, m.hydraulics);
            });
        !e.isEmpty())
        return e;
    QJsonObject materials;
    if (QString e = readObject(section, "materials", "材料", kSection, materials, present);
        !e.isEmpty())
        return e;
    if (QString e = readMaterials(materials, p.settings.materials); !e.isEmpty())
        return e;
    QJsonArray rooms;
    if (QString e = readArray(section, "rooms", "房间", kSection, rooms, present); !e.isEmpty())
        return e;
    if (rooms.size() > qsizetype(p.rooms.size()))
        return QStringLiteral("%1有 %2 个房间，项目只有 %3 个")
            .arg(kSection)
            .arg(rooms.size())
            .arg(p.rooms.size());
    for (qsizetype i = 0; i < rooms.size(); ++i) {
        project::Room& room = p.rooms[std::size_t(i)];
        const QString where =
            kSection + QStringLiteral("中") + roomLabel(std::size_t(i), room.name);
        if (!rooms[i].isObject())
            return QStringLiteral("%1应是对象，而不是%2").arg(where, typeName(rooms[i]));
        const QJsonObject obj = rooms[i].toObject();
        if (QString e = refuseUnknown(obj, {"perimeter", "screedThickness", "thermostat"}, where);
            !e.isEmpty())
            return e;
        if (QString e = readNumbers<RoomMaterialsInputs>(obj, kRoomNumbers, room.materials, where);
            !e.isEmpty())
            return e;
        if (QString e = readBool(obj, "thermostat", "房间温控器", where, room.materials.thermostat);
            !e.isEmpty())
            return e;
    }
    return {};
}

QString writeHydraulicsSection(const project::Project& p, QJsonObject& top) {
    bool anyManifold = false, anyRoom = false;
    for (const project::Manifold& m : p.manifolds)
        anyManifold = anyManifold || !project::isDefault(m.hydraulics);
    for (const project::Room& r : p.rooms)
        anyRoom = anyRoom || !project::isDefault(r.materials);
    const bool materials = !project::isDefault(p.settings.materials);
    if (!anyManifold && !anyRoom && !materials)
        return {};
    FirstError error;
    QJsonObject section;
    if (anyManifold) {
        QJsonArray manifolds;
        for (std::size_t i = 0; i < p.manifolds.size(); ++i)
            manifolds.append(manifoldObject(
                p.manifolds[i].hydraulics,
                kSection + QStringLiteral("中") + manifoldLabel(i, p.manifolds[i].name), error));
        section.insert(QStringLiteral("manifolds"), manifolds);
    }
    if (materials) {
        const materials::BillOptions& b = p.settings.materials.bill;
        QJsonObject obj;
        QJsonArray rolls;
        for (double r : b.rollLengthsM)
            rolls.append(r);
        obj.insert(QStringLiteral("rollLengths"), rolls);
        if (b.rollLengthsM.empty() || b.rollLengthsM.size() > std::size_t(kMaxRollLengths))
            error.note(kSection + QStringLiteral("的管材卷长应有 1 至 32 个"));
        obj.insert(QStringLiteral("splitOversize"), b.splitOversize);
        const Options o = optionsOf(b);
        writeNumbers<Options>(obj, kOptionNumbers, o);
        error.note(checkNumbers<Options>(kOptionNumbers, o, kSection));
        section.insert(QStringLiteral("materials"), obj);
    }
    if (anyRoom) {
        QJsonArray rooms;
        for (std::size_t i = 0; i < p.rooms.size(); ++i) {
            const RoomMaterialsInputs& m = p.rooms[i].materials;
            QJsonObject obj;
            writeNumbers<RoomMaterialsInputs>(obj, kRoomNumbers, m);
            error.note(checkNumbers<RoomMaterialsInputs>(
                kRoomNumbers, m, kSection + QStringLiteral("中") + roomLabel(i, p.rooms[i].name)));
            obj.insert(QStringLiteral("thermostat"), m.thermostat);
            rooms.append(obj);
        }
        section.insert(QStringLiteral("rooms"), rooms);
    }
    top.insert(QStringLiteral("hydraulics"), section);
    return error.text;
}

QStringList loadValveFiles(project::Project& p, const QString& folder) {
    QStringList problems;
    for (std::size_t i = 0; i < p.manifolds.size(); ++i) {
        project::ValveChoice& valve = p.manifolds[i].hydraulics.valve;
        if (valve.source != project::ValveSource::File)
            continue;
        valve.table = {};
        const QString path = QDir(folder).absoluteFilePath(QString::fromStdString(valve.file));
        const ValveFileRead read = readValveFilePath(path);
        if (read)
            valve.table = *read;
        else
            problems << QStringLiteral("%1的阀门文件“%2”：%3")
                            .arg(manifoldLabel(i, p.manifolds[i].name),
                                 QString::fromStdString(valve.file), read.problem().message);
    }
    return problems;
}

} // namespace zorva::io
