// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/plan/plancommands.h"

#include <utility>

namespace zorva::models {

SetManifoldPlanCommand::SetManifoldPlanCommand(ProjectEdits& document, int index,
                                               project::ManifoldPlan after, const QString& text)
    : QUndoCommand(text), document_(document), index_(index),
      before_(document.project().manifolds[std::size_t(index)].plan), after_(std::move(after)) {}

void SetManifoldPlanCommand::undo() {
    document_.applyManifoldPlan(index_, before_);
}

void SetManifoldPlanCommand::redo() {
    document_.applyManifoldPlan(index_, after_);
}

} // namespace zorva::models
