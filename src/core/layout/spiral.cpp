// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/layout/patterns.h"
#include "core/layout/ring.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace zorva::layout {

namespace {

// More rings than any floor needs: 1 km of depth at 100 mm.
constexpr int kMaxRings = 10000;

struct Turn {
    Ring ring;
    double c = 0; // where the ring's walk starts (C)
    double h = 0; // the middle of the gap left for the other pipe (H)
    double g = 0; // where the ring's walk ends (G)
};

Ring walked(const Polygon& outline, int sign) {
    // Steps below a millimetre (where a cut of 1 mm joins an island to the
    // outline) are no bends of a pipe.
    Polygon p = normalized(outline, 1.0);
    if ((signedArea(p) > 0) != (sign > 0))
        std::reverse(p.begin(), p.end());
    return Ring(std::move(p));
}

// The part of the region whose outline passes nearest to p.
const Region* nearestPart(const std::vector<Region>& parts, Point p) {
    const Region* best = nullptr;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (const Region& r : parts) {
        if (r.empty() || r.front().size() < 3)
            continue;
        const double d = contains(r.front(), p) ? 0 : distanceToOutline(r.front(), p);
        if (d < bestDistance) {
            bestDistance = d;
            best = &r;
        }
    }
    return best;
}

} // namespace

LaidPipe laySpiral(const LoopArea& area, const RingDepths& depths, Point door,
                   const Offsetter& offsetter) {
    LaidPipe out;
    out.pattern = Pattern::Spiral;
    const double gap = depths.spacing;
    if (!(gap > 0))
        return out;

    const std::vector<Region> first = offsetter.parts(ringRegion(area, depths, 0, offsetter));
    const Region* start = nearestPart(first, door);
    if (!start) {
        out.notes.push_back("环路区域太小，放不下一圈管");
        return out;
    }
    if (first.size() > 1)
        out.notes.push_back("离墙距离处环路区域分成几块，只铺离门最近的一块");

    // Walk direction and start: a convex corner of the first ring ahead of
    // the door, the nearest in either direction, makes every jump between
    // rings a straight step across the corner (elsewhere the jumps step
    // back one gap per ring and bend where they meet a corner). Without
    // corners, start half a gap ahead of the door.
    const Ring ccw = walked(start->front(), +1);
    const Ring cw = walked(start->front(), -1);
    const double reachAhead = std::numeric_limits<double>::infinity();
    int sign = +1;
    double c0 = ccw.project(door) + gap / 2;
    double nearest = std::numeric_limits<double>::infinity();
    for (int s : {+1, -1}) {
        const Ring& r = s > 0 ? ccw : cw;
        const double here = r.project(door);
        for (double corner : r.turns(std::numbers::pi / 3, s)) {
            const double ahead = r.forwardDistance(here, corner);
            if (ahead <= reachAhead && ahead < nearest) {
                nearest = ahead;
                sign = s;
                c0 = corner;
            }
        }
    }

    std::vector<Turn> turns;
    turns.push_back({sign > 0 ? ccw : cw, c0, 0, 0});
    bool split = false;
    for (int k = 0; k < kMaxRings; ++k) {
        Turn& t = turns.back();
        if (t.ring.length() < 4 * gap)
            break;
        t.h = t.c - gap;
        const Point h = t.ring.at(t.h);
        const std::vector<Region> next =
            offsetter.parts(ringRegion(area, depths, k + 1, offsetter));
        const Region* part = nearestPart(next, h);
        if (!part)
            break;
        split = split || next.size() > 1;
        Ring ring = walked(part->front(), sign);
        if (ring.length() < 4 * gap)
            break;
        const double c = ring.project(h);
        turns.push_back({std::move(ring), c, 0, 0});
    }
    if (turns.back().ring.length() < 4 * gap)
        turns.pop_back();
    if (split)
        out.notes.push_back("环路区域向内分成几块，只沿一块铺到中心，其余未铺管（可加分隔线）");

    // Where each ring's walk ends: just outside the next ring's gap, so that
    // the jump to the ring after next crosses the next one in its gap.
    std::size_t count = turns.size();
    for (std::size_t k = 0; k < count; ++k) {
        Turn& t = turns[k];
        t.h = t.c - gap;
        if (k + 1 < count) {
            const Turn& n = turns[k + 1];
            t.g = t.ring.project(n.ring.at(n.c - gap));
        } else {
            t.g = t.c - 2 * gap;
        }
        const auto fits = [&] {
            const double back = t.ring.forwardDistance(t.g, t.c);
            return back >= 1.5 * gap && back <= t.ring.length() - gap;
        };
        if (fits())
            continue;
        // The rings no longer run side by side here: end the spiral on this
        // ring, or before it.
        t.g = t.c - 2 * gap;
        if (fits()) {
            count = k + 1;
        } else {
            count = k;
            if (k > 0)
                turns[k - 1].g = turns[k - 1].c - 2 * gap;
        }
        break;
    }
    turns.resize(count);
    if (count == 0) {
        out.notes.push_back("环路区域太小，放不下一圈管");
        return out;
    }

    Polyline& pipe = out.pipe;
    if (count == 1) {
        const Turn& t = turns[0];
        t.ring.appendForward(pipe, t.c, t.h);
        // A single ring turns back nowhere: call its middle the turn.
        const double half = length(pipe) / 2;
        double walked = 0;
        for (std::size_t i = 0; i + 1 < pipe.size(); ++i) {
            walked += distance(pipe[i], pipe[i + 1]);
            if (walked >= half) {
                out.turnIndex = i + 1;
                break;
            }
        }
        out.laid = pipe.size() >= 2;
        return out;
    }

    const auto chain = [&](std::size_t parity) {
        Polyline c;
        for (std::size_t k = parity; k < count; k += 2) {
            turns[k].ring.appendForward(c, turns[k].c, turns[k].g);
            if (k + 2 < count)
                appendPoint(c, turns[k + 1].ring.at(turns[k + 1].h));
        }
        return c;
    };
    const Polyline even = chain(0);
    Polyline odd = chain(1);
    std::reverse(odd.begin(), odd.end());

    const std::size_t m = count - 1;
    const Turn& last = turns[m];
    for (const Point& p : even)
        appendPoint(pipe, p);
    if (m % 2 == 1) {
        // The supply ends on ring m-1, steps into the gap of ring m and walks
        // it backwards into the return.
        appendPoint(pipe, last.ring.at(last.h));
        out.turnIndex = pipe.size() - 1;
        last.ring.appendBackward(pipe, last.h, last.g);
    } else {
        // The supply ends on ring m, walks on into its gap and steps out to
        // the return on ring m-1.
        last.ring.appendForward(pipe, last.g, last.h);
        out.turnIndex = pipe.size() - 1;
    }
    for (const Point& p : odd)
        appendPoint(pipe, p);
    // Out through the first ring's gap.
    appendPoint(pipe, turns[0].ring.at(turns[0].h));
    out.laid = true;
    return out;
}

} // namespace zorva::layout
