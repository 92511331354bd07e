// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/project/plancompute.h"

#include "core/layout/routing.h"
#include "core/rooms/roomdesign.h"

#include <algorithm>
#include <cmath>

namespace zorva::project {

namespace {

constexpr double kMm = 1000; // mm per m

layout::Point toMm(PlanPoint p) {
    return {p.x * kMm, p.y * kMm};
}

std::vector<layout::Point> toMm(const std::vector<PlanPoint>& points) {
    std::vector<layout::Point> out;
    out.reserve(points.size());
    for (const PlanPoint& p : points)
        out.push_back(toMm(p));
    return out;
}

double widestSpacing(const Settings& settings) {
    double widest = 0;
    for (double s : settings.conditions.spacings)
        if (std::isfinite(s))
            widest = std::max(widest, s);
    return widest > 0 ? widest : 0.2;
}

bool designed(const std::vector<RoomResult>* rooms, std::size_t i) {
    return rooms && i < rooms->size() && (*rooms)[i].designed();
}

layout::Room layoutRoom(const Project& p, std::size_t index, const std::vector<RoomResult>* rooms) {
    const Room& room = p.rooms[index];
    const RoomPlan& plan = room.plan;
    layout::Room out;
    out.name = room.name;
    out.outline = toMm(plan.outline);
    for (const PlanDoor& d : plan.doors)
        out.doors.push_back({toMm(d.position), d.width * kMm});
    for (const PlanNoPipeArea& a : plan.noPipeAreas)
        out.noPipeAreas.push_back({toMm(a.outline), a.label});
    out.leaderPath = toMm(plan.leaderPath);
    out.manifold = room.manifold;
    layout::LayoutSettings& s = out.settings;
    s.pattern = plan.pattern;
    s.wallClearance = plan.wallClearance * kMm;
    s.maxLoopLength = p.settings.conditions.maxLoopLength;
    if (room.manifold < p.manifolds.size())
        s.pipeDiameter = p.manifolds[room.manifold].input.pipeDiameter;
    const bool hasDesign = designed(rooms, index);
    s.spacing = (hasDesign ? (*rooms)[index].design.spacing : widestSpacing(p.settings)) * kMm;
    // The user's dividers when there are any; otherwise as many loop areas
    // as the design has loops (the layout places the dividers), and one loop
    // lets the layout divide the room itself when the routed loop is too
    // long.
    for (const PlanDivider& d : plan.dividers)
        out.dividers.push_back({toMm(d.a), toMm(d.b)});
    const std::size_t loops = hasDesign ? (*rooms)[index].design.loops.size() : 0;
    if (loops > 1)
        out.loopCount = loops;
    return out;
}

// The routed lengths into the design's loops, or why not.
void useLengths(const Project& p, RoomResult& r) {
    RoomPlanResult& plan = r.plan;
    const layout::RoomLayout& laid = *plan.layout;
    std::vector<rooms::RoomLoop>& loops = r.design.loops;
    if (laid.loops.size() != loops.size()) {
        plan.note = "布管得到 " + std::to_string(laid.loops.size()) + " 个环路，设计为 " +
                    std::to_string(loops.size()) + " 个，环路长度仍用估算值";
        return;
    }
    const double limit = p.settings.conditions.maxLoopLength;
    for (std::size_t n = 0; n < loops.size(); ++n) {
        rooms::RoomLoop& loop = loops[n];
        plan.estimates.push_back(loop.length);
        if (loop.lengthOverridden)
            continue;
        const layout::RoutedLoop& routed = laid.loops[n];
        loop.length = routed.routedLength;
        loop.pipeInArea = routed.heatedLength + routed.connectionLength;
        loop.leaders = routed.supplyLeaderLength + routed.returnLeaderLength;
        loop.overLength = rooms::lengthOverLimit(loop.length, limit);
    }
    plan.lengthsUsed = true;
}

} // namespace

layout::Plan projectPlan(const Project& project, const std::vector<RoomResult>* rooms,
                         std::vector<std::size_t>* planRooms) {
    layout::Plan plan;
    for (const Manifold& m : project.manifolds)
        plan.manifolds.push_back({m.name, toMm(m.plan.position.value_or(PlanPoint{}))});
    for (std::size_t i = 0; i < project.rooms.size(); ++i) {
        if (!project.rooms[i].plan.hasOutline())
            continue;
        plan.rooms.push_back(layoutRoom(project, i, rooms));
        if (planRooms)
            planRooms->push_back(i);
    }
    return plan;
}

void routeProjectRooms(const Project& project, std::vector<RoomResult>& rooms,
                       const ParallelFor& parallel, const std::vector<RoomResult>* previous) {
    std::vector<std::size_t> planRooms;
    const layout::Plan plan = projectPlan(project, &rooms, &planRooms);
    // Which plan rooms are laid; the others say why not.
    std::vector<std::size_t> jobs;
    for (std::size_t k = 0; k < planRooms.size(); ++k) {
        const std::size_t i = planRooms[k];
        if (i >= rooms.size())
            continue;
        RoomResult& r = rooms[i];
        const Room& room = project.rooms[i];
        if (!r.designed()) {
            r.plan.state = PlanState::NotDesigned;
            r.plan.note = "房间的环路未能设计，没有布管";
        } else if (room.manifold >= project.manifolds.size() ||
                   !project.manifolds[room.manifold].plan.position) {
            r.plan.state = PlanState::NotPlaced;
            r.plan.note = "分集水器没有在平面图上定位，环路长度仍用估算值";
        } else {
            jobs.push_back(k);
        }
    }
    const auto job = [&](std::size_t j) {
        const std::size_t k = jobs[j];
        const std::size_t row = planRooms[k];
        RoomResult& r = rooms[row];
        const layout::Room& room = plan.rooms[k];
        auto input = std::make_shared<const LaidInput>(
            LaidInput{room, plan.manifolds[room.manifold].position});
        const RoomPlanResult* before =
            previous && row < previous->size() ? &(*previous)[row].plan : nullptr;
        if (before && before->layout && before->input && *before->input == *input) {
            r.plan.layout = before->layout;
            r.plan.input = before->input;
        } else {
            r.plan.layout = layout::routeRoom(plan, k);
            r.plan.input = std::move(input);
        }
        if (r.plan.layout->status != layout::RoomStatus::Routed) {
            r.plan.state = PlanState::NotRouted;
            r.plan.note = r.plan.layout->reason + "，环路长度仍用估算值";
            return;
        }
        r.plan.state = PlanState::Routed;
        useLengths(project, r);
    };
    if (parallel)
        parallel(jobs.size(), job);
    else
        for (std::size_t j = 0; j < jobs.size(); ++j)
            job(j);
}

std::optional<double> routedLength(const ProjectResult& result, const ProjectLoop& loop) {
    if (loop.origin != LoopOrigin::Room || loop.source >= result.rooms.size())
        return std::nullopt;
    const RoomPlanResult& plan = result.rooms[loop.source].plan;
    if (!plan.routed() || !plan.lengthsUsed || loop.number >= plan.layout->loops.size())
        return std::nullopt;
    return plan.layout->loops[loop.number].routedLength;
}

} // namespace zorva::project
