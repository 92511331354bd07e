// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One chart of a standard's characteristic field: the lines of a family,
// the limit curves (dashed), the limit points, the straight limits (q_G,max,
// the dew point, the floor temperature) and the design point, titled with
// the method and clause. Hovering a line shows the values of its nearest
// point.

#include "models/curves/standardfield.h"

#include <QChartView>

class QAbstractSeries;
class QValueAxis;

namespace zorva::ui {

class FieldChart : public QChartView {
    Q_OBJECT

public:
    explicit FieldChart(QWidget* parent = nullptr);

    void setPlot(const models::FieldPlot& plot);

    // The series drawn, in the order of the plot's series.
    const QList<QAbstractSeries*>& drawnSeries() const { return drawn_; }
    QValueAxis* xAxis() const { return x_; }
    QValueAxis* yAxis() const { return y_; }

private:
    QValueAxis* x_;
    QValueAxis* y_;
    QList<QAbstractSeries*> drawn_;
};

} // namespace zorva::ui
