// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/projectjsonplan.h"

#include "core/project/plancompute.h"

#include <QJsonArray>

#include <algorithm>
#include <cmath>

namespace zorva::cli {

namespace {

using namespace project;

QJsonValue num(double v) {
    return std::isfinite(v) ? QJsonValue(v) : QJsonValue();
}

const char* stateKey(PlanState s) {
    switch (s) {
    case PlanState::NoOutline:
        return "noOutline";
    case PlanState::NotDesigned:
        return "notDesigned";
    case PlanState::NotPlaced:
        return "manifoldNotPlaced";
    case PlanState::Routed:
        return "routed";
    case PlanState::NotRouted:
        return "notRouted";
    }
    return "";
}

const char* severityKey(layout::Severity s) {
    return s == layout::Severity::Error     ? "error"
           : s == layout::Severity::Warning ? "warning"
                                            : "info";
}

QJsonObject layoutJson(const RoomPlanResult& plan) {
    QJsonObject o{{"state", QLatin1String(stateKey(plan.state))},
                  {"note", QString::fromStdString(plan.note)},
                  {"lengthsUsed", plan.lengthsUsed}};
    if (!plan.layout)
        return o;
    const layout::RoomLayout& l = *plan.layout;
    if (!l.reason.empty())
        o.insert(QStringLiteral("reason"), QString::fromStdString(l.reason));
    QJsonArray loops;
    for (std::size_t n = 0; n < l.loops.size(); ++n) {
        const layout::RoutedLoop& r = l.loops[n];
        QJsonObject loop{{"label", QString::fromStdString(r.label)},
                         {"pattern", r.pattern == layout::Pattern::Spiral
                                         ? QStringLiteral("spiral")
                                         : QStringLiteral("serpentine")},
                         {"spacing", num(r.spacing / 1000)},
                         {"heatedArea", num(r.heatedArea)},
                         {"uncoveredArea", num(r.uncoveredArea)},
                         {"heatedLength", num(r.heatedLength)},
                         {"connectionLength", num(r.connectionLength)},
                         {"supplyLeaderLength", num(r.supplyLeaderLength)},
                         {"returnLeaderLength", num(r.returnLeaderLength)},
                         {"routedLength", num(r.routedLength)},
                         {"withinLengthLimit", r.withinLengthLimit}};
        if (n < plan.estimates.size())
            loop.insert(QStringLiteral("estimatedLength"), num(plan.estimates[n]));
        loops.append(loop);
    }
    o.insert(QStringLiteral("loops"), loops);
    QJsonArray violations;
    for (const layout::Violation& v : l.violations) {
        violations.append(QJsonObject{
            {"rule", QLatin1String(layout::ruleKey(v.rule))},
            {"severity", QLatin1String(severityKey(v.severity))},
            {"loop", v.loop < l.loops.size() ? QJsonValue(qint64(v.loop)) : QJsonValue()},
            {"x", num(v.position.x / 1000)},
            {"y", num(v.position.y / 1000)},
            {"value", num(v.value)},
            {"limit", num(v.limit)},
            {"message", QString::fromStdString(v.message)}});
    }
    o.insert(QStringLiteral("violations"), violations);
    return o;
}

} // namespace

void addPlanKeys(const Project& project, const ProjectResult& result, QJsonObject& json) {
    if (std::none_of(project.rooms.begin(), project.rooms.end(),
                     [](const Room& r) { return r.plan.hasOutline(); }))
        return;
    QJsonArray manifolds = json.value(QStringLiteral("manifolds")).toArray();
    for (qsizetype i = 0; i < manifolds.size() && std::size_t(i) < result.manifolds.size(); ++i) {
        QJsonObject m = manifolds[i].toObject();
        QJsonArray loops = m.value(QStringLiteral("loops")).toArray();
        const std::vector<ProjectLoop>& computed = result.manifolds[std::size_t(i)].loops;
        for (qsizetype n = 0; n < loops.size() && std::size_t(n) < computed.size(); ++n) {
            QJsonObject loop = loops[n].toObject();
            const std::optional<double> routed = routedLength(result, computed[std::size_t(n)]);
            loop.insert(QStringLiteral("routedLength"), routed ? num(*routed) : QJsonValue());
            loops[n] = loop;
        }
        m.insert(QStringLiteral("loops"), loops);
        manifolds[i] = m;
    }
    json.insert(QStringLiteral("manifolds"), manifolds);
    QJsonArray rooms = json.value(QStringLiteral("rooms")).toArray();
    for (qsizetype i = 0; i < rooms.size() && std::size_t(i) < result.rooms.size(); ++i) {
        QJsonObject room = rooms[i].toObject();
        room.insert(QStringLiteral("layout"), layoutJson(result.rooms[std::size_t(i)].plan));
        rooms[i] = room;
    }
    json.insert(QStringLiteral("rooms"), rooms);
}

} // namespace zorva::cli
