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
    // The plan edits the document and redraws itself on each new result.
    if (!plan_) {
        auto* plan = new PlanWindow(*document_, dialogs_, this);
        plan->setWindowFlag(Qt::Window);
        plan->setAttribute(Qt::WA_DeleteOnClose);
        addPlanPlotCommands(*plan, dialogs_, [this] {
            return std::make_shared<const PlanPlotSource>(PlanPlotSource{
                document_->project(), document_->result(), projectTitle(*document_)});
        });
        plan_ = plan;
    }
    plan_->show();
    plan_->raise();
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
    if (seasons_)
        static_cast<SeasonsWindow*>(seasons_.data())
            ->setProject(document_->project(), document_->result());
}

} // namespace zorva::ui
