// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/layout/ring.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zorva::layout {

void appendPoint(Polyline& out, Point p) {
    if (out.empty() || distance(out.back(), p) > 1e-3)
        out.push_back(p);
}

Polyline withoutStraightPoints(const Polyline& chain, double tolerance) {
    Polyline out;
    out.reserve(chain.size());
    for (const Point& p : chain) {
        if (!out.empty() && distance(out.back(), p) <= tolerance)
            continue;
        // The last kept point is dropped when it lies on the way from its
        // predecessor to p, going on in the same direction.
        while (out.size() >= 2) {
            const Point a = out[out.size() - 2];
            const Point b = out.back();
            const double base = distance(a, p);
            if (base <= 0 || std::abs(cross(p - a, b - a)) / base > tolerance ||
                dot(b - a, p - b) <= 0)
                break;
            out.pop_back();
        }
        out.push_back(p);
    }
    return out;
}

Ring::Ring(Polygon outline) : points_(std::move(outline)) {
    start_.reserve(points_.size());
    double sum = 0;
    for (std::size_t i = 0; i < points_.size(); ++i) {
        start_.push_back(sum);
        sum += distance(points_[i], points_[(i + 1) % points_.size()]);
    }
    length_ = sum;
}

double Ring::wrap(double t) const {
    if (length_ <= 0)
        return 0;
    double w = std::fmod(t, length_);
    if (w < 0)
        w += length_;
    if (w >= length_)
        w = 0;
    return w;
}

Point Ring::at(double t) const {
    if (points_.empty())
        return {};
    const double w = wrap(t);
    // The last vertex whose start is not beyond w.
    const auto it = std::upper_bound(start_.begin(), start_.end(), w);
    const std::size_t i = static_cast<std::size_t>(
        std::max<std::ptrdiff_t>(0, std::distance(start_.begin(), it) - 1));
    const Point a = points_[i];
    const Point b = points_[(i + 1) % points_.size()];
    const double segment = distance(a, b);
    if (segment <= 0)
        return a;
    return a + (b - a) * ((w - start_[i]) / segment);
}

double Ring::project(Point p) const {
    double best = std::numeric_limits<double>::infinity();
    double position = 0;
    for (std::size_t i = 0; i < points_.size(); ++i) {
        const Point a = points_[i];
        const Point b = points_[(i + 1) % points_.size()];
        const Point q = nearestOnSegment(p, a, b);
        const double d = distance(p, q);
        if (d < best) {
            best = d;
            position = start_[i] + distance(a, q);
        }
    }
    return wrap(position);
}

double Ring::forwardDistance(double from, double to) const {
    return wrap(to - from);
}

std::vector<double> Ring::turns(double minTurnRadians, int sign) const {
    std::vector<double> turns;
    const std::size_t n = points_.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Point in = points_[i] - points_[(i + n - 1) % n];
        const Point out = points_[(i + 1) % n] - points_[i];
        const double turn = std::atan2(cross(in, out), dot(in, out));
        if (sign * turn >= minTurnRadians)
            turns.push_back(start_[i]);
    }
    return turns;
}

void Ring::appendForward(Polyline& out, double from, double to) const {
    const double span = forwardDistance(from, to);
    const double begin = wrap(from);
    appendPoint(out, at(begin));
    // Vertices strictly inside the span, in walking order.
    const std::size_t n = points_.size();
    const auto first = std::upper_bound(start_.begin(), start_.end(), begin);
    std::size_t i = static_cast<std::size_t>(std::distance(start_.begin(), first)) % n;
    for (std::size_t step = 0; step < n; ++step, i = (i + 1) % n) {
        const double ahead = forwardDistance(begin, start_[i]);
        if (ahead <= 0 || ahead >= span)
            break;
        appendPoint(out, points_[i]);
    }
    appendPoint(out, at(begin + span));
}

void Ring::appendBackward(Polyline& out, double from, double to) const {
    const double span = forwardDistance(to, from);
    const double begin = wrap(from);
    appendPoint(out, at(begin));
    const std::size_t n = points_.size();
    // The last vertex at or before `begin`, then backwards.
    const auto after = std::upper_bound(start_.begin(), start_.end(), begin);
    std::size_t i = static_cast<std::size_t>(
        (std::distance(start_.begin(), after) + static_cast<std::ptrdiff_t>(n) - 1) %
        static_cast<std::ptrdiff_t>(n));
    for (std::size_t step = 0; step < n; ++step, i = (i + n - 1) % n) {
        const double behind = forwardDistance(start_[i], begin);
        if (behind <= 0) {
            continue; // the vertex at `begin` itself was appended as at(begin)
        }
        if (behind >= span)
            break;
        appendPoint(out, points_[i]);
    }
    appendPoint(out, at(begin - span));
}

} // namespace zorva::layout
