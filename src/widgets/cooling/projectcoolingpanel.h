// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The project window's cooling panel (docs/project-window.md, "Cooling"),
// shown while the project's season includes cooling: a line with the
// method, the margin and the totals against the loads, the chilled water of
// each manifold, and each room's cooling design state with its result
// beside it. Its tables edit the document, each cell one undo step.

#include <QWidget>

class QLabel;
class QTableView;

namespace zorva::models {
class CoolingRoomTableModel;
class CoolingWaterTableModel;
class ProjectDocument;
} // namespace zorva::models

namespace zorva::ui {

class ProjectCoolingPanel : public QWidget {
    Q_OBJECT

public:
    explicit ProjectCoolingPanel(models::ProjectDocument& document, QWidget* parent = nullptr);

    QTableView* roomTable() const { return rooms_; }
    QTableView* waterTable() const { return water_; }
    models::CoolingRoomTableModel* roomModel() const { return roomModel_; }
    models::CoolingWaterTableModel* waterModel() const { return waterModel_; }
    QString summaryText() const;
    QString noticeText() const;

private:
    void followSeason();
    void showTotals();
    void showNotice(const QString& text);

    models::ProjectDocument& document_;
    models::CoolingRoomTableModel* roomModel_ = nullptr;
    models::CoolingWaterTableModel* waterModel_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* notice_ = nullptr;
    QTableView* water_ = nullptr;
    QTableView* rooms_ = nullptr;
};

} // namespace zorva::ui
