// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window "供暖和供冷": a project's two seasons side by side
// (docs/project.md, "Cooling"). The upper table shows every loop's heating
// and cooling result with the flows of both seasons and the season whose
// flow sizes the pump; the lower one every room's cooling capacity against
// its sensible load, the dew point, the lowest supply and the verdicts. It
// shows the project and result it is given and computes nothing itself.

#include "core/project/projectresult.h"

#include <QWidget>

class QLabel;
class QTableView;

namespace zorva::models {
class SeasonsTableModel;
} // namespace zorva::models

namespace zorva::ui {

class SeasonsWindow : public QWidget {
    Q_OBJECT

public:
    explicit SeasonsWindow(QWidget* parent = nullptr);

    void setProject(const project::Project& project, const project::ProjectResult& result);

    QString summaryText() const;
    models::SeasonsTableModel* loopModel() const { return loops_; }
    models::SeasonsTableModel* roomModel() const { return rooms_; }

private:
    QLabel* summary_ = nullptr;
    QTableView* loopView_ = nullptr;
    QTableView* roomView_ = nullptr;
    models::SeasonsTableModel* loops_ = nullptr;
    models::SeasonsTableModel* rooms_ = nullptr;
};

} // namespace zorva::ui
