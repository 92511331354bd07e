// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/curves/fieldchart.h"

#include "core/engine/numtext.h"

#include <QCursor>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace zorva::ui {

namespace {

using models::PlotSeries;

const QColor kLineColors[] = {QColor(0x1f, 0x77, 0xb4), QColor(0xff, 0x7f, 0x0e),
                              QColor(0x2c, 0xa0, 0x2c), QColor(0x94, 0x67, 0xbd),
                              QColor(0x8c, 0x56, 0x4b), QColor(0x17, 0xbe, 0xcf)};
const QColor kLimitColor(0xd6, 0x27, 0x28);

QString fixed(double value, int decimals) {
    const NumberText text = patternText(value, decimals);
    return QString::fromLatin1(text.view().data(), static_cast<qsizetype>(text.size()));
}

// A step of 1, 2 or 5 times a power of ten that cuts `value` into at most
// ten parts.
double niceStep(double value) {
    if (!(value > 0) || !std::isfinite(value))
        return 1;
    const double raw = value / 10;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (m * magnitude >= raw)
            return m * magnitude;
    return 10 * magnitude;
}

// The axis from 0 to the first step at or above `value`, a tick per step.
void setNiceRange(QValueAxis* axis, double value) {
    const double step = niceStep(value);
    const double top = !(value > 0) || !std::isfinite(value) ? 1 : std::ceil(value / step) * step;
    axis->setRange(0, top);
    axis->setTickCount(int(std::lround(top / step)) + 1);
}

QValueAxis* newAxis(QChart* chart, Qt::Alignment where) {
    auto* axis = new QValueAxis(chart);
    axis->setLabelFormat(QStringLiteral("%g"));
    chart->addAxis(axis, where);
    return axis;
}

} // namespace

FieldChart::FieldChart(QWidget* parent) : QChartView(new QChart, parent) {
    setRenderHint(QPainter::Antialiasing);
    QChart* chart = this->chart();
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignRight);
    chart->setMargins(QMargins(4, 4, 4, 4));
    x_ = newAxis(chart, Qt::AlignBottom);
    y_ = newAxis(chart, Qt::AlignLeft);
}

void FieldChart::setPlot(const models::FieldPlot& plot) {
    QChart* chart = this->chart();
    chart->removeAllSeries(); // deletes them
    drawn_.clear();
    chart->setTitle(plot.title);
    x_->setTitleText(plot.xTitle);
    y_->setTitleText(plot.yTitle);
    setAccessibleDescription(plot.title);

    double right = 0;
    double top = 0;
    int color = 0;
    bool limitInLegend = false;
    for (const PlotSeries& s : plot.series) {
        for (const QPointF& p : s.points) {
            right = std::max(right, p.x());
            top = std::max(top, p.y());
        }
        QXYSeries* series = nullptr;
        bool inLegend = true;
        switch (s.kind) {
        case PlotSeries::Kind::Line: {
            auto* line = new QLineSeries;
            const QColor c = kLineColors[color++ % std::size(kLineColors)];
            line->setPen(QPen(c, s.current ? 3.5 : 2));
            series = line;
            break;
        }
        case PlotSeries::Kind::LimitCurve: {
            auto* line = new QLineSeries;
            line->setPen(QPen(kLimitColor, 1.4, Qt::DashLine));
            inLegend = !limitInLegend;
            limitInLegend = true;
            series = line;
            break;
        }
        case PlotSeries::Kind::Limit: {
            auto* line = new QLineSeries;
            line->setPen(QPen(QColor(0x33, 0x33, 0x33), 1.6, Qt::DashDotLine));
            series = line;
            break;
        }
        case PlotSeries::Kind::LimitPoints: {
            auto* points = new QScatterSeries;
            points->setMarkerSize(7);
            points->setColor(kLimitColor);
            points->setBorderColor(kLimitColor);
            series = points;
            break;
        }
        case PlotSeries::Kind::DesignPoint: {
            auto* point = new QScatterSeries;
            point->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
            point->setMarkerSize(11);
            point->setColor(Qt::black);
            series = point;
            break;
        }
        }
        series->setName(s.name);
        series->append(QList<QPointF>(s.points.begin(), s.points.end()));
        chart->addSeries(series);
        series->attachAxis(x_);
        series->attachAxis(y_);
        // One legend entry stands for every limit curve.
        for (QLegendMarker* marker : chart->legend()->markers(series)) {
            if (!inLegend)
                marker->setVisible(false);
            else if (s.kind == PlotSeries::Kind::LimitCurve)
                marker->setLabel(QStringLiteral("极限曲线 q_G(Δθ_H)"));
        }
        connect(series, &QXYSeries::hovered, this, [this, series](const QPointF& at, bool state) {
            if (!state) {
                QToolTip::hideText();
                return;
            }
            // The nearest point of the series.
            const QList<QPointF> points = series->points();
            if (points.isEmpty())
                return;
            const auto nearest =
                std::min_element(points.begin(), points.end(), [&at](QPointF a, QPointF b) {
                    return std::abs(a.x() - at.x()) < std::abs(b.x() - at.x());
                });
            QToolTip::showText(QCursor::pos(), QStringLiteral("%1\n%2 K，%3 W/m²")
                                                   .arg(series->name(), fixed(nearest->x(), 2),
                                                        fixed(nearest->y(), 1)));
        });
        drawn_.append(series);
    }
    setNiceRange(x_, right);
    setNiceRange(y_, top * 1.05);
}

} // namespace zorva::ui
