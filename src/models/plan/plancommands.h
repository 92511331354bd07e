// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The floor plan's own undo steps; a room's outline, doors and dividers
// change with the room (SetRoomCommand), the background with the settings.

#include "models/project/projectcommands.h"

namespace zorva::models {

// A manifold placed on the plan, moved or taken off it.
class SetManifoldPlanCommand : public QUndoCommand {
public:
    SetManifoldPlanCommand(ProjectEdits& document, int index, project::ManifoldPlan after,
                           const QString& text);
    void undo() override;
    void redo() override;

private:
    ProjectEdits& document_;
    int index_;
    project::ManifoldPlan before_;
    project::ManifoldPlan after_;
};

} // namespace zorva::models
