// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/layout/routing.h"
#include "core/layout/leaders.h"
#include "core/layout/loopareas.h"
#include "core/layout/patterns.h"
#include "core/layout/ring.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace zorva::layout {

namespace {

constexpr int kMaxAutomaticLoops = 16;
// Rings across the room's extent beyond which the spacing is taken for a
// slip of the keyboard rather than a design (and routing would take long).
constexpr double kMaxRingsAcross = 4000;

Polyline joined(std::initializer_list<const Polyline*> parts) {
    Polyline out;
    for (const Polyline* p : parts) {
        for (const Point& q : *p)
            appendPoint(out, q);
    }
    return out;
}

bool positive(double v) {
    return std::isfinite(v) && v > 0;
}

std::size_t nearestIndex(const Polyline& chain, Point p) {
    std::size_t best = 0;
    for (std::size_t i = 1; i < chain.size(); ++i) {
        if (distance(chain[i], p) < distance(chain[best], p))
            best = i;
    }
    return best;
}

// Why the settings cannot be laid, or empty.
std::string settingsFault(const LayoutSettings& s, const Polygon& outline) {
    if (!positive(s.spacing) || !positive(s.pipeDiameter) || !positive(s.maxLoopLength) ||
        !positive(s.leaderPitch))
        return "管间距、管外径、环路长度上限和连接管间距须为正数";
    if (!std::isfinite(s.wallClearance) || s.wallClearance < 0 ||
        !std::isfinite(s.bendRadiusFactor) || s.bendRadiusFactor < 0)
        return "离墙距离和弯曲半径倍数不能为负数";
    if (!std::isfinite(s.peripheralWidth) || s.peripheralWidth < 0 ||
        (s.peripheralWidth > 0 && !positive(s.peripheralSpacing)))
        return "边缘区宽度不能为负数，边缘区管间距须为正数";
    const double least =
        s.peripheralWidth > 0 ? std::min(s.spacing, s.peripheralSpacing) : s.spacing;
    if (least < s.pipeDiameter)
        return "管间距小于管外径";
    const Box b = bounds(outline);
    if (std::max(b.width(), b.height()) / least > kMaxRingsAcross)
        return "管间距相对房间尺寸过小";
    return {};
}

std::string outlineFaultText(OutlineFault fault) {
    switch (fault) {
    case OutlineFault::TooFewVertices:
        return "房间轮廓少于三个顶点";
    case OutlineFault::NotFinite:
        return "房间轮廓坐标无效";
    case OutlineFault::ZeroArea:
        return "房间轮廓面积为零";
    case OutlineFault::SelfIntersecting:
        return "房间轮廓自相交";
    case OutlineFault::None:
        break;
    }
    return {};
}

struct Attempt {
    std::vector<RoutedLoop> loops;
    std::vector<std::string> notes;
    bool tooLong = false;
};

double heatedLength(const Attempt& a) {
    double sum = 0;
    for (const RoutedLoop& l : a.loops)
        sum += l.heatedLength;
    return sum;
}

// Equal areas rarely suit the pipe: a strip of 2.33 m at 200 mm holds
// five rings of a spiral and leaves a core too narrow for a sixth, some
// 10 % of the area/spacing length. Each automatic divider in turn is moved
// by up to two spacings either way, in half spacings, to where the room's
// loops lay the most pipe, no loop over its length limit. (Going round the
// dividers a second time drifted to very unequal loops for little pipe.)
template <typename Lay>
Attempt shiftDividers(const Room& room, std::vector<Segment>& dividers, Attempt best, Lay lay) {
    const double step = room.settings.spacing / 2;
    if (!(step > 0))
        return best;
    for (Segment& d : dividers) {
        const Point e = d.b - d.a;
        const double len = std::hypot(e.x, e.y);
        if (!(len > 0))
            continue;
        const Point normal{-e.y / len, e.x / len};
        const Segment original = d;
        Segment chosen = d;
        double most = heatedLength(best);
        for (int k = -4; k <= 4; ++k) {
            if (k == 0)
                continue;
            const Point shift = normal * (k * step);
            d = {original.a + shift, original.b + shift};
            Attempt a = lay();
            // A few centimetres more are no reason to move a divider.
            if (!a.tooLong && a.loops.size() == best.loops.size() &&
                heatedLength(a) > most + 0.05 * std::abs(k)) {
                most = heatedLength(a);
                chosen = d;
                best = std::move(a);
            }
        }
        d = chosen;
    }
    return best;
}

// Lays every loop area of the room with the given dividers.
Attempt layAreas(const Room& room, const std::vector<Segment>& dividers, Point door,
                 std::size_t doorEdge, const Polyline& leaderPath, const Offsetter& offsetter) {
    Attempt out;
    const LayoutSettings& s = room.settings;
    const RingDepths depths(s);
    const Polygon outline = normalized(room.outline);
    std::vector<LoopArea> areas = loopAreas(room, dividers, offsetter);
    // Nearest to the door first: the labels count outward from it.
    std::sort(areas.begin(), areas.end(), [&](const LoopArea& a, const LoopArea& b) {
        return distanceToOutline(a.outline, door) < distanceToOutline(b.outline, door);
    });

    struct Laid {
        LoopArea area;
        LaidPipe pipe;
    };
    std::vector<Laid> laid;
    for (LoopArea& a : areas) {
        LaidPipe pipe = s.pattern == Pattern::Serpentine ? laySerpentine(a, depths, door, offsetter)
                                                         : laySpiral(a, depths, door, offsetter);
        if (!pipe.laid || pipe.pipe.size() < 2) {
            char text[96];
            std::snprintf(text, sizeof text, "有一块%.2fm²的区域太小，未铺管", a.area / 1e6);
            out.notes.push_back(text);
            continue;
        }
        laid.push_back({std::move(a), std::move(pipe)});
    }

    // The leader pipes side by side along the path, the room's loops in
    // order, two pipes each.
    const std::size_t pipes = 2 * laid.size();
    const Point along = [&] {
        const Point e = outline[(doorEdge + 1) % outline.size()] - outline[doorEdge];
        const double len = std::hypot(e.x, e.y);
        return len > 0 ? e * (1 / len) : Point{1, 0};
    }();
    const Point pathDir = leaderPath.size() >= 2 ? leaderPath[1] - leaderPath[0] : Point{0, -1};
    // offsetChain moves to the left of the path; the slot at the door is
    // then along the wall by the same amount, in this direction.
    const Point left = [&] {
        const double len = std::hypot(pathDir.x, pathDir.y);
        return len > 0 ? Point{-pathDir.y / len, pathDir.x / len} : along;
    }();
    const double pitch = s.leaderPitch;
    // Lanes along the walls inside the clearance for the connections: a
    // third and two thirds of the clearance from the walls, and the middle.
    std::vector<Ring> strips;
    if (s.wallClearance >= 3) {
        for (double depth : {s.wallClearance / 3, 2 * s.wallClearance / 3, s.wallClearance / 2}) {
            const std::vector<Region> parts = offsetter.parts(offsetter.offset({outline}, -depth));
            const Region* largest = nullptr;
            for (const Region& p : parts) {
                if (!largest || area(p.front()) > area(largest->front()))
                    largest = &p;
            }
            if (!largest)
                break;
            strips.emplace_back(normalized(largest->front(), 0.5));
        }
        if (strips.size() != 3)
            strips.clear();
    }
    const auto slotOffset = [&](std::size_t j) {
        return (static_cast<double>(j) - (static_cast<double>(pipes) - 1) / 2) * pitch;
    };

    for (std::size_t i = 0; i < laid.size(); ++i) {
        const Laid& l = laid[i];
        RoutedLoop loop;
        loop.label =
            (room.name.empty() ? std::string("房间") : room.name) + "-" + std::to_string(i + 1);
        loop.pattern = l.pipe.pattern;
        loop.spacing = s.spacing;
        loop.area = l.area.outline;
        loop.heated = withoutStraightPoints(l.pipe.pipe, 0.5);
        loop.turnIndex = nearestIndex(loop.heated, l.pipe.pipe[l.pipe.turnIndex]);
        loop.notes = l.pipe.notes;

        const Point entry = loop.heated.front();
        const Point exit = loop.heated.back();
        double o1 = slotOffset(2 * i);
        double o2 = slotOffset(2 * i + 1);
        if (strips.empty()) {
            const double inset = std::max(s.wallClearance / 2, s.pipeDiameter);
            const Point slot1 = door + left * o1;
            const Point slot2 = door + left * o2;
            if (segmentsIntersect(slot1, entry, exit, slot2) &&
                !segmentsIntersect(slot2, entry, exit, slot1))
                std::swap(o1, o2);
            loop.supplyConnection =
                withoutStraightPoints(pathInside(outline, door + left * o1, entry, inset));
            loop.returnConnection =
                withoutStraightPoints(pathInside(outline, exit, door + left * o2, inset));
        } else {
            // Along the walls, the shorter way round for the pair, each pipe
            // in its own lane; of the four ways to pair slots and lanes the
            // first whose two connections do not cross.
            const Ring& middle = strips[2];
            const double t = middle.project(door);
            const double ahead = middle.forwardDistance(t, middle.project(entry)) +
                                 middle.forwardDistance(t, middle.project(exit));
            const int direction = ahead <= middle.length() ? +1 : -1;
            bool found = false;
            for (int option = 0; option < 4 && !found; ++option) {
                const double so = option % 2 == 0 ? o1 : o2;
                const double ro = option % 2 == 0 ? o2 : o1;
                const Ring& sl = strips[option / 2];
                const Ring& rl = strips[1 - option / 2];
                Polyline sc = alongStrip(sl, door + left * so, entry, direction);
                Polyline rc = alongStrip(rl, door + left * ro, exit, direction);
                bool crossing = false;
                for (std::size_t a = 0; a + 1 < sc.size() && !crossing; ++a) {
                    for (std::size_t b = 0; b + 1 < rc.size() && !crossing; ++b)
                        crossing = segmentsIntersect(sc[a], sc[a + 1], rc[b], rc[b + 1]);
                }
                if (crossing && option < 3)
                    continue;
                found = true;
                o1 = so;
                o2 = ro;
                std::reverse(rc.begin(), rc.end());
                loop.supplyConnection = std::move(sc);
                loop.returnConnection = std::move(rc);
            }
        }
        loop.supplyLeader = offsetChain(leaderPath, o1);
        std::reverse(loop.supplyLeader.begin(), loop.supplyLeader.end());
        loop.returnLeader = offsetChain(leaderPath, o2);

        loop.heatedArea = l.area.area / 1e6;
        loop.heatedLength = length(loop.heated) / 1000;
        loop.connectionLength =
            (length(loop.supplyConnection) + length(loop.returnConnection)) / 1000;
        loop.supplyLeaderLength = length(loop.supplyLeader) / 1000;
        loop.returnLeaderLength = length(loop.returnLeader) / 1000;
        loop.routedLength = loop.heatedLength + loop.connectionLength + loop.supplyLeaderLength +
                            loop.returnLeaderLength;
        loop.withinLengthLimit = loop.routedLength <= s.maxLoopLength;
        out.tooLong = out.tooLong || !loop.withinLengthLimit;

        // What lies farther than a spacing from every pipe.
        const double reach = std::max(s.spacing, s.wallClearance) + 1;
        const Region covered =
            offsetter.intersect({l.area.outline}, offsetter.buffer({loop.heated}, reach));
        loop.uncoveredArea = std::max(0.0, (l.area.area - regionArea(covered)) / 1e6);
        out.loops.push_back(std::move(loop));
    }
    return out;
}

std::vector<Violation> checkLoops(const Room& room, const std::vector<RoutedLoop>& loops) {
    const LayoutSettings& s = room.settings;
    CheckedRoom checked;
    checked.clearance = s.wallClearance;
    checked.walls.push_back(normalized(room.outline));
    for (const NoPipeArea& npa : room.noPipeAreas) {
        if (checkOutline(npa.outline) == OutlineFault::None)
            checked.walls.push_back(normalized(npa.outline));
    }
    const bool zone = s.peripheralWidth > 0 && !room.outerWalls.empty();
    for (const RoutedLoop& loop : loops) {
        CheckedLoop c;
        c.pieces = {{loop.supplyLeader, PieceKind::Leader},
                    {loop.supplyConnection, PieceKind::Connection},
                    {loop.heated, PieceKind::Heated},
                    {loop.returnConnection, PieceKind::Connection},
                    {loop.returnLeader, PieceKind::Leader}};
        c.spacing = zone ? std::min(s.spacing, s.peripheralSpacing) : s.spacing;
        c.minBendRadius = s.bendRadiusFactor * s.pipeDiameter;
        c.routedLength = loop.routedLength;
        c.maxLength = s.maxLoopLength;
        c.uncoveredArea = loop.uncoveredArea;
        c.heatedArea = loop.heatedArea;
        c.mark = loop.heated.empty() ? Point{} : loop.heated.front();
        checked.loops.push_back(std::move(c));
    }
    return checkRoom(checked);
}

} // namespace

Polyline supplyPipe(const RoutedLoop& loop) {
    const std::size_t turn =
        std::min(loop.turnIndex, loop.heated.empty() ? 0 : loop.heated.size() - 1);
    const Polyline heated(loop.heated.begin(),
                          loop.heated.begin() +
                              static_cast<std::ptrdiff_t>(std::min(turn + 1, loop.heated.size())));
    return joined({&loop.supplyLeader, &loop.supplyConnection, &heated});
}

Polyline returnPipe(const RoutedLoop& loop) {
    const std::size_t turn = std::min(loop.turnIndex, loop.heated.size());
    const Polyline heated(loop.heated.begin() + static_cast<std::ptrdiff_t>(turn),
                          loop.heated.end());
    return joined({&heated, &loop.returnConnection, &loop.returnLeader});
}

Polyline wholePipe(const RoutedLoop& loop) {
    return joined({&loop.supplyLeader, &loop.supplyConnection, &loop.heated, &loop.returnConnection,
                   &loop.returnLeader});
}

RoomLayout routeRoom(const Plan& plan, std::size_t roomIndex) {
    RoomLayout out;
    if (roomIndex >= plan.rooms.size()) {
        out.status = RoomStatus::BadOutline;
        out.reason = "没有这个房间";
        return out;
    }
    const Room& room = plan.rooms[roomIndex];
    if (const OutlineFault fault = checkOutline(room.outline); fault != OutlineFault::None) {
        out.status = RoomStatus::BadOutline;
        out.reason = outlineFaultText(fault);
        return out;
    }
    const Polygon outline = normalized(room.outline);
    if (std::string fault = settingsFault(room.settings, outline); !fault.empty()) {
        out.status = RoomStatus::BadSettings;
        out.reason = std::move(fault);
        return out;
    }
    if (room.manifold >= plan.manifolds.size()) {
        out.status = RoomStatus::NoManifold;
        out.reason = "房间所连的分集水器不存在";
        return out;
    }
    const Point manifold = plan.manifolds[room.manifold].position;
    if (!std::isfinite(manifold.x) || !std::isfinite(manifold.y)) {
        out.status = RoomStatus::NoManifold;
        out.reason = "分集水器位置无效";
        return out;
    }

    std::vector<std::string> notes;
    if (room.settings.peripheralWidth > 1000)
        notes.push_back("边缘区宽度超过1m（EN 1264 边缘区至多1m宽）");
    OutlinePoint door;
    if (room.leaderDoor < room.doors.size()) {
        door = nearestOnOutline(outline, room.doors[room.leaderDoor].position);
    } else {
        door = nearestOnOutline(outline, manifold);
        notes.push_back("房间没有门，连接管从离分集水器最近处引出");
    }
    out.door = door.point;

    // The user's path, tied to the door and the manifold; else ours.
    Polyline path;
    for (const Point& p : room.leaderPath) {
        if (std::isfinite(p.x) && std::isfinite(p.y))
            appendPoint(path, p);
    }
    if (path.size() >= 2) {
        if (distance(path.front(), door.point) > 1)
            path.insert(path.begin(), door.point);
        if (distance(path.back(), manifold) > 1)
            path.push_back(manifold);
    } else {
        path = automaticLeaderPath(outline, door, manifold);
    }
    out.leaderPath = path;

    const Box box = bounds(outline);
    const Offsetter offsetter{{box.minX, box.minY}};
    const LayoutSettings& s = room.settings;

    std::vector<Segment> dividers;
    for (const Segment& d : room.dividers) {
        if (std::isfinite(d.a.x) && std::isfinite(d.a.y) && std::isfinite(d.b.x) &&
            std::isfinite(d.b.y))
            dividers.push_back(d);
    }
    const bool automatic = dividers.empty();
    Attempt attempt;
    if (automatic) {
        // First guess from the estimate L = A/T + 2·l, then one more loop at a
        // time while a laid loop is still too long.
        double heatedArea = area(outline);
        for (const NoPipeArea& npa : room.noPipeAreas) {
            if (checkOutline(npa.outline) == OutlineFault::None)
                heatedArea -= area(npa.outline);
        }
        const double perLoop = s.maxLoopLength - 2 * length(path) / 1000;
        const double inArea = std::max(heatedArea, 0.0) / 1e6 / (s.spacing / 1000);
        int count = 1;
        if (perLoop > 0 && inArea > perLoop)
            count =
                static_cast<int>(std::min<double>(kMaxAutomaticLoops, std::ceil(inArea / perLoop)));
        const bool fixedCount = room.loopCount > 0;
        if (fixedCount)
            count = int(std::min<std::size_t>(room.loopCount, kMaxAutomaticLoops));
        for (;; ++count) {
            dividers = equalAreaDividers(room, count, offsetter);
            attempt = layAreas(room, dividers, door.point, door.edge, path, offsetter);
            if (fixedCount || !attempt.tooLong || count >= kMaxAutomaticLoops || perLoop <= 0)
                break;
        }
        if (!attempt.tooLong)
            attempt = shiftDividers(room, dividers, std::move(attempt), [&] {
                return layAreas(room, dividers, door.point, door.edge, path, offsetter);
            });
    } else {
        attempt = layAreas(room, dividers, door.point, door.edge, path, offsetter);
    }
    out.dividers = dividers;
    out.loops = std::move(attempt.loops);
    for (std::string& n : attempt.notes)
        notes.push_back(std::move(n));
    if (out.loops.empty()) {
        out.status = RoomStatus::NothingToLay;
        out.reason = "房间内放不下一圈管";
    } else {
        out.status = RoomStatus::Routed;
    }
    out.notes = std::move(notes);
    out.violations = checkLoops(room, out.loops);
    return out;
}

std::vector<RoomLayout> routePlan(const Plan& plan) {
    std::vector<RoomLayout> out;
    out.reserve(plan.rooms.size());
    for (std::size_t i = 0; i < plan.rooms.size(); ++i)
        out.push_back(routeRoom(plan, i));
    return out;
}

} // namespace zorva::layout
