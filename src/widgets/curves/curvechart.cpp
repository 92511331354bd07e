// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/curves/curvechart.h"

#include "core/engine/designcheck.h"
#include "core/engine/numtext.h"
#include "models/curves/curvesmodel.h"

#include <QCategoryAxis>
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

const QColor kCurveColors[] = {QColor(0x1f, 0x77, 0xb4), QColor(0xff, 0x7f, 0x0e),
                               QColor(0x2c, 0xa0, 0x2c), QColor(0x94, 0x67, 0xbd),
                               QColor(0x8c, 0x56, 0x4b), QColor(0x17, 0xbe, 0xcf)};

QString fixed(double value, int decimals) {
    const NumberText text = patternText(value, decimals);
    return QString::fromLatin1(text.view().data(), static_cast<qsizetype>(text.size()));
}

QString general(double value) {
    const NumberText text = generalText(value);
    return QString::fromLatin1(text.view().data(), static_cast<qsizetype>(text.size()));
}

// A step of 1, 2 or 5 times a power of ten that cuts `span` into at most
// `parts` parts.
double niceStep(double span, int parts) {
    if (!(span > 0) || !std::isfinite(span))
        return 1;
    const double raw = span / parts;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (m * magnitude >= raw)
            return m * magnitude;
    return 10 * magnitude;
}

QValueAxis* newValueAxis(QObject* parent, const QString& title) {
    auto* axis = new QValueAxis(parent);
    axis->setTitleText(title);
    axis->setLabelFormat(QStringLiteral("%g"));
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    return axis;
}

// Each change of a series' look lays the legend out again, so only real
// changes are made.
void restyle(QLineSeries* line, const QPen& pen, bool points) {
    if (line->pen() != pen)
        line->setPen(pen);
    if (line->pointsVisible() != points)
        line->setPointsVisible(points);
}

void setNameIfChanged(QAbstractSeries* series, const QString& name) {
    if (series->name() != name)
        series->setName(name);
}

void setLegendShown(QChart* chart, QLineSeries* series, bool shown) {
    for (QLegendMarker* marker : chart->legend()->markers(series))
        marker->setVisible(shown);
}

} // namespace

// The chart is given to the view at construction: a chart set later would
// leave the view's own first chart to its caller.
CurveChart::CurveChart(CurveFamily family, QWidget* parent)
    : QChartView(new QChart, parent), family_(family) {
    setRenderHint(QPainter::Antialiasing);
    QChart* chart = this->chart();
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignRight);
    chart->setMargins(QMargins(4, 4, 4, 4));
    // The items change on every update; an index of them would be rebuilt each time.
    scene()->setItemIndexMethod(QGraphicsScene::NoIndex);

    excessAxis_ = newValueAxis(chart, QStringLiteral("平均水温 − 室温 (K)"));
    supplyAxis_ = newValueAxis(chart, QStringLiteral("供水温度 (℃)"));
    supplyAxis_->setGridLineVisible(false);
    outputAxis_ = newValueAxis(chart, QStringLiteral("散热量 (W/m²)"));
    floorAxis_ = new QCategoryAxis(chart);
    floorAxis_->setTitleText(QStringLiteral("地面平均温度 (℃)"));
    floorAxis_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    floorAxis_->setGridLineVisible(false);
    chart->addAxis(excessAxis_, Qt::AlignBottom);
    chart->addAxis(supplyAxis_, Qt::AlignTop);
    chart->addAxis(outputAxis_, Qt::AlignLeft);
    chart->addAxis(floorAxis_, Qt::AlignRight);

    // The named lines of the largest family come first, so the legend lists
    // the curves before the overlays.
    for (int c = 0; c < 6; ++c)
        lines_.push_back({newLine(c, true)});
    for (auto& lines : lines_)
        lines.front()->setVisible(false);

    limit_ = new QLineSeries(chart);
    limit_->setPen(QPen(QColor(0xd6, 0x27, 0x28), 1.6, Qt::DashLine));
    load_ = new QLineSeries(chart);
    load_->setPen(QPen(QColor(0x33, 0x33, 0x33), 1.6, Qt::DashDotLine));
    design_ = new QScatterSeries(chart);
    design_->setName(QStringLiteral("设计点"));
    design_->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    design_->setMarkerSize(11);
    design_->setColor(Qt::black);
    design_->setBorderColor(Qt::white);
    // Both vertical axes hold the overlays, so the floor-temperature axis
    // is drawn and scaled with the output axis.
    for (QAbstractSeries* s :
         {static_cast<QAbstractSeries*>(limit_), static_cast<QAbstractSeries*>(load_),
          static_cast<QAbstractSeries*>(design_)}) {
        chart->addSeries(s);
        s->attachAxis(excessAxis_);
        s->attachAxis(outputAxis_);
    }
    limit_->attachAxis(floorAxis_);
    connect(design_, &QScatterSeries::hovered, this,
            [this](const QPointF&, bool state) { showDesignHover(state); });
    updateOverlaySeries();
    updateAxes();
}

QLineSeries* CurveChart::newLine(int curve, bool inLegend) {
    auto* line = new QLineSeries(chart());
    chart()->addSeries(line);
    line->attachAxis(excessAxis_);
    line->attachAxis(outputAxis_);
    setLegendShown(chart(), line, inLegend);
    connect(line, &QLineSeries::hovered, this,
            [this, curve](const QPointF& at, bool state) { showHover(curve, at, state); });
    return line;
}

void CurveChart::setCurves(const std::vector<Curve>& curves, const CurveGrid& grid) {
    curves_ = &curves;
    grid_ = grid;
    const int shown = static_cast<int>(curves.size());
    while (static_cast<int>(lines_.size()) < shown)
        lines_.push_back({newLine(static_cast<int>(lines_.size()), true)});

    QList<QPointF> run;
    for (int c = 0; c < static_cast<int>(lines_.size()); ++c) {
        std::vector<QLineSeries*>& lines = lines_[c];
        std::size_t used = 0;
        bool any = false;
        if (c < shown) {
            const Curve& curve = curves[c];
            const QColor color = kCurveColors[c % std::size(kCurveColors)];
            const QPen pen(color, curve.current ? 3.6 : 1.8);
            auto flush = [&] {
                if (run.isEmpty())
                    return;
                if (used == lines.size())
                    lines.push_back(newLine(c, false));
                QLineSeries* line = lines[used++];
                // A single point between gaps draws no line: mark it.
                restyle(line, pen, run.size() == 1);
                line->replace(run);
                line->setVisible(true);
                if (used > 1)
                    setLegendShown(chart(), line, false);
                run.clear();
                any = true;
            };
            for (const CurvePoint& p : curve.points) {
                if (p.hasResult())
                    run.append(QPointF(p.excess, p.heatOutput));
                else
                    flush();
            }
            flush();
            QLineSeries* named = lines.front();
            setNameIfChanged(named, models::curveName(family_, curve) +
                                        (any ? QString() : QStringLiteral("（无结果）")));
            if (!any) {
                // Kept in the legend with its colour, so the curve is not lost.
                restyle(named, pen, false);
                named->clear();
                named->setVisible(true);
                used = 1;
            }
        }
        for (std::size_t i = used; i < lines.size(); ++i) {
            lines[i]->clear();
            lines[i]->setVisible(false);
        }
    }
    updateAxes();
}

void CurveChart::setOverlays(const CurveOverlays& overlays) {
    overlays_ = overlays;
    updateOverlaySeries();
    updateAxes();
}

std::vector<QLineSeries*> CurveChart::curveLines() const {
    std::vector<QLineSeries*> named;
    const std::size_t shown = curves_ == nullptr ? 0 : curves_->size();
    for (std::size_t c = 0; c < shown && c < lines_.size(); ++c)
        named.push_back(lines_[c].front());
    return named;
}

void CurveChart::updateOverlaySeries() {
    const double x0 = grid_.count > 0 ? grid_.xMin : 0;
    const double x1 = grid_.count > 0 ? grid_.xMax : 1;
    if (overlays_.limitOutput > 0) {
        const double q = overlays_.limitOutput;
        setNameIfChanged(limit_,
                         overlays_.limitCurve
                             ? QStringLiteral("EN 1264-2 极限曲线 θ_F,max %1 ℃：%2 W/m²")
                                   .arg(general(overlays_.floorLimit), fixed(q, 1))
                             : QStringLiteral("地面平均温度上限 %1 ℃（JGJ 142-2012）：%2 W/m²")
                                   .arg(general(overlays_.floorLimit), fixed(q, 1)));
        limit_->replace({QPointF(x0, q), QPointF(x1, q)});
    } else {
        limit_->clear();
    }
    limit_->setVisible(overlays_.limitOutput > 0);
    if (overlays_.load) {
        setNameIfChanged(load_, QStringLiteral("热负荷 %1 W/m²").arg(general(*overlays_.load)));
        load_->replace({QPointF(x0, *overlays_.load), QPointF(x1, *overlays_.load)});
    } else {
        load_->clear();
    }
    load_->setVisible(overlays_.load.has_value());
    if (overlays_.design) {
        setNameIfChanged(design_, overlays_.design->edited ? QStringLiteral("设计点（输入已修改）")
                                                           : QStringLiteral("设计点"));
        design_->replace({QPointF(overlays_.design->excess, overlays_.design->heatOutput)});
    } else {
        design_->clear();
    }
    design_->setVisible(overlays_.design.has_value());
}

void CurveChart::updateAxes() {
    double x0 = 0;
    double x1 = 40;
    if (grid_.count > 0) {
        x0 = grid_.xMin;
        x1 = grid_.xMax;
    }
    double top = 0;
    if (curves_ != nullptr)
        for (const Curve& c : *curves_)
            for (const CurvePoint& p : c.points)
                if (p.hasResult())
                    top = std::max(top, double(p.heatOutput));
    top = std::max(top, overlays_.limitOutput);
    if (overlays_.load)
        top = std::max(top, *overlays_.load);
    if (overlays_.design) {
        top = std::max(top, overlays_.design->heatOutput);
        x0 = std::min(x0, overlays_.design->excess);
        x1 = std::max(x1, overlays_.design->excess);
    }
    if (!(top > 0) || !std::isfinite(top))
        top = 100;
    // Ticks at whole multiples of a 1-2-5 step, on the excess and on the
    // supply temperature alike.
    const double xStep = niceStep(x1 - x0, 10);
    excessAxis_->setRange(x0, x1);
    excessAxis_->setTickInterval(xStep);
    // The supply temperature belongs to the excess by supply = room +
    // difference/2 + excess: the top axis is the bottom one shifted.
    const double shift = grid_.roomTemp + grid_.tempDiff / 2;
    supplyAxis_->setVisible(grid_.count > 0);
    if (grid_.count > 0) {
        supplyAxis_->setRange(x0 + shift, x1 + shift);
        supplyAxis_->setTickInterval(xStep);
    }
    const double yStep = niceStep(top * 1.05, 8);
    outputAxis_->setRange(0, std::ceil(top * 1.05 / yStep) * yStep);
    outputAxis_->setTickInterval(yStep);
    updateFloorAxis(outputAxis_->max());
    const QString title =
        ((family_ == CurveFamily::Spacing ? QStringLiteral("不同管间距的散热量")
                                          : QStringLiteral("不同地面面层的散热量")) +
         (grid_.count > 0 ? QStringLiteral("（室温 %1 ℃，供回水温差 %2 ℃）")
                                .arg(general(grid_.roomTemp), general(grid_.tempDiff))
                          : QStringLiteral("（室温不低于 60 ℃，无曲线）")));
    if (chart()->title() != title)
        chart()->setTitle(title);
}

// The method's surface temperature depends only on the output and the room
// temperature, so the right axis labels the output axis with the floor
// temperatures at whole degrees, placed where the output reaches them, and
// always with the mean-temperature limit drawn as the limit line.
void CurveChart::updateFloorAxis(double top) {
    const double room = grid_.count > 0 && std::isfinite(grid_.roomTemp) ? grid_.roomTemp : NAN;
    const double limit =
        overlays_.limitOutput > 0 && !overlays_.limitCurve ? overlays_.floorLimit : NAN;
    const auto same = [](double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); };
    // Relabelling lays the axis out anew: only when its scale changed.
    if (floorScale_ && same(floorScale_->top, top) && same(floorScale_->room, room) &&
        same(floorScale_->limit, limit))
        return;
    floorScale_ = FloorScale{top, room, limit};
    for (const QString& label : floorAxis_->categoriesLabels())
        floorAxis_->remove(label);
    floorAxis_->setStartValue(0);
    floorAxis_->setRange(0, top);
    if (std::isnan(room))
        return;
    std::vector<double> temps;
    for (double t = std::floor(room) + 1; temps.size() < 200; t += 1) {
        if (maxOutputForFloorLimit(room, t) > top)
            break;
        temps.push_back(t);
    }
    const int step = temps.size() <= 12 ? 1 : temps.size() <= 24 ? 2 : 5;
    for (double t : temps)
        if (static_cast<long long>(t) % step == 0 || t == limit)
            floorAxis_->append(general(t), maxOutputForFloorLimit(room, t));
}

void CurveChart::showHover(int curve, const QPointF& at, bool state) {
    if (!state || curves_ == nullptr || curve >= static_cast<int>(curves_->size())) {
        QToolTip::hideText();
        return;
    }
    const Curve& c = (*curves_)[curve];
    const CurvePoint* nearest = nullptr;
    for (const CurvePoint& p : c.points)
        if (p.hasResult() && (nearest == nullptr ||
                              std::abs(p.excess - at.x()) < std::abs(nearest->excess - at.x())))
            nearest = &p;
    if (nearest == nullptr)
        return;
    QToolTip::showText(
        QCursor::pos(),
        QStringLiteral("%1\n平均水温−室温 %2 K\n供水 %3 ℃，回水 %4 ℃\n散热量 %5 W/m²\n"
                       "地面平均温度 %6 ℃")
            .arg(models::curveName(family_, c), fixed(nearest->excess, 2),
                 fixed(nearest->supplyTemp, 2), fixed(nearest->returnTemp, 2),
                 fixed(nearest->heatOutput, 1), fixed(nearest->surfaceTemp, 1)),
        this);
}

void CurveChart::showDesignHover(bool state) {
    if (!state || !overlays_.design) {
        QToolTip::hideText();
        return;
    }
    const CurveOverlays::DesignPoint& d = *overlays_.design;
    QToolTip::showText(QCursor::pos(),
                       QStringLiteral("%1\n平均水温−室温 %2 K\n散热量 %3 W/m²\n地面平均温度 %4 ℃")
                           .arg(design_->name(), fixed(d.excess, 2), fixed(d.heatOutput, 1),
                                fixed(d.surfaceTemp, 1)),
                       this);
}

} // namespace zorva::ui
