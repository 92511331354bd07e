// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/projectcooling.h"

#include "core/io/jsonfields.h"
#include "core/io/projectmanifolds.h"
#include "core/io/projectrooms.h"

#include <array>

namespace zorva::io {

namespace {

using namespace json;
using project::CoolingSettings;
using project::ManifoldCooling;
using project::RoomCooling;
using project::Season;

const QString kCooling = QStringLiteral("cooling");

constexpr std::pair<const char*, Season> kSeasons[] = {
    {"heating", Season::Heating}, {"cooling", Season::Cooling}, {"both", Season::Both}};
const Choice<CoolingSettings, Season> kSeason{"season", "设计季节", kSeasons, Presence::Defaulted,
                                              &CoolingSettings::season};
constexpr std::pair<const char*, cooling::Occupancy> kOccupancies[] = {
    {"standing", cooling::Occupancy::Standing},
    {"seated", cooling::Occupancy::Seated},
    {"transit", cooling::Occupancy::Transit}};
const Choice<RoomCooling, cooling::Occupancy> kOccupancy{"occupancy", "人员活动（地面温度下限）",
                                                         kOccupancies, Presence::Defaulted,
                                                         &RoomCooling::occupancy};

const std::array<Number<CoolingSettings>, 1> kSettings{{
    plain<CoolingSettings, &CoolingSettings::dewMargin>(
        {"dewMargin", "防结露安全余量", "K", 1, 10, true}),
}};
const std::array<Number<ManifoldCooling>, 2> kWater{{
    plain<ManifoldCooling, &ManifoldCooling::supplyTemp>(
        {"supplyTemp", "供冷供水温度", "℃", 4.5, 40, true}),
    plain<ManifoldCooling, &ManifoldCooling::returnTemp>(
        {"returnTemp", "供冷回水温度", "℃", 4.5, 40, true}),
}};
const std::array<Number<RoomCooling>, 3> kRoom{{
    plain<RoomCooling, &RoomCooling::roomTemp>({"roomTemp", "供冷室内温度", "℃", 10, 40, true}),
    plain<RoomCooling, &RoomCooling::humidity>({"humidity", "相对湿度", "", 0.01, 1, true}),
    optional<RoomCooling, &RoomCooling::sensibleLoad>({"load", "显热冷负荷", "W", 0, 1e7, true}),
}};

// `extras` without "cooling", as the model keeps it.
std::string withoutCooling(const std::string& extras) {
    if (extras.empty())
        return extras;
    QJsonObject obj = extraObject(extras);
    obj.remove(kCooling);
    return extraText(obj);
}

// The object `cooling` of `owner`, when present.
QString coolingOf(const QJsonObject& owner, const QString& where, QJsonObject& out, bool& present) {
    return readObject(owner, "cooling", "供冷", where, out, present);
}

QString readSettingsCooling(const QJsonObject& obj, CoolingSettings& s) {
    const QString where = QStringLiteral("项目设置的供冷（cooling）");
    if (QString e = readChoice(obj, kSeason, s, where); !e.isEmpty())
        return e;
    if (QString e = readNumbers<CoolingSettings>(obj, kSettings, s, where); !e.isEmpty())
        return e;
    s.extraKeys = extraText(unknownKeys(obj, {"season", "dewMargin"}));
    return {};
}

QString readWater(const QJsonObject& obj, ManifoldCooling& m, const QString& where) {
    if (QString e = readNumbers<ManifoldCooling>(obj, kWater, m, where); !e.isEmpty())
        return e;
    if (!(m.supplyTemp < m.returnTemp))
        return QStringLiteral("%1的供冷供水温度 %2 ℃ 应低于回水温度 %3 ℃")
            .arg(where)
            .arg(m.supplyTemp)
            .arg(m.returnTemp);
    m.extraKeys = extraText(unknownKeys(obj, {"supplyTemp", "returnTemp"}));
    return {};
}

QString readRoomCooling(const QJsonObject& obj, RoomCooling& r, const QString& where) {
    if (QString e = readNumbers<RoomCooling>(obj, kRoom, r, where); !e.isEmpty())
        return e;
    if (QString e = readChoice(obj, kOccupancy, r, where); !e.isEmpty())
        return e;
    r.extraKeys = extraText(unknownKeys(obj, {"roomTemp", "humidity", "load", "occupancy"}));
    return {};
}

QString at(const QString& owner) {
    return owner + QStringLiteral("的供冷（cooling）");
}

} // namespace

QString readProjectCooling(const QJsonObject& top, project::Project& out) {
    QJsonObject sub;
    bool present = false;
    const QJsonObject settings = top.value(QStringLiteral("settings")).toObject();
    if (QString e = coolingOf(settings, QStringLiteral("项目设置"), sub, present); !e.isEmpty())
        return e;
    if (QString e = readSettingsCooling(sub, out.settings.cooling); !e.isEmpty())
        return e;
    out.settings.extraKeys = withoutCooling(out.settings.extraKeys);
    const QJsonArray manifolds = top.value(QStringLiteral("manifolds")).toArray();
    for (std::size_t i = 0; i < out.manifolds.size() && i < std::size_t(manifolds.size()); ++i) {
        project::Manifold& m = out.manifolds[i];
        const QString where = manifoldLabel(i, m.name);
        if (QString e = coolingOf(manifolds[qsizetype(i)].toObject(), where, sub, present);
            !e.isEmpty())
            return e;
        if (!present)
            continue;
        if (QString e = readWater(sub, m.cooling, at(where)); !e.isEmpty())
            return e;
        m.extraKeys = withoutCooling(m.extraKeys);
    }
    const QJsonArray rooms = top.value(QStringLiteral("rooms")).toArray();
    for (std::size_t i = 0; i < out.rooms.size() && i < std::size_t(rooms.size()); ++i) {
        project::Room& r = out.rooms[i];
        const QString where = roomLabel(i, r.name);
        if (QString e = coolingOf(rooms[qsizetype(i)].toObject(), where, sub, present);
            !e.isEmpty())
            return e;
        if (!present)
            continue;
        if (QString e = readRoomCooling(sub, r.cooling, at(where)); !e.isEmpty())
            return e;
        r.extraKeys = withoutCooling(r.extraKeys);
    }
    return {};
}

QString writeProjectCooling(const project::Project& p, QJsonObject& settings, QJsonArray& manifolds,
                            QJsonArray& rooms) {
    FirstError error;
    const CoolingSettings& s = p.settings.cooling;
    const bool cools = project::coolsIn(s.season);
    if (!project::isDefault(s)) {
        QJsonObject obj;
        writeChoice(obj, kSeason, s);
        writeNumbers<CoolingSettings>(obj, kSettings, s);
        error.note(checkNumbers<CoolingSettings>(kSettings, s, at(QStringLiteral("项目设置"))));
        settings.insert(kCooling, mergeExtras(obj, extraObject(s.extraKeys)));
    }
    for (std::size_t i = 0; i < p.manifolds.size() && i < std::size_t(manifolds.size()); ++i) {
        const ManifoldCooling& m = p.manifolds[i].cooling;
        if (!cools && project::isDefault(m))
            continue;
        const QString where = at(manifoldLabel(i, p.manifolds[i].name));
        error.note(checkNumbers<ManifoldCooling>(kWater, m, where));
        if (!(m.supplyTemp < m.returnTemp))
            error.note(where + QStringLiteral("的供冷供水温度应低于回水温度"));
        QJsonObject obj;
        writeNumbers<ManifoldCooling>(obj, kWater, m);
        QJsonObject owner = manifolds[qsizetype(i)].toObject();
        owner.insert(kCooling, mergeExtras(obj, extraObject(m.extraKeys)));
        manifolds[qsizetype(i)] = owner;
    }
    for (std::size_t i = 0; i < p.rooms.size() && i < std::size_t(rooms.size()); ++i) {
        const RoomCooling& r = p.rooms[i].cooling;
        if (!cools && project::isDefault(r))
            continue;
        error.note(checkNumbers<RoomCooling>(kRoom, r, at(roomLabel(i, p.rooms[i].name))));
        QJsonObject obj;
        writeNumbers<RoomCooling>(obj, kRoom, r);
        writeChoice(obj, kOccupancy, r);
        QJsonObject owner = rooms[qsizetype(i)].toObject();
        owner.insert(kCooling, mergeExtras(obj, extraObject(r.extraKeys)));
        rooms[qsizetype(i)] = owner;
    }
    return error.text;
}

} // namespace zorva::io
