// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The edits of a project as undo steps. Each keeps just what it changes: a
// room before and after (its fields, envelope and overrides), rooms
// inserted or removed, the settings before and after, a manifold before
// and after.

#include "core/project/project.h"

#include <QUndoCommand>

#include <vector>

namespace zorva::models {

// What the commands change: the project document, or anything holding a
// project that applies these changes and tells its views.
class ProjectEdits {
public:
    virtual ~ProjectEdits() = default;
    virtual const project::Project& project() const = 0;
    virtual void applyRoom(int row, const project::Room& room) = 0;
    virtual void applyInsert(const std::vector<int>& rows,
                             const std::vector<project::Room>& rooms) = 0;
    virtual void applyRemove(const std::vector<int>& rows) = 0;
    virtual void applySettings(const project::Settings& settings) = 0;
    virtual void applyManifold(int index, const project::Manifold& manifold) = 0;
};

class SetRoomCommand : public QUndoCommand {
public:
    SetRoomCommand(ProjectEdits& document, int row, project::Room after, const QString& text);
    void undo() override;
    void redo() override;

private:
    ProjectEdits& document_;
    int row_;
    project::Room before_;
    project::Room after_;
};

// Rooms inserted at ascending positions or, with `remove`, removed from them.
class RoomRowsCommand : public QUndoCommand {
public:
    RoomRowsCommand(ProjectEdits& document, std::vector<int> rows, std::vector<project::Room> rooms,
                    bool remove, const QString& text);
    void undo() override;
    void redo() override;

private:
    ProjectEdits& document_;
    std::vector<int> rows_;
    std::vector<project::Room> rooms_;
    bool remove_;
};

class SetSettingsCommand : public QUndoCommand {
public:
    SetSettingsCommand(ProjectEdits& document, project::Settings after, const QString& text);
    void undo() override;
    void redo() override;

private:
    ProjectEdits& document_;
    project::Settings before_;
    project::Settings after_;
};

class SetProjectManifoldCommand : public QUndoCommand {
public:
    SetProjectManifoldCommand(ProjectEdits& document, int index, project::Manifold after,
                              const QString& text);
    void undo() override;
    void redo() override;

private:
    ProjectEdits& document_;
    int index_;
    project::Manifold before_;
    project::Manifold after_;
};

} // namespace zorva::models
