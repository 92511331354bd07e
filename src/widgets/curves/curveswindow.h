// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tool window "特性曲线": the characteristic curves of the design the
// two windows hold, as two charts (the spacing family and the covering
// family) and a data tab, following every edit about 100 ms after the last
// one. "保存图表" writes the chart shown as PNG or SVG, "复制" puts it (or,
// on the data tab, the table as text) on the clipboard, and "导出数据"
// writes every point as CSV.
//
// Above the tabs: the calculation method (计算方法, shared with the other
// tools through the session) and the season. With 本程序方法 in heating the
// window draws the program's own curves; with EN 1264-2 the standard's
// characteristic field with its limit curves, and in cooling the EN 1264-5
// field for the room air typed beside the season.

#include "core/engine/curves.h"
#include "models/curves/standardfield.h"
#include "widgets/curves/curvechart.h"
#include "widgets/curves/fieldchart.h"

#include <QTimer>
#include <QWidget>

#include <array>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QTableView;

namespace zorva::models {
class CurvesModel;
class DesignSession;
class FieldTableModel;
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

    // The standard's field, drawn instead of the program's curves with
    // EN 1264-2 chosen or in cooling.
    bool standardShown() const { return standardShown_; }
    const models::StandardField& standardField() const { return field_; }
    FieldChart* fieldSpacingChart() const { return fieldSpacing_; }
    FieldChart* fieldCoveringChart() const { return fieldCovering_; }
    models::FieldTableModel* fieldDataModel() const { return fieldModel_; }
    QComboBox* methodChoice() const { return method_; }
    QComboBox* seasonChoice() const { return season_; }
    QDoubleSpinBox* coolingRoomTemp() const { return coolRoom_; }
    QDoubleSpinBox* coolingHumidity() const { return coolHumidity_; }
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
    void buildChoices();
    void followChoices();
    void recomputeStandard();
    QChartView* shownView() const;
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

    bool standardShown_ = false;
    models::StandardField field_;
    QStackedWidget* spacingStack_;
    QStackedWidget* coveringStack_;
    FieldChart* fieldSpacing_;
    FieldChart* fieldCovering_;
    models::FieldTableModel* fieldModel_;
    QComboBox* method_ = nullptr;
    QComboBox* season_ = nullptr;
    QDoubleSpinBox* coolRoom_ = nullptr;
    QDoubleSpinBox* coolHumidity_ = nullptr;
    QLabel* status_;
    QPushButton* save_;
    QPushButton* copy_;
    QPushButton* export_;
};

} // namespace zorva::ui
