// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/plan/plantyping.h"

#include <QRegularExpression>

#include <cmath>
#include <numbers>

namespace zorva::models {

namespace {

// Full-width digits, commas and signs as the input method may give them.
QString plain(const QString& text) {
    QString out = text.trimmed();
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E) // full-width ASCII
            c = QChar(char16_t(u - 0xFEE0));
        else if (u == 0x3000)
            c = QLatin1Char(' ');
    }
    return out;
}

std::optional<double> number(const QString& text) {
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

bool inRange(double v) {
    return v >= kMinTypedLength && v <= kMaxTypedLength;
}

double toMillimetre(double m) {
    return std::round(m * 1000) / 1000;
}

} // namespace

std::optional<TypedSize> parseTypedSize(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral(
        R"(^([0-9]+(?:\.[0-9]*)?|\.[0-9]+)\s*(?:[xX×*]|\s)\s*([0-9]+(?:\.[0-9]*)?|\.[0-9]+)$)"));
    const QRegularExpressionMatch m = pattern.match(plain(text));
    if (!m.hasMatch())
        return std::nullopt;
    const std::optional<double> w = number(m.captured(1));
    const std::optional<double> d = number(m.captured(2));
    if (!w || !d || !inRange(*w) || !inRange(*d))
        return std::nullopt;
    return TypedSize{*w, *d};
}

std::optional<project::PlanPoint> parseTypedPoint(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^([-+]?[0-9.]+)\s*[,，]\s*([-+]?[0-9.]+)$)"));
    const QRegularExpressionMatch m = pattern.match(plain(text));
    if (!m.hasMatch())
        return std::nullopt;
    const std::optional<double> x = number(m.captured(1));
    const std::optional<double> y = number(m.captured(2));
    constexpr double kFar = 1e6; // m, as far as the plan reaches
    if (!x || !y || std::abs(*x) > kFar || std::abs(*y) > kFar)
        return std::nullopt;
    return project::PlanPoint{toMillimetre(*x), toMillimetre(*y)};
}

std::optional<double> parseTypedLength(const QString& text) {
    const std::optional<double> v = number(plain(text));
    if (!v || !inRange(*v))
        return std::nullopt;
    return v;
}

std::optional<project::PlanPoint> parseTypedSegment(const QString& text, project::PlanPoint from) {
    const QString t = plain(text);
    static const QRegularExpression direction(QStringLiteral(R"(^(右|左|上|下)\s*([0-9.]+)$)"));
    static const QRegularExpression polar(QStringLiteral(R"(^([0-9.]+)\s*@\s*([-+]?[0-9.]+)$)"));
    static const QRegularExpression step(
        QStringLiteral(R"(^@\s*([-+]?[0-9.]+)\s*,\s*([-+]?[0-9.]+)$)"));
    double dx = 0, dy = 0;
    if (const QRegularExpressionMatch m = direction.match(t); m.hasMatch()) {
        const std::optional<double> len = number(m.captured(2));
        if (!len || !inRange(*len))
            return std::nullopt;
        const QString d = m.captured(1);
        dx = d == QStringLiteral("右") ? *len : d == QStringLiteral("左") ? -*len : 0;
        dy = d == QStringLiteral("上") ? *len : d == QStringLiteral("下") ? -*len : 0;
    } else if (const QRegularExpressionMatch m = polar.match(t); m.hasMatch()) {
        const std::optional<double> len = number(m.captured(1));
        const std::optional<double> degrees = number(m.captured(2));
        if (!len || !degrees || !inRange(*len) || std::abs(*degrees) > 360)
            return std::nullopt;
        // Right angles exactly: cos 90° is not 0 in binary.
        const double turns = *degrees / 90;
        if (turns == std::round(turns)) {
            const int quarter = ((int(turns) % 4) + 4) % 4;
            dx = quarter == 0 ? *len : quarter == 2 ? -*len : 0;
            dy = quarter == 1 ? *len : quarter == 3 ? -*len : 0;
        } else {
            const double a = *degrees * std::numbers::pi / 180;
            dx = *len * std::cos(a);
            dy = *len * std::sin(a);
        }
    } else if (const QRegularExpressionMatch m = step.match(t); m.hasMatch()) {
        const std::optional<double> x = number(m.captured(1));
        const std::optional<double> y = number(m.captured(2));
        if (!x || !y || std::abs(*x) > kMaxTypedLength || std::abs(*y) > kMaxTypedLength ||
            std::hypot(*x, *y) < kMinTypedLength)
            return std::nullopt;
        dx = *x;
        dy = *y;
    } else {
        return std::nullopt;
    }
    return project::PlanPoint{toMillimetre(from.x + dx), toMillimetre(from.y + dy)};
}

} // namespace zorva::models
