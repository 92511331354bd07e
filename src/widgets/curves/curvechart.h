// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One chart of the characteristic curves window: a family of curves of the
// heat output against the mean water temperature minus the room
// temperature, with the supply temperature on the top axis, the mean floor
// surface temperature on the right axis, and the overlays (the design point
// of the last calculation, the output the floor-temperature limit allows,
// the heat load). A curve with gaps is drawn as one line per run of points
// with results; hovering a line shows the values of its nearest point.

#include "core/engine/curves.h"

#include <QChartView>
#include <QPointF>

#include <optional>
#include <utility>
#include <vector>

class QCategoryAxis;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

namespace zorva::ui {

struct CurveOverlays {
    struct DesignPoint {
        double excess = 0;      // K
        double heatOutput = 0;  // W/m²
        double surfaceTemp = 0; // ℃
        bool edited = false;    // inputs changed since that calculation
    };
    std::optional<DesignPoint> design;
    double floorLimit = 29;     // ℃
    double limitOutput = 0;     // W/m²; 0: no line (the limit is not above the room)
    bool limitCurve = false;    // the limit is EN 1264-2's q_G at θ_F,max
    std::optional<double> load; // W/m²
};

class CurveChart : public QChartView {
    Q_OBJECT

public:
    explicit CurveChart(CurveFamily family, QWidget* parent = nullptr);

    // Draws `curves` (which must stay alive until the next call, for the
    // hover texts) on `grid`.
    void setCurves(const std::vector<Curve>& curves, const CurveGrid& grid);
    void setOverlays(const CurveOverlays& overlays);

    // The lines that carry the curves' names in the legend, one per curve
    // shown.
    std::vector<QLineSeries*> curveLines() const;
    QScatterSeries* designSeries() const { return design_; }
    QLineSeries* limitSeries() const { return limit_; }
    QLineSeries* loadSeries() const { return load_; }
    QValueAxis* outputAxis() const { return outputAxis_; }
    QCategoryAxis* floorAxis() const { return floorAxis_; }

private:
    QLineSeries* newLine(int curve, bool inLegend);
    void showHover(int curve, const QPointF& at, bool state);
    void showDesignHover(bool state);
    void updateOverlaySeries();
    void updateAxes();
    void updateFloorAxis(double top);

    CurveFamily family_;
    const std::vector<Curve>* curves_ = nullptr;
    CurveGrid grid_;
    CurveOverlays overlays_;
    // Per curve: the line in the legend, then the lines of later runs of
    // points after a gap.
    std::vector<std::vector<QLineSeries*>> lines_;
    QScatterSeries* design_;
    QLineSeries* limit_;
    QLineSeries* load_;
    QValueAxis* excessAxis_;
    QValueAxis* supplyAxis_;
    QValueAxis* outputAxis_;
    QCategoryAxis* floorAxis_;
    // The output-axis top, room temperature and floor limit the floor axis is
    // labelled for.
    struct FloorScale {
        double top = 0;
        double room = 0;
        double limit = 0;
    };
    std::optional<FloorScale> floorScale_;
};

} // namespace zorva::ui
