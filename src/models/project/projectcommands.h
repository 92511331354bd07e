// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The edits of a project as undo steps. Each keeps just what it changes: a
// room before and after (its fields, envelope and overrides), rooms
// inserted or removed, the settings before and after.

#include "core/project/project.h"

#include <QUndoCommand>

#include <vector>

namespace zorva::models {

class ProjectDocument;

class SetRoomCommand : public QUndoCommand {
public:
    SetRoomCommand(ProjectDocument& document, int row, project::Room after, const QString& text);
    void undo() override;
    void redo() override;

private:
    ProjectDocument& document_;
    int row_;
    project::Room before_;
    project::Room after_;
};

// Rooms inserted at ascending positions or, with `remove`, removed from them.
class RoomRowsCommand : public QUndoCommand {
public:
    RoomRowsCommand(ProjectDocument& document, std::vector<int> rows,
                    std::vector<project::Room> rooms, bool remove, const QString& text);
    void undo() override;
    void redo() override;

private:
    ProjectDocument& document_;
    std::vector<int> rows_;
    std::vector<project::Room> rooms_;
    bool remove_;
};

class SetSettingsCommand : public QUndoCommand {
public:
    SetSettingsCommand(ProjectDocument& document, project::Settings after, const QString& text);
    void undo() override;
    void redo() override;

private:
    ProjectDocument& document_;
    project::Settings before_;
    project::Settings after_;
};

} // namespace zorva::models
