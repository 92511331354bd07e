// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/projectrooms.h"

#include "core/io/jsonfields.h"
#include "core/io/projectbelow.h"
#include "core/io/projectenvelope.h"
#include "core/io/projectmanifolds.h"
#include "core/rooms/roomdesign.h"

#include <array>

namespace zorva::io {

namespace {

using namespace json;
using project::Room;

constexpr int kMaxRoomNameLength = 200;

constexpr std::pair<const char*, RoomCategory> kCategories[] = {
    {"longStay", RoomCategory::LongStay},     {"shortStay", RoomCategory::ShortStay},
    {"unoccupied", RoomCategory::Unoccupied}, {"residential", RoomCategory::Residential},
    {"bathroom", RoomCategory::Bathroom},     {"peripheral", RoomCategory::Peripheral}};
const Choice<Room, RoomCategory> kCategory{"category", "房间类别", kCategories, Presence::Defaulted,
                                           &Room::category};

const std::array<Number<Room>, 7> kNumbers{{
    plain<Room, &Room::indoorTemp>({"indoorTemp", "室内温度", "℃", -50, 50, false},
                                   Presence::Required),
    plain<Room, &Room::floorArea>({"floorArea", "房间面积", "m²", 0.01, 100000, false},
                                  Presence::Required),
    plain<Room, &Room::heatedArea>({"heatedArea", "敷设面积", "m²", 0.01, 100000, false},
                                   Presence::Required),
    plain<Room, &Room::coveringResistance>({"covering", "地面覆盖层热阻", "m²·K/W", 0, 1, true}),
    plain<Room, &Room::leaderLength>({"leaderLength", "连接管长度", "m", 0, 1000, true}),
    optional<Room, &Room::typedLoad>({"load", "热负荷", "W", 0, 1e7, true}),
    {{"manifold", "分集水器序号", "", 0, kMaxManifolds - 1, true},
     Presence::Defaulted,
     true,
     [](const Room& r) -> std::optional<double> { return double(r.manifold); },
     [](Room& r, std::optional<double> v) {
         if (v)
             r.manifold = std::size_t(*v);
     }},
}};

const std::array<Number<rooms::PeripheralZone>, 3> kZone{{
    plain<rooms::PeripheralZone, &rooms::PeripheralZone::width>(
        {"width", "边缘区宽度", "m", 0.01, 10, false}, Presence::Required),
    plain<rooms::PeripheralZone, &rooms::PeripheralZone::length>(
        {"length", "边缘区长度", "m", 0.01, 10000, false}, Presence::Required),
    plain<rooms::PeripheralZone, &rooms::PeripheralZone::spacing>(
        {"spacing", "边缘区管间距", "m", 0.01, 1, false}, Presence::Required),
}};

const std::array<Number<rooms::RoomOverrides>, 2> kOverrides{{
    optional<rooms::RoomOverrides, &rooms::RoomOverrides::spacing>(
        {"spacing", "指定管间距", "m", 0.01, 1, true}),
    {{"loopCount", "指定环路数", "", 1, rooms::kMaxLoopsPerRoom, true},
     Presence::Nullable,
     true,
     [](const rooms::RoomOverrides& o) -> std::optional<double> {
         return o.loopCount ? std::optional<double>(*o.loopCount) : std::nullopt;
     },
     [](rooms::RoomOverrides& o, std::optional<double> v) {
         o.loopCount = v ? std::optional<int>(int(*v)) : std::nullopt;
     }},
}};
const NumberRange kLength{"loopLengths", "指定环路长度", "m", 0.1, 1000, true};

QString readOverrides(const QJsonObject& obj, rooms::RoomOverrides& o, const QString& where,
                      QJsonObject& extras) {
    const QString at = where + QStringLiteral("的指定值（overrides）");
    if (QString e = readNumbers<rooms::RoomOverrides>(obj, kOverrides, o, at); !e.isEmpty())
        return e;
    QJsonArray lengths;
    bool present = false;
    if (QString e = readArray(obj, kLength.key, kLength.name, at, lengths, present); !e.isEmpty())
        return e;
    if (lengths.size() > rooms::kMaxLoopsPerRoom)
        return QStringLiteral("%1的“%2”多于 %3 个")
            .arg(at, QString::fromUtf8(kLength.name))
            .arg(rooms::kMaxLoopsPerRoom);
    o.loopLengths.clear();
    for (qsizetype i = 0; i < lengths.size(); ++i) {
        const QJsonValue v = lengths[i];
        const QString loopAt = at + QStringLiteral("第 %1 个环路").arg(i + 1);
        if (v.isNull()) {
            o.loopLengths.emplace_back();
            continue;
        }
        if (!v.isDouble())
            return wrongType(loopAt, kLength.name, kLength.key, QStringLiteral("数字或 null"), v);
        if (QString e = checkNumber(kLength, false, v.toDouble(), loopAt); !e.isEmpty())
            return e;
        o.loopLengths.emplace_back(v.toDouble());
    }
    extras = unknownKeys(obj, {"spacing", "loopCount", "loopLengths"});
    return {};
}

QString writeOverrides(const rooms::RoomOverrides& o, const QString& where, QJsonObject& out) {
    FirstError error;
    error.note(checkNumbers<rooms::RoomOverrides>(kOverrides, o, where));
    if (o.loopLengths.size() > std::size_t(rooms::kMaxLoopsPerRoom))
        error.note(
            QStringLiteral("%1的指定环路长度多于 %2 个").arg(where).arg(rooms::kMaxLoopsPerRoom));
    out = {};
    writeNumbers<rooms::RoomOverrides>(out, kOverrides, o);
    if (!o.loopLengths.empty()) {
        QJsonArray lengths;
        for (const std::optional<double>& l : o.loopLengths) {
            if (l)
                error.note(checkNumber(kLength, false, *l, where));
            lengths.append(l ? QJsonValue(*l) : QJsonValue());
        }
        out.insert(QStringLiteral("loopLengths"), lengths);
    }
    return error.text;
}

// A member object read by `read`; its unknown keys nest in `extras`.
template <typename Read>
QString member(const QJsonObject& obj, const char* k, const char* name, const QString& where,
               QJsonObject& extras, Read read) {
    QJsonObject sub;
    bool present = false;
    if (QString e = readObject(obj, k, name, where, sub, present); !e.isEmpty())
        return e;
    if (!present)
        return {};
    QJsonObject subExtras;
    if (QString e = read(sub, subExtras); !e.isEmpty())
        return e;
    if (!subExtras.isEmpty())
        extras.insert(key(k), subExtras);
    return {};
}

QString readRoom(const QJsonValue& value, std::size_t index, std::size_t manifolds, Room& r) {
    if (!value.isObject())
        return QStringLiteral("%1应是对象，而不是%2").arg(roomLabel(index, {}), typeName(value));
    const QJsonObject obj = value.toObject();
    if (QString e =
            readText(obj, "name", "名称", roomLabel(index, {}), kMaxRoomNameLength, true, r.name);
        !e.isEmpty())
        return e;
    const QString where = roomLabel(index, r.name);
    if (QString e = readNumbers<Room>(obj, kNumbers, r, where); !e.isEmpty())
        return e;
    if (r.manifold >= manifolds)
        return QStringLiteral("%1的“分集水器序号”（manifold）%2 不对应任何分集水器（项目有 %3 "
                              "个，序号从 0 开始）")
            .arg(where)
            .arg(r.manifold)
            .arg(manifolds);
    if (QString e = readChoice(obj, kCategory, r, where); !e.isEmpty())
        return e;
    QJsonObject extras = unknownKeys(
        obj, {"name", "indoorTemp", "floorArea", "heatedArea", "covering", "leaderLength", "load",
              "manifold", "category", "below", "peripheral", "overrides", "envelope"});
    if (QString e = member(
            obj, "below", "楼板下方", where, extras,
            [&](const QJsonObject& o, QJsonObject& x) { return readBelow(o, r.below, where, x); });
        !e.isEmpty())
        return e;
    if (QString e = member(obj, "peripheral", "边缘区", where, extras,
                           [&](const QJsonObject& o, QJsonObject& x) {
                               r.peripheral.emplace();
                               x = unknownKeys(o, {"width", "length", "spacing"});
                               return readNumbers<rooms::PeripheralZone>(
                                   o, kZone, *r.peripheral,
                                   where + QStringLiteral("的边缘区（peripheral）"));
                           });
        !e.isEmpty())
        return e;
    if (QString e = member(obj, "overrides", "指定值", where, extras,
                           [&](const QJsonObject& o, QJsonObject& x) {
                               return readOverrides(o, r.overrides, where, x);
                           });
        !e.isEmpty())
        return e;
    if (QString e = member(obj, "envelope", "围护结构", where, extras,
                           [&](const QJsonObject& o, QJsonObject& x) {
                               r.envelope.emplace();
                               return readEnvelope(o, *r.envelope, where, x);
                           });
        !e.isEmpty())
        return e;
    r.extraKeys = extraText(extras);
    return {};
}

} // namespace

const NumberRange& roomNumberRange(const char* k) {
    for (const Number<Room>& f : kNumbers)
        if (std::string_view(f.range.key) == k)
            return f.range;
    return kNumbers[0].range;
}

QString roomLabel(std::size_t index, const std::string& name) {
    const QString label = QStringLiteral("第 %1 个房间").arg(index + 1);
    return name.empty() ? label
                        : label + QStringLiteral("（%1）").arg(QString::fromStdString(name));
}

QString readRooms(const QJsonArray& array, std::size_t manifolds, std::vector<Room>& out) {
    if (array.size() > kMaxRooms)
        return QStringLiteral("项目文件有 %1 个房间，超过本程序的上限 %2 个")
            .arg(array.size())
            .arg(kMaxRooms);
    out.clear();
    for (qsizetype i = 0; i < array.size(); ++i) {
        Room r;
        if (QString e = readRoom(array[i], std::size_t(i), manifolds, r); !e.isEmpty())
            return e;
        out.push_back(std::move(r));
    }
    return {};
}

QString writeRooms(const std::vector<Room>& rooms, std::size_t manifolds, QJsonArray& out) {
    FirstError error;
    if (rooms.size() > std::size_t(kMaxRooms))
        error.note(QStringLiteral("项目有 %1 个房间，超过 %2 个").arg(rooms.size()).arg(kMaxRooms));
    out = {};
    for (std::size_t i = 0; i < rooms.size(); ++i) {
        const Room& r = rooms[i];
        const QString where = roomLabel(i, r.name);
        error.note(checkText(r.name, "名称", where, kMaxRoomNameLength));
        if (r.name.empty())
            error.note(missing(where, "名称", "name"));
        error.note(checkNumbers<Room>(kNumbers, r, where));
        if (r.manifold >= manifolds)
            error.note(QStringLiteral("%1没有对应的分集水器").arg(where));
        QJsonObject obj;
        obj.insert(QStringLiteral("name"), QString::fromStdString(r.name));
        writeNumbers<Room>(obj, kNumbers, r);
        writeChoice(obj, kCategory, r);
        QJsonObject sub;
        error.note(writeBelow(r.below, where, sub));
        obj.insert(QStringLiteral("below"), sub);
        if (r.peripheral) {
            error.note(checkNumbers<rooms::PeripheralZone>(kZone, *r.peripheral, where));
            sub = {};
            writeNumbers<rooms::PeripheralZone>(sub, kZone, *r.peripheral);
            obj.insert(QStringLiteral("peripheral"), sub);
        }
        error.note(writeOverrides(r.overrides, where, sub));
        if (!sub.isEmpty())
            obj.insert(QStringLiteral("overrides"), sub);
        if (r.envelope) {
            error.note(writeEnvelope(*r.envelope, where, sub));
            obj.insert(QStringLiteral("envelope"), sub);
        }
        out.append(mergeExtras(obj, extraObject(r.extraKeys)));
    }
    return error.text;
}

} // namespace zorva::io
