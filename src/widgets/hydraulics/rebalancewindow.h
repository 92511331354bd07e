// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window "调试后平衡": per manifold the loops with their design, the
// temperatures and flows measured after commissioning (typed into the
// table; every edit is one undo step of the project), the actual output
// against the design and the proposed setting; the proposals can be taken
// as the settings after re-balancing, which the project keeps beside the
// settings the loops were measured at.

#include <QMainWindow>

class QComboBox;
class QLabel;
class QTableView;

namespace zorva::models {
class ProjectDocument;
class RebalanceTableModel;
} // namespace zorva::models

namespace zorva::ui {

class RebalanceWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit RebalanceWindow(models::ProjectDocument& document, QWidget* parent = nullptr);

    models::RebalanceTableModel& model() { return *model_; }
    QTableView* table() const { return table_; }
    QComboBox* manifoldBox() const { return manifold_; }

private:
    void refresh();

    models::ProjectDocument& document_;
    models::RebalanceTableModel* model_ = nullptr;
    QComboBox* manifold_ = nullptr;
    QTableView* table_ = nullptr;
    QLabel* summary_ = nullptr;
};

} // namespace zorva::ui
