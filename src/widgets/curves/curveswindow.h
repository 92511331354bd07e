// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tool window "特性曲线": the characteristic curves of the design the
// two windows hold, as two charts (the spacing family and the covering
// family) and a data tab, following every edit about 100 ms after the last
// one. "保存图表" writes the chart shown as PNG or SVG, "复制" puts it (or,
// on the data tab, the table as text) on the clipboard, and "导出数据"
// writes every point as CSV.

#include "core/engine/curves.h"
#include "widgets/curves/curvechart.h"

#include <QTimer>
#include <QWidget>

#include <array>

class QLabel;
class QPushButton;
class QTabWidget;
class QTableView;

namespace zorva::models {
class CurvesModel;
class DesignSession;
} // namespace zorva::models

namespace zorva::ui {

class DialogSeam;

class CurvesWindow : public QWidget {
    Q_OBJECT

public:
    // How long the window waits after an edit before it recomputes, ms.
    static constexpr int kSettleMs = 100;

    CurvesWindow(models::DesignSession& session, DialogSeam& dialogs, QWidget* parent = nullptr);

    // The charts. Only the chart on the tab shown follows the design; the
    // other one catches up when its tab is chosen.
    CurveChart* spacingChart() const { return spacing_; }
    CurveChart* coveringChart() const { return covering_; }
    void showTab(int index);
    models::CurvesModel* dataModel() const { return model_; }
    const CurveSet& curves() const { return set_; }
    // Recomputations of the curves since the window was built.
    int recomputations() const { return recomputations_; }
    bool updatePending() const { return settle_.isActive(); }

    // Recomputes the curves and redraws both charts and the table now.
    void recompute();

    void saveChart();
    void copyToClipboard();
    void exportData();

private:
    void updateOverlays();
    void refreshShownChart();
    void updateStatus();
    CurveChart* shownChart() const;
    void reportWriteFailure(const QString& fileName, const QString& reason);

    models::DesignSession& session_;
    DialogSeam& dialogs_;
    CurveSet set_;
    CurveOverlays overlays_;
    std::array<bool, 2> curvesStale_{true, true}; // spacing, covering
    std::array<bool, 2> overlaysStale_{true, true};
    QTimer settle_;
    int recomputations_ = 0;

    QTabWidget* tabs_;
    CurveChart* spacing_;
    CurveChart* covering_;
    QTableView* table_;
    models::CurvesModel* model_;
    QLabel* status_;
    QPushButton* save_;
    QPushButton* copy_;
    QPushButton* export_;
};

} // namespace zorva::ui
