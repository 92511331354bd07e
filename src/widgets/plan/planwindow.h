// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window "平面布管图": the project's rooms with an outline, the placed
// manifolds and the routed loops, one colour per loop with a legend (loop,
// room, routed length, spacing), the rule violations drawn in red and
// listed; zoom with the wheel or the buttons, pan by dragging
// (docs/project.md, "The floor plan"). It shows a computed project; it
// does not compute.

#include "core/project/projectresult.h"

#include <QWidget>

class QGraphicsScene;
class QGraphicsView;
class QLabel;
class QTreeWidget;

namespace zorva::ui {

class PlanWindow : public QWidget {
    Q_OBJECT

public:
    PlanWindow(const project::Project& project, const project::ProjectResult& result,
               QWidget* parent = nullptr);

    QGraphicsScene* scene() const { return scene_; }
    QGraphicsView* view() const { return view_; }
    QTreeWidget* legend() const { return legend_; }
    QTreeWidget* violations() const { return violations_; }

    // The view's scale: 1 shows the whole plan.
    double zoom() const;
    void zoomBy(double factor);
    void fitAll();

    // The colour of the n-th loop of the plan, from 0.
    static QColor loopColour(int n);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void draw(const project::Project& project, const project::ProjectResult& result);

    QGraphicsScene* scene_ = nullptr;
    QGraphicsView* view_ = nullptr;
    QTreeWidget* legend_ = nullptr;
    QTreeWidget* violations_ = nullptr;
    QLabel* summary_ = nullptr;
    double fitScale_ = 1;
};

} // namespace zorva::ui
