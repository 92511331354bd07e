// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The design check's cooling section (供冷): the cooling design data of the
// session (room temperature and humidity, chilled water, dew-point margin,
// occupancy, sensible load) and the check of the main window's loop cooled
// with it, as a table with a one-line status. It follows the session: edited
// fields of either window and edited cooling data re-check at once (the
// method is closed form, so no calculation in the main window is needed).

#include <QGroupBox>

class QComboBox;
class QDoubleSpinBox;
class QFormLayout;
class QLabel;
class QTableView;

namespace zorva::models {
class CoolingCheckModel;
class DesignSession;
} // namespace zorva::models

namespace zorva::ui {

class CoolingPanel : public QGroupBox {
    Q_OBJECT

public:
    explicit CoolingPanel(models::DesignSession& session, QWidget* parent = nullptr);

    models::CoolingCheckModel* model() const { return model_; }
    QTableView* view() const { return view_; }
    // Checks the session's fields with its cooling data again.
    void refresh();

private:
    QDoubleSpinBox* addBox(const char* name, const QString& caption, const QString& unit,
                           double low, double high, int decimals, double step);
    void showSettings();
    void edited();

    models::DesignSession& session_;
    models::CoolingCheckModel* model_;
    QDoubleSpinBox* roomTemp_ = nullptr;
    QDoubleSpinBox* humidity_ = nullptr;
    QDoubleSpinBox* supply_ = nullptr;
    QDoubleSpinBox* return_ = nullptr;
    QDoubleSpinBox* margin_ = nullptr;
    QDoubleSpinBox* load_ = nullptr;
    QComboBox* occupancy_ = nullptr;
    QLabel* advice_ = nullptr;
    QLabel* status_ = nullptr;
    QTableView* view_ = nullptr;
    QFormLayout* form_ = nullptr;
};

} // namespace zorva::ui
