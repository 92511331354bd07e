// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/projectdocument.h"

#include "core/io/jsonfields.h"
#include "core/io/projectcooling.h"
#include "core/io/projecthydraulics.h"
#include "core/io/projectmanifolds.h"
#include "core/io/projectplan.h"
#include "core/io/projectrebalance.h"
#include "core/io/projectrooms.h"
#include "core/io/projectsettings.h"

namespace zorva::io {

namespace {

using namespace json;

const QString kTop = QStringLiteral("项目文件");

QString readVersion1(const QJsonObject& top, project::Project& out) {
    const QJsonValue manifold = top.value(QStringLiteral("manifold"));
    if (!manifold.isObject())
        return QStringLiteral("项目文件的“分集水器”（manifold）应是对象，而不是%1")
            .arg(typeName(manifold));
    const QJsonValue loops = top.value(QStringLiteral("loops"));
    if (!loops.isArray())
        return QStringLiteral("项目文件的“环路”（loops）应是数组，而不是%1").arg(typeName(loops));
    out = project::Project{};
    out.settings.method = method::Method::Program;
    out.manifolds.resize(1);
    if (QString e = readVersion1Manifold(manifold.toObject(), loops.toArray(), out.manifolds[0]);
        !e.isEmpty())
        return e;
    out.extraKeys = extraText(unknownKeys(top, {"format", "version", "manifold", "loops"}));
    return {};
}

QString readVersion2(const QJsonObject& top, project::Project& out) {
    out = project::Project{};
    QJsonObject settings;
    bool present = false;
    if (QString e = readObject(top, "settings", "项目设置", kTop, settings, present); !e.isEmpty())
        return e;
    if (QString e = readSettings(settings, out.settings); !e.isEmpty())
        return e;
    const QJsonValue manifolds = top.value(QStringLiteral("manifolds"));
    if (!manifolds.isArray())
        return QStringLiteral("项目文件的“分集水器”（manifolds）应是数组，而不是%1")
            .arg(typeName(manifolds));
    if (QString e = readManifolds(manifolds.toArray(), out.manifolds); !e.isEmpty())
        return e;
    QJsonArray rooms;
    if (QString e = readArray(top, "rooms", "房间", kTop, rooms, present); !e.isEmpty())
        return e;
    if (QString e = readRooms(rooms, out.manifolds.size(), out.rooms); !e.isEmpty())
        return e;
    if (QString e = readPlanSection(top, out); !e.isEmpty())
        return e;
    if (QString e = readHydraulicsSection(top, out); !e.isEmpty())
        return e;
    if (QString e = readRebalanceSection(top, out); !e.isEmpty())
        return e;
    if (QString e = readProjectCooling(top, out); !e.isEmpty())
        return e;
    out.extraKeys = extraText(unknownKeys(top, {"format", "version", "settings", "manifolds",
                                                "rooms", "plan", "hydraulics", "rebalance"}));
    return {};
}

} // namespace

QString readProjectObject(const QJsonObject& top, int version, project::Project& out) {
    return version == 1 ? readVersion1(top, out) : readVersion2(top, out);
}

QString writeProjectObject(const project::Project& p, QJsonObject& out) {
    FirstError error;
    QJsonObject settings;
    error.note(writeSettings(p.settings, settings));
    QJsonArray manifolds;
    error.note(writeManifolds(p.manifolds, manifolds));
    QJsonArray rooms;
    error.note(writeRooms(p.rooms, p.manifolds.size(), rooms));
    error.note(writeProjectCooling(p, settings, manifolds, rooms));
    out = QJsonObject{};
    out.insert(QStringLiteral("settings"), settings);
    out.insert(QStringLiteral("manifolds"), manifolds);
    out.insert(QStringLiteral("rooms"), rooms);
    error.note(writePlanSection(p, out));
    error.note(writeHydraulicsSection(p, out));
    error.note(writeRebalanceSection(p, out));
    out = mergeExtras(out, extraObject(p.extraKeys));
    return error.text;
}

} // namespace zorva::io
