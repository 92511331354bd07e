// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/projectplan.h"

#include "core/io/jsonfields.h"

#include <QJsonArray>

#include <cmath>
#include <set>

namespace zorva::io {

namespace {

using namespace json;
using project::PlanPoint;

const QString kPlan = QStringLiteral("平面图（plan）");
constexpr double kMaxCoordinate = 1e6; // m, as far as the layout takes
constexpr qsizetype kMaxPoints = 100000;
constexpr int kMaxFileName = 4096;
constexpr int kMaxLabel = 200;
constexpr qsizetype kMaxDividers = 64;

const NumberRange kDoorWidth{"width", "门宽", "m", 0.001, 100, true};
const NumberRange kClearance{"wallClearance", "离墙距离", "m", 0, 5, true};
const NumberRange kScale{"imageScale", "底图比例", "m/像素", 0, 1000, true};

constexpr std::pair<const char*, layout::Pattern> kPatterns[] = {
    {"spiral", layout::Pattern::Spiral}, {"serpentine", layout::Pattern::Serpentine}};

QString pointsName(const char* name, const char* k) {
    return QStringLiteral("“%1”（%2）").arg(QString::fromUtf8(name), QLatin1String(k));
}

QString readPoint(const QJsonValue& v, const QString& where, PlanPoint& out) {
    const QJsonArray a = v.toArray();
    if (!v.isArray() || a.size() != 2 || !a[0].isDouble() || !a[1].isDouble())
        return where + QStringLiteral("应是两个数字 [x, y]（m）");
    out = {a[0].toDouble(), a[1].toDouble()};
    if (!(std::abs(out.x) <= kMaxCoordinate && std::abs(out.y) <= kMaxCoordinate))
        return where + QStringLiteral("的坐标超出范围（±%1 m）").arg(kMaxCoordinate, 0, 'g');
    return {};
}

QJsonArray pointArray(PlanPoint p) {
    return QJsonArray{p.x, p.y};
}

QString checkPoint(PlanPoint p, const QString& where) {
    if (!(std::abs(p.x) <= kMaxCoordinate && std::abs(p.y) <= kMaxCoordinate))
        return where + QStringLiteral("的坐标超出范围（±%1 m）").arg(kMaxCoordinate, 0, 'g');
    return {};
}

// A list of points; an outline needs three at least.
QString readPoints(const QJsonObject& obj, const char* k, const char* name, const QString& where,
                   bool outline, std::vector<PlanPoint>& out) {
    QJsonArray a;
    bool present = false;
    if (QString e = readArray(obj, k, name, where, a, present); !e.isEmpty())
        return e;
    if (!present)
        return {};
    if (a.size() > kMaxPoints)
        return where + pointsName(name, k) +
               QStringLiteral("的点太多（超过 %1 个）").arg(kMaxPoints);
    if (outline && a.size() < 3)
        return where + pointsName(name, k) + QStringLiteral("至少要有三个点");
    out.clear();
    for (qsizetype i = 0; i < a.size(); ++i) {
        PlanPoint p;
        const QString at = where + pointsName(name, k) + QStringLiteral("的第 %1 个点").arg(i + 1);
        if (QString e = readPoint(a[i], at, p); !e.isEmpty())
            return e;
        out.push_back(p);
    }
    return {};
}

QString writePoints(const std::vector<PlanPoint>& points, const char* name, const char* k,
                    const QString& where, bool outline, QJsonArray& out) {
    FirstError error;
    out = {};
    if (outline && !points.empty() && points.size() < 3)
        error.note(where + pointsName(name, k) + QStringLiteral("至少要有三个点"));
    if (qsizetype(points.size()) > kMaxPoints)
        error.note(where + pointsName(name, k) +
                   QStringLiteral("的点太多（超过 %1 个）").arg(kMaxPoints));
    for (std::size_t i = 0; i < points.size(); ++i) {
        error.note(checkPoint(points[i], where + pointsName(name, k) +
                                             QStringLiteral("的第 %1 个点").arg(i + 1)));
        out.append(pointArray(points[i]));
    }
    return error.text;
}

// The index of an entry ("room", "manifold"), in range and not repeated.
QString readIndex(const QJsonObject& obj, const char* k, const char* name, std::size_t count,
                  const QString& where, std::set<std::size_t>& seen, std::size_t& out) {
    const NumberRange range{k, name, "", 0, double(count) - 1, false};
    if (count == 0)
        return where + QStringLiteral("指向的%1不存在").arg(QString::fromUtf8(name));
    std::optional<double> v;
    if (QString e = readNumber(obj, range, Presence::Required, true, where, v); !e.isEmpty())
        return e;
    out = std::size_t(*v);
    if (!seen.insert(out).second)
        return where +
               QStringLiteral("：第 %1 个%2出现了两次").arg(out + 1).arg(QString::fromUtf8(name));
    return {};
}

// "dividers": [[[x, y], [x, y]], …], each line through two distinct points.
QString readDividers(const QJsonObject& obj, const QString& where,
                     std::vector<project::PlanDivider>& out) {
    QJsonArray lines;
    bool present = false;
    if (QString e = readArray(obj, "dividers", "分区线", where, lines, present); !e.isEmpty())
        return e;
    if (lines.size() > kMaxDividers)
        return where + QStringLiteral("的“分区线”（dividers）太多（超过 %1 条）").arg(kMaxDividers);
    out.clear();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString at = where + QStringLiteral("的第 %1 条分区线").arg(i + 1);
        const QJsonArray ends = lines[i].toArray();
        if (!lines[i].isArray() || ends.size() != 2)
            return at + QStringLiteral("应是两个点 [[x, y], [x, y]]（m）");
        project::PlanDivider d;
        if (QString e = readPoint(ends[0], at, d.a); !e.isEmpty())
            return e;
        if (QString e = readPoint(ends[1], at, d.b); !e.isEmpty())
            return e;
        if (d.a == d.b)
            return at + QStringLiteral("的两个点重合");
        out.push_back(d);
    }
    return {};
}

QString readRoomPlan(const QJsonObject& obj, const QString& where, project::RoomPlan& plan) {
    if (QString e = readPoints(obj, "outline", "轮廓", where, true, plan.outline); !e.isEmpty())
        return e;
    QJsonArray doors;
    bool present = false;
    if (QString e = readArray(obj, "doors", "门", where, doors, present); !e.isEmpty())
        return e;
    for (qsizetype i = 0; i < doors.size() && i <= kMaxPoints; ++i) {
        const QString at = where + QStringLiteral("的第 %1 个门").arg(i + 1);
        if (!doors[i].isObject())
            return at + QStringLiteral("应是对象");
        const QJsonObject d = doors[i].toObject();
        project::PlanDoor door;
        if (QString e = readPoint(d.value(QStringLiteral("position")),
                                  at + QStringLiteral("的位置（position）"), door.position);
            !e.isEmpty())
            return e;
        std::optional<double> width;
        if (QString e = readNumber(d, kDoorWidth, Presence::Defaulted, false, at, width);
            !e.isEmpty())
            return e;
        door.width = width.value_or(door.width);
        plan.doors.push_back(door);
    }
    QJsonArray areas;
    if (QString e = readArray(obj, "noPipeAreas", "不布管区", where, areas, present); !e.isEmpty())
        return e;
    for (qsizetype i = 0; i < areas.size() && i <= kMaxPoints; ++i) {
        const QString at = where + QStringLiteral("的第 %1 个不布管区").arg(i + 1);
        if (!areas[i].isObject())
            return at + QStringLiteral("应是对象");
        const QJsonObject a = areas[i].toObject();
        project::PlanNoPipeArea area;
        if (QString e = readPoints(a, "outline", "轮廓", at, true, area.outline); !e.isEmpty())
            return e;
        if (area.outline.empty())
            return at + QStringLiteral("缺少“轮廓”（outline）");
        if (QString e = readText(a, "label", "名称", at, kMaxLabel, false, area.label);
            !e.isEmpty())
            return e;
        plan.noPipeAreas.push_back(std::move(area));
    }
    const Choice<project::RoomPlan, layout::Pattern> pattern{
        "pattern", "布管方式", kPatterns, Presence::Defaulted, &project::RoomPlan::pattern};
    if (QString e = readChoice(obj, pattern, plan, where); !e.isEmpty())
        return e;
    std::optional<double> clearance;
    if (QString e = readNumber(obj, kClearance, Presence::Defaulted, false, where, clearance);
        !e.isEmpty())
        return e;
    plan.wallClearance = clearance.value_or(plan.wallClearance);
    if (QString e = readPoints(obj, "leaderPath", "连接管路径", where, false, plan.leaderPath);
        !e.isEmpty())
        return e;
    return readDividers(obj, where, plan.dividers);
}

QString writeRoomPlan(const project::RoomPlan& plan, const QString& where, QJsonObject& obj) {
    FirstError error;
    QJsonArray points;
    if (!plan.outline.empty()) {
        error.note(writePoints(plan.outline, "轮廓", "outline", where, true, points));
        obj.insert(QStringLiteral("outline"), points);
    }
    if (!plan.doors.empty()) {
        QJsonArray doors;
        for (std::size_t i = 0; i < plan.doors.size(); ++i) {
            const QString at = where + QStringLiteral("的第 %1 个门").arg(i + 1);
            const project::PlanDoor& d = plan.doors[i];
            error.note(checkPoint(d.position, at));
            error.note(checkNumber(kDoorWidth, false, d.width, at));
            doors.append(QJsonObject{{QStringLiteral("position"), pointArray(d.position)},
                                     {QStringLiteral("width"), d.width}});
        }
        obj.insert(QStringLiteral("doors"), doors);
    }
    if (!plan.noPipeAreas.empty()) {
        QJsonArray areas;
        for (std::size_t i = 0; i < plan.noPipeAreas.size(); ++i) {
            const QString at = where + QStringLiteral("的第 %1 个不布管区").arg(i + 1);
            const project::PlanNoPipeArea& a = plan.noPipeAreas[i];
            if (a.outline.empty())
                error.note(at + QStringLiteral("缺少“轮廓”（outline）"));
            error.note(writePoints(a.outline, "轮廓", "outline", at, true, points));
            QJsonObject area{{QStringLiteral("outline"), points}};
            if (!a.label.empty()) {
                error.note(checkText(a.label, "名称", at, kMaxLabel));
                area.insert(QStringLiteral("label"), QString::fromStdString(a.label));
            }
            areas.append(area);
        }
        obj.insert(QStringLiteral("noPipeAreas"), areas);
    }
    for (const auto& [k, value] : kPatterns)
        if (value == plan.pattern)
            obj.insert(QStringLiteral("pattern"), QLatin1String(k));
    error.note(checkNumber(kClearance, false, plan.wallClearance, where));
    obj.insert(QStringLiteral("wallClearance"), plan.wallClearance);
    if (!plan.leaderPath.empty()) {
        error.note(writePoints(plan.leaderPath, "连接管路径", "leaderPath", where, false, points));
        obj.insert(QStringLiteral("leaderPath"), points);
    }
    if (!plan.dividers.empty()) {
        if (qsizetype(plan.dividers.size()) > kMaxDividers)
            error.note(
                where +
                QStringLiteral("的“分区线”（dividers）太多（超过 %1 条）").arg(kMaxDividers));
        QJsonArray lines;
        for (std::size_t i = 0; i < plan.dividers.size(); ++i) {
            const QString at = where + QStringLiteral("的第 %1 条分区线").arg(i + 1);
            const project::PlanDivider& d = plan.dividers[i];
            error.note(checkPoint(d.a, at));
            error.note(checkPoint(d.b, at));
            if (d.a == d.b)
                error.note(at + QStringLiteral("的两个点重合"));
            lines.append(QJsonArray{pointArray(d.a), pointArray(d.b)});
        }
        obj.insert(QStringLiteral("dividers"), lines);
    }
    return error.text;
}

QString readBackground(const QJsonObject& obj, project::PlanBackground& bg, QJsonObject& extras) {
    const QString where = kPlan + QStringLiteral("的底图（background）");
    if (QString e = readText(obj, "dxf", "DXF 底图", where, kMaxFileName, false, bg.dxfFile);
        !e.isEmpty())
        return e;
    if (QString e = readText(obj, "image", "图片底图", where, kMaxFileName, false, bg.imageFile);
        !e.isEmpty())
        return e;
    std::optional<double> scale;
    if (QString e = readNumber(obj, kScale, Presence::Defaulted, false, where, scale); !e.isEmpty())
        return e;
    bg.imageScale = scale.value_or(0);
    const QJsonValue origin = obj.value(QStringLiteral("imageOrigin"));
    if (!origin.isUndefined())
        if (QString e = readPoint(origin, where + QStringLiteral("的“图片原点”（imageOrigin）"),
                                  bg.imageOrigin);
            !e.isEmpty())
            return e;
    extras = unknownKeys(obj, {"dxf", "image", "imageScale", "imageOrigin"});
    return {};
}

} // namespace

QString readPlanSection(const QJsonObject& top, project::Project& out) {
    QJsonObject plan;
    bool present = false;
    if (QString e = readObject(top, "plan", "平面图", QStringLiteral("项目文件"), plan, present);
        !e.isEmpty() || !present)
        return e;
    QJsonObject extras = unknownKeys(plan, {"background", "manifolds", "rooms"});
    QJsonObject background;
    if (QString e = readObject(plan, "background", "底图", kPlan, background, present);
        !e.isEmpty())
        return e;
    QJsonObject backgroundExtras;
    if (QString e = readBackground(background, out.settings.planBackground, backgroundExtras);
        !e.isEmpty())
        return e;
    if (!backgroundExtras.isEmpty())
        extras.insert(QStringLiteral("background"), backgroundExtras);
    out.settings.planBackground.extraKeys = extraText(extras);

    QJsonArray entries;
    if (QString e = readArray(plan, "manifolds", "分集水器", kPlan, entries, present); !e.isEmpty())
        return e;
    std::set<std::size_t> seen;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString where = kPlan + QStringLiteral("的第 %1 个分集水器位置").arg(i + 1);
        if (!entries[i].isObject())
            return where + QStringLiteral("应是对象");
        const QJsonObject obj = entries[i].toObject();
        std::size_t index = 0;
        if (QString e =
                readIndex(obj, "manifold", "分集水器", out.manifolds.size(), where, seen, index);
            !e.isEmpty())
            return e;
        project::ManifoldPlan& m = out.manifolds[index].plan;
        const QJsonValue position = obj.value(QStringLiteral("position"));
        if (!position.isUndefined()) {
            PlanPoint p;
            if (QString e = readPoint(position, where + QStringLiteral("（position）"), p);
                !e.isEmpty())
                return e;
            m.position = p;
        }
        m.extraKeys = extraText(unknownKeys(obj, {"manifold", "position"}));
    }
    if (QString e = readArray(plan, "rooms", "房间", kPlan, entries, present); !e.isEmpty())
        return e;
    seen.clear();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        QString where = kPlan + QStringLiteral("的第 %1 个房间轮廓").arg(i + 1);
        if (!entries[i].isObject())
            return where + QStringLiteral("应是对象");
        const QJsonObject obj = entries[i].toObject();
        std::size_t index = 0;
        if (QString e = readIndex(obj, "room", "房间", out.rooms.size(), where, seen, index);
            !e.isEmpty())
            return e;
        project::Room& room = out.rooms[index];
        where = kPlan + QStringLiteral("中第 %1 个房间（%2）")
                            .arg(index + 1)
                            .arg(QString::fromStdString(room.name));
        if (QString e = readRoomPlan(obj, where, room.plan); !e.isEmpty())
            return e;
        room.plan.extraKeys =
            extraText(unknownKeys(obj, {"room", "outline", "doors", "noPipeAreas", "pattern",
                                        "wallClearance", "leaderPath", "dividers"}));
    }
    return {};
}

QString writePlanSection(const project::Project& p, QJsonObject& out) {
    FirstError error;
    QJsonObject plan;
    const project::PlanBackground& bg = p.settings.planBackground;
    if (!bg.dxfFile.empty() || !bg.imageFile.empty() || bg.imageScale != 0 ||
        bg.imageOrigin != PlanPoint{}) {
        const QString where = kPlan + QStringLiteral("的底图（background）");
        QJsonObject background;
        if (!bg.dxfFile.empty()) {
            error.note(checkText(bg.dxfFile, "DXF 底图", where, kMaxFileName));
            background.insert(QStringLiteral("dxf"), QString::fromStdString(bg.dxfFile));
        }
        if (!bg.imageFile.empty()) {
            error.note(checkText(bg.imageFile, "图片底图", where, kMaxFileName));
            background.insert(QStringLiteral("image"), QString::fromStdString(bg.imageFile));
        }
        error.note(checkNumber(kScale, false, bg.imageScale, where));
        background.insert(QStringLiteral("imageScale"), bg.imageScale);
        error.note(checkPoint(bg.imageOrigin, where));
        background.insert(QStringLiteral("imageOrigin"), pointArray(bg.imageOrigin));
        plan.insert(QStringLiteral("background"), background);
    }
    QJsonArray manifolds;
    for (std::size_t i = 0; i < p.manifolds.size(); ++i) {
        const project::ManifoldPlan& m = p.manifolds[i].plan;
        if (m.empty())
            continue;
        QJsonObject obj{{QStringLiteral("manifold"), qint64(i)}};
        if (m.position) {
            error.note(checkPoint(*m.position,
                                  kPlan + QStringLiteral("的第 %1 个分集水器位置").arg(i + 1)));
            obj.insert(QStringLiteral("position"), pointArray(*m.position));
        }
        manifolds.append(mergeExtras(obj, extraObject(m.extraKeys)));
    }
    if (!manifolds.isEmpty())
        plan.insert(QStringLiteral("manifolds"), manifolds);
    QJsonArray rooms;
    for (std::size_t i = 0; i < p.rooms.size(); ++i) {
        const project::Room& room = p.rooms[i];
        if (room.plan.empty())
            continue;
        const QString where = kPlan + QStringLiteral("中第 %1 个房间（%2）")
                                          .arg(i + 1)
                                          .arg(QString::fromStdString(room.name));
        QJsonObject obj{{QStringLiteral("room"), qint64(i)}};
        error.note(writeRoomPlan(room.plan, where, obj));
        rooms.append(mergeExtras(obj, extraObject(room.plan.extraKeys)));
    }
    if (!rooms.isEmpty())
        plan.insert(QStringLiteral("rooms"), rooms);
    plan = mergeExtras(plan, extraObject(bg.extraKeys));
    if (!plan.isEmpty())
        out.insert(QStringLiteral("plan"), plan);
    return error.text;
}

} // namespace zorva::io
