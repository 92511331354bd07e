// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/layout/rules.h"
#include "core/layout/ring.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_map>

namespace zorva::layout {

const char* ruleKey(Rule rule) {
    switch (rule) {
    case Rule::BendRadius:
        return "bendRadius";
    case Rule::Spacing:
        return "spacing";
    case Rule::WallClearance:
        return "wallClearance";
    case Rule::Crossing:
        return "crossing";
    case Rule::LoopLength:
        return "loopLength";
    case Rule::Uncovered:
        return "uncovered";
    }
    return "";
}

double availableBendRadius(Point a, Point b, Point c) {
    const Point in = b - a;
    const Point out = c - b;
    const double li = std::hypot(in.x, in.y);
    const double lo = std::hypot(out.x, out.y);
    if (li <= 0 || lo <= 0)
        return std::numeric_limits<double>::infinity();
    const double turn = std::atan2(std::abs(cross(in, out)), dot(in, out));
    if (turn < 1e-6)
        return std::numeric_limits<double>::infinity();
    return std::min(li, lo) / 2 / std::tan(turn / 2);
}

namespace {

struct Seg {
    Point a, b;
    std::size_t loop = 0;
    PieceKind kind = PieceKind::Heated;
    double along = 0;      // distance along the loop's pipe at a, mm
    std::size_t index = 0; // position along the loop's pipe
};

struct Closest {
    double distance = 0;
    Point p, q;    // on the first and the second segment
    double tp = 0; // distance of p from the first segment's start
    double tq = 0;
};

Closest closest(const Seg& s, const Seg& t) {
    Closest c;
    if (const auto x = segmentCrossing(s.a, s.b, t.a, t.b)) {
        c.distance = 0;
        c.p = c.q = *x;
    } else {
        const Point cand[4][2] = {{s.a, nearestOnSegment(s.a, t.a, t.b)},
                                  {s.b, nearestOnSegment(s.b, t.a, t.b)},
                                  {nearestOnSegment(t.a, s.a, s.b), t.a},
                                  {nearestOnSegment(t.b, s.a, s.b), t.b}};
        c.distance = std::numeric_limits<double>::infinity();
        for (const auto& pq : cand) {
            const double d = distance(pq[0], pq[1]);
            if (d < c.distance) {
                c.distance = d;
                c.p = pq[0];
                c.q = pq[1];
            }
        }
    }
    c.tp = distance(s.a, c.p);
    c.tq = distance(t.a, c.q);
    return c;
}

std::string formatted(const char* format, double a, double b) {
    char text[160];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

class Findings {
public:
    // Adds the finding unless one of the same rule and loop lies within
    // `merge` mm.
    void add(Violation v, double merge) {
        for (const Violation& w : list_) {
            if (w.rule == v.rule && w.loop == v.loop && distance(w.position, v.position) < merge)
                return;
        }
        list_.push_back(std::move(v));
    }
    std::vector<Violation> take() { return std::move(list_); }

private:
    std::vector<Violation> list_;
};

// Buckets of segments by the grid cells their reach covers.
class Grid {
public:
    Grid(const std::vector<Seg>& segs, double cell) : cell_(std::max(cell, 1.0)) {
        for (std::size_t i = 0; i < segs.size(); ++i)
            forCells(segs[i], 0, [&](long long key) { cells_[key].push_back(i); });
    }
    template <typename F> void forCells(const Seg& s, double reach, F f) const {
        const long long x0 = std::llround(std::floor((std::min(s.a.x, s.b.x) - reach) / cell_));
        const long long x1 = std::llround(std::floor((std::max(s.a.x, s.b.x) + reach) / cell_));
        const long long y0 = std::llround(std::floor((std::min(s.a.y, s.b.y) - reach) / cell_));
        const long long y1 = std::llround(std::floor((std::max(s.a.y, s.b.y) + reach) / cell_));
        // A segment spanning more than a million cells is not a plan's.
        if ((x1 - x0 + 1) * (y1 - y0 + 1) > 1000000)
            return;
        for (long long x = x0; x <= x1; ++x)
            for (long long y = y0; y <= y1; ++y)
                f(x * 73856093LL ^ y * 19349663LL);
    }
    const std::vector<std::size_t>* at(long long key) const {
        const auto it = cells_.find(key);
        return it == cells_.end() ? nullptr : &it->second;
    }

private:
    double cell_;
    std::unordered_map<long long, std::vector<std::size_t>> cells_;
};

} // namespace

std::vector<Violation> checkRoom(const CheckedRoom& room) {
    Findings findings;
    std::vector<Seg> heated;
    double reach = room.clearance;
    for (std::size_t l = 0; l < room.loops.size(); ++l) {
        const CheckedLoop& loop = room.loops[l];
        reach = std::max(reach, loop.spacing);
        // Distances along the whole pipe tell one bend from two pipes.
        double along = 0;
        std::size_t index = 0;
        for (const PipePiece& piece : loop.pieces) {
            for (std::size_t i = 0; i + 1 < piece.points.size(); ++i) {
                const Point a = piece.points[i];
                const Point b = piece.points[i + 1];
                const double len = distance(a, b);
                if (len <= 0)
                    continue;
                if (piece.kind == PieceKind::Heated)
                    heated.push_back({a, b, l, piece.kind, along, index});
                along += len;
                ++index;
            }
            if (piece.kind != PieceKind::Heated)
                continue;
            // The bends of the pattern; leaders and connections are drawn as
            // their course along walls and corridors and bent on site.
            const Polyline bends = withoutStraightPoints(piece.points);
            for (std::size_t i = 1; i + 1 < bends.size(); ++i) {
                const double r = availableBendRadius(bends[i - 1], bends[i], bends[i + 1]);
                if (r < loop.minBendRadius - 0.5) {
                    findings.add(
                        {Rule::BendRadius, Severity::Error, bends[i], l, r, loop.minBendRadius,
                         formatted("弯曲半径%.0fmm小于最小弯曲半径%.0fmm", r, loop.minBendRadius)},
                        1);
                }
            }
        }
        if (loop.routedLength > loop.maxLength) {
            findings.add({Rule::LoopLength, Severity::Warning, loop.mark, l, loop.routedLength,
                          loop.maxLength,
                          formatted("环路长度%.1fm超过%.0fm（JGJ 142 §3.5）", loop.routedLength,
                                    loop.maxLength)},
                         0);
        }
        if (loop.heatedArea > 0 && loop.uncoveredArea > 0.05 * loop.heatedArea) {
            findings.add({Rule::Uncovered, Severity::Info, loop.mark, l, loop.uncoveredArea,
                          0.05 * loop.heatedArea,
                          formatted("有%.2fm²未铺管（环路区域%.2fm²）", loop.uncoveredArea,
                                    loop.heatedArea)},
                         0);
        }
    }

    // Pipe against pipe.
    const Grid grid(heated, reach);
    std::vector<std::size_t> seen(heated.size(), static_cast<std::size_t>(-1));
    for (std::size_t i = 0; i < heated.size(); ++i) {
        const Seg& s = heated[i];
        grid.forCells(s, reach, [&](long long key) {
            const std::vector<std::size_t>* bucket = grid.at(key);
            if (!bucket)
                return;
            for (std::size_t j : *bucket) {
                if (j <= i || seen[j] == i)
                    continue;
                seen[j] = i;
                const Seg& t = heated[j];
                const bool sameLoop = s.loop == t.loop;
                if (sameLoop && t.index == s.index + 1 && distance(s.b, t.a) < 1e-6)
                    continue;
                const Closest c = closest(s, t);
                const double limit =
                    std::min(room.loops[s.loop].spacing, room.loops[t.loop].spacing);
                if (c.distance >= limit - 1)
                    continue;
                // Points near each other along the same pipe are one bend,
                // not two pipes.
                if (sameLoop) {
                    const double path = std::abs((t.along + c.tq) - (s.along + c.tp));
                    if (path <= c.distance + 2 * limit)
                        continue;
                }
                const Point mid = (c.p + c.q) * 0.5;
                if (c.distance == 0) {
                    findings.add({Rule::Crossing, Severity::Error, mid, s.loop, 0, 0, "盘管交叉"},
                                 1);
                } else {
                    findings.add({Rule::Spacing, Severity::Error, mid, s.loop, c.distance, limit,
                                  formatted("管间距%.0fmm小于%.0fmm", c.distance, limit)},
                                 limit);
                }
            }
        });
    }

    // Pipe against walls and no-pipe areas.
    for (const Seg& s : heated) {
        for (const Polygon& wall : room.walls) {
            const std::size_t n = wall.size();
            for (std::size_t k = 0; k < n; ++k) {
                const Seg w{wall[k], wall[(k + 1) % n], 0, PieceKind::Leader, 0, 0};
                const Closest c = closest(s, w);
                if (c.distance >= room.clearance - 1)
                    continue;
                findings.add({Rule::WallClearance, Severity::Error, c.p, s.loop, c.distance,
                              room.clearance,
                              formatted("离墙%.0fmm小于%.0fmm", c.distance, room.clearance)},
                             room.loops[s.loop].spacing);
            }
        }
    }
    return findings.take();
}

} // namespace zorva::layout
