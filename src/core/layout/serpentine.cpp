// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/layout/patterns.h"
#include "core/layout/ring.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace zorva::layout {

namespace {

// Runs are laid in a frame whose x axis is the run direction; `lo`/`hi`
// are the two ends of a run.
struct Frame {
    Point u; // run direction
    Point v; // across the runs
    Point toFrame(Point p) const { return {dot(p, u), dot(p, v)}; }
    Point toWorld(Point q) const { return u * q.x + v * q.y; }
};

struct Interval {
    double lo = 0;
    double hi = 0;
};

// The x-intervals of the horizontal line at y inside the polygons (even–odd).
std::vector<Interval> slice(const std::vector<Polygon>& polygons, double y) {
    std::vector<double> xs;
    for (const Polygon& poly : polygons) {
        const std::size_t n = poly.size();
        for (std::size_t i = 0; i < n; ++i) {
            const Point a = poly[i];
            const Point b = poly[(i + 1) % n];
            if ((a.y > y) != (b.y > y))
                xs.push_back(a.x + (y - a.y) / (b.y - a.y) * (b.x - a.x));
        }
    }
    std::sort(xs.begin(), xs.end());
    std::vector<Interval> out;
    for (std::size_t i = 0; i + 1 < xs.size(); i += 2)
        out.push_back({xs[i], xs[i + 1]});
    return out;
}

struct Candidate {
    bool valid = false;
    double lost = 0;      // run length left unlaid (and hairpins), mm
    double doorReach = 0; // entry and exit to the door, mm
    Polyline pipe;        // in the frame
    std::size_t turnIndex = 0;
    bool droppedRun = false;
};

// One layout: runs across the frame's y from `fromLow` side, the first run
// starting at the `startLow` end (x low) or the high end.
Candidate build(const std::vector<Polygon>& region, const RingDepths& depths, bool fromLow,
                bool startLow, bool peripheral, Point doorInFrame) {
    Candidate c;
    double ylo = std::numeric_limits<double>::infinity(), yhi = -ylo;
    for (const Polygon& p : region) {
        for (const Point& q : p) {
            ylo = std::min(ylo, q.y);
            yhi = std::max(yhi, q.y);
        }
    }
    if (!(yhi > ylo))
        return c;
    // Run positions from the starting side: denser in the peripheral zone.
    const double eps = 1e-6;
    std::vector<double> ys;
    std::vector<double> steps; // steps[j]: distance from run j to run j+1
    double offset = 0;
    const double span = yhi - ylo;
    for (int j = 0; j < 100000 && offset <= span + eps; ++j) {
        ys.push_back(fromLow ? ylo + offset : yhi - offset);
        const double along = depths.clearance + offset; // from the starting wall
        const bool dense = peripheral && depths.peripheralWidth > 0 &&
                           along + depths.peripheralSpacing <= depths.peripheralWidth + eps;
        const double step = dense ? depths.peripheralSpacing : depths.spacing;
        steps.push_back(step);
        offset += step;
    }
    // Runs pair up supply and return: an even count brings both ends back.
    if (ys.size() % 2 == 1) {
        // The run left out counts as pipe not laid.
        const double y = std::clamp(ys.back(), ylo + 1e-3, yhi - 1e-3);
        for (const Interval& i : slice(region, y))
            c.lost += i.hi - i.lo;
        ys.pop_back();
        steps.pop_back();
        c.droppedRun = true;
    }
    if (ys.size() < 2)
        return c;
    // Without a peripheral zone the room's margin left over goes half to
    // each side, so that neither wall gets a wide strip without pipe.
    if (!peripheral) {
        const double used = std::abs(ys.back() - ys.front());
        const double shift = (span - used) / 2;
        for (double& y : ys)
            y += fromLow ? shift : -shift;
    }
    // A run may lie on an edge of the region (at exactly the clearance from
    // a wall, as beside an inner corner), where a slice is ambiguous: slice
    // just either side and keep the longer reach of the two.
    std::vector<Interval> runs;
    const auto usable = [&](double y) {
        std::vector<Interval> parts = slice(region, std::clamp(y, ylo + 1e-3, yhi - 1e-3));
        // Slivers shorter than the spacing are not runs.
        std::erase_if(parts, [&](const Interval& i) { return i.hi - i.lo < depths.spacing; });
        return parts;
    };
    for (double y : ys) {
        const std::vector<Interval> below = usable(y - 1e-3);
        const std::vector<Interval> above = usable(y + 1e-3);
        if (below.size() == 1 && above.size() == 1)
            runs.push_back(
                {std::min(below[0].lo, above[0].lo), std::max(below[0].hi, above[0].hi)});
        else if (below.size() + above.size() == 1)
            runs.push_back(below.empty() ? above[0] : below[0]);
        else
            return c;
    }
    const std::size_t n = ys.size();
    const std::size_t rows = n / 2;
    // Row r runs toward the high end when its direction is +1.
    const auto direction = [&](std::size_t r) {
        const bool even = r % 2 == 0;
        return (even == startLow) ? +1 : -1;
    };
    const auto endAt = [&](std::size_t first, std::size_t last, int dir) {
        double x = dir > 0 ? std::numeric_limits<double>::infinity()
                           : -std::numeric_limits<double>::infinity();
        for (std::size_t j = first; j <= last && j < n; ++j)
            x = dir > 0 ? std::min(x, runs[j].hi) : std::max(x, runs[j].lo);
        return x;
    };
    // Where each run starts and ends along x.
    std::vector<double> xStart(n), xEnd(n);
    {
        const int d0 = direction(0);
        const double x0 = endAt(0, 1, -d0);
        xStart[0] = xStart[1] = x0;
    }
    for (std::size_t r = 0; r < rows; ++r) {
        const int dir = direction(r);
        const std::size_t a = 2 * r;
        const std::size_t b = 2 * r + 1;
        if (r + 1 == rows) {
            const double x = endAt(a, b, dir);
            xEnd[a] = xEnd[b] = x;
            break;
        }
        // Outer turn joins run a to run b+2; inner turn joins b to a+2, set
        // in from the outer one by the wider of the neighbouring steps.
        const double outer = endAt(a, b + 2, dir);
        const double inset = std::max({steps[a], steps[b], steps[b + 1]});
        const double inner = outer - dir * inset;
        xEnd[a] = outer;
        xStart[b + 2] = outer;
        xEnd[b] = inner;
        xStart[a + 2] = inner;
    }
    // Every run must go the way of its row, longer than one step.
    for (std::size_t j = 0; j < n; ++j) {
        const int dir = direction(j / 2);
        if (dir * (xEnd[j] - xStart[j]) < depths.spacing)
            return c;
        c.lost += (runs[j].hi - runs[j].lo) - std::abs(xEnd[j] - xStart[j]);
    }

    // The pipe: from run 0 out along the supply runs (0, 3, 4, 7, 8, …),
    // across the last row and back along the return runs (…, 6, 5, 2, 1).
    std::vector<std::size_t> supply, ret;
    for (std::size_t j = 0;;) {
        supply.push_back(j);
        const std::size_t r = j / 2;
        if (r + 1 == rows)
            break;
        j = (j % 2 == 0) ? j + 3 : j + 1;
    }
    for (std::size_t j = 1;;) {
        ret.push_back(j);
        const std::size_t r = j / 2;
        if (r + 1 == rows)
            break;
        j = (j % 2 == 0) ? j + 3 : j + 1;
    }
    Polyline& pipe = c.pipe;
    for (std::size_t j : supply) {
        appendPoint(pipe, {xStart[j], ys[j]});
        appendPoint(pipe, {xEnd[j], ys[j]});
    }
    c.turnIndex = pipe.size() - 1;
    for (auto it = ret.rbegin(); it != ret.rend(); ++it) {
        appendPoint(pipe, {xEnd[*it], ys[*it]});
        appendPoint(pipe, {xStart[*it], ys[*it]});
    }
    c.doorReach = distance(pipe.front(), doorInFrame) + distance(pipe.back(), doorInFrame);
    // A connection that has to double back into the first run makes a
    // hairpin at the entry: weigh it as two spacings of pipe, less than a
    // run left out.
    const Point in = pipe.front() - doorInFrame;
    const double inLength = std::hypot(in.x, in.y);
    if (inLength > 0 && direction(0) * in.x / inLength < -0.5)
        c.lost += depths.spacing * 2;
    c.valid = true;
    return c;
}

} // namespace

LaidPipe laySerpentine(const LoopArea& area, const RingDepths& depths, Point door,
                       const Offsetter& offsetter) {
    LaidPipe out;
    out.pattern = Pattern::Serpentine;
    if (!(depths.spacing > 0))
        return out;
    const Region region = ringRegion(area, depths, 0, offsetter);
    if (region.empty()) {
        out.notes.push_back("环路区域太小，放不下一圈管");
        return out;
    }

    // Run directions: along the first outer wall when there is a peripheral
    // zone (the dense runs lie along it, starting there), else along the
    // longest edge or across it.
    const std::size_t edges = area.outline.size();
    std::optional<std::size_t> outer;
    std::size_t longest = 0;
    double longestLength = -1;
    for (std::size_t i = 0; i < edges; ++i) {
        const double len = distance(area.outline[i], area.outline[(i + 1) % edges]);
        if (len > longestLength) {
            longestLength = len;
            longest = i;
        }
        if (!outer && i < area.edges.size() && area.edges[i] == EdgeKind::OuterWall)
            outer = i;
    }
    const bool peripheral = outer && depths.peripheralWidth > 0;
    const std::size_t base = peripheral ? *outer : longest;
    const Point e = area.outline[(base + 1) % edges] - area.outline[base];
    const Point u0 = e * (1 / std::hypot(e.x, e.y));

    Candidate best;
    Frame bestFrame;
    for (int turn = 0; turn < (peripheral ? 1 : 2); ++turn) {
        const Point u = turn == 0 ? u0 : Point{-u0.y, u0.x};
        const Frame frame{u, {-u.y, u.x}};
        std::vector<Polygon> local;
        for (const Polygon& p : region) {
            Polygon q;
            for (const Point& x : p)
                q.push_back(frame.toFrame(x));
            local.push_back(std::move(q));
        }
        // The outer wall lies on the low side of the frame: counter-clockwise
        // outlines keep the inside on the left of each edge.
        for (bool fromLow : {true, false}) {
            if (peripheral && !fromLow)
                continue;
            for (bool startLow : {true, false}) {
                Candidate c =
                    build(local, depths, fromLow, startLow, peripheral, frame.toFrame(door));
                if (!c.valid)
                    continue;
                // Pipe not laid and pipe spent reaching the door weigh alike.
                const bool better =
                    !best.valid || c.lost + c.doorReach < best.lost + best.doorReach - 1e-6;
                if (better) {
                    best = std::move(c);
                    bestFrame = frame;
                }
            }
        }
    }
    if (!best.valid) {
        LaidPipe spiral = laySpiral(area, depths, door, offsetter);
        spiral.notes.insert(spiral.notes.begin(), "往复形的管段会被区域形状截断，已改用回形");
        return spiral;
    }
    for (const Point& p : best.pipe)
        out.pipe.push_back(bestFrame.toWorld(p));
    out.turnIndex = best.turnIndex;
    if (best.droppedRun)
        out.notes.push_back("往复形需成对的管段，最远一侧少铺一根");
    out.laid = true;
    return out;
}

} // namespace zorva::layout
