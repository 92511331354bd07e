// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window "材料表": the bill of materials of the project's latest result
// (item, quantity, unit and the rule it comes from), the cutting plan onto
// the stocked rolls with its ratio to the lower bound, and the export of
// both as CSV in UTF-8 with its byte-order mark or in GBK, the rows
// zorva-calc --materials prints, written whole through the safe save.

#include "core/project/projectresult.h"

#include <QMainWindow>

class QComboBox;
class QLabel;
class QTableView;

namespace zorva::models {
class CuttingPlanModel;
class MaterialsTableModel;
} // namespace zorva::models

namespace zorva::ui {

class DialogSeam;

class MaterialsWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MaterialsWindow(DialogSeam& dialogs, QWidget* parent = nullptr);

    void setProject(const project::Project& project, const project::ProjectResult& result,
                    const QString& title);
    // Asks for a file name and writes the CSV; false when nothing was written.
    bool exportCsv();

    models::MaterialsTableModel& billModel() { return *bill_; }
    models::CuttingPlanModel& cuttingModel() { return *cutting_; }
    QComboBox* encodingBox() const { return encoding_; }

private:
    DialogSeam& dialogs_;
    QString title_;
    models::MaterialsTableModel* bill_ = nullptr;
    models::CuttingPlanModel* cutting_ = nullptr;
    QTableView* billView_ = nullptr;
    QTableView* cuttingView_ = nullptr;
    QLabel* summary_ = nullptr;
    QComboBox* encoding_ = nullptr;
    QLabel* status_ = nullptr;
};

} // namespace zorva::ui
