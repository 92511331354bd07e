// SPDX-License-Identifier: GPL-3.0-or-later
// The windows the project window opens on its latest result: the floor
// plan and the both-seasons table.
#include "widgets/project/projectwindow.h"

#include "models/project/projectdocument.h"
#include "widgets/cooling/seasonswindow.h"
#include "widgets/plan/planplotcommands.h"
#include "widgets/plan/planwindow.h"
#include "widgets/project/projectreportactions.h"

namespace zorva::ui {

void ProjectWindow::showPlan() {
    // The plan is drawn from one result; a newer result redraws it.
    const QRect where = plan_ ? plan_->geometry() : QRect();
    delete plan_;
    auto* plan = new PlanWindow(document_->project(), document_->result(), this);
    plan->setWindowFlag(Qt::Window);
    plan->setAttribute(Qt::WA_DeleteOnClose);
    addPlanPlotCommands(*plan, dialogs_, document_->project(), document_->result(),
                        projectTitle(*document_));
    if (where.isValid())
        plan->setGeometry(where);
    plan_ = plan;
    plan->show();
    plan->raise();
}

void ProjectWindow::showSeasons() {
    if (!seasons_) {
        auto* seasons = new SeasonsWindow(this);
        seasons->setWindowFlag(Qt::Window);
        seasons->setAttribute(Qt::WA_DeleteOnClose);
        seasons_ = seasons;
    }
    static_cast<SeasonsWindow*>(seasons_.data())
        ->setProject(document_->project(), document_->result());
    seasons_->show();
    seasons_->raise();
}

void ProjectWindow::refreshViews() {
    if (plan_ && plan_->isVisible())
        showPlan();
    if (seasons_)
        static_cast<SeasonsWindow*>(seasons_.data())
            ->setProject(document_->project(), document_->result());
}

} // namespace zorva::ui
