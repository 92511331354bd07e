// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/project/projectcommands.h"

#include <utility>

namespace zorva::models {

SetRoomCommand::SetRoomCommand(ProjectEdits& document, int row, project::Room after,
                               const QString& text)
    : QUndoCommand(text), document_(document), row_(row),
      before_(document.project().rooms[std::size_t(row)]), after_(std::move(after)) {}

void SetRoomCommand::undo() {
    document_.applyRoom(row_, before_);
}

void SetRoomCommand::redo() {
    document_.applyRoom(row_, after_);
}

RoomRowsCommand::RoomRowsCommand(ProjectEdits& document, std::vector<int> rows,
                                 std::vector<project::Room> rooms, bool remove, const QString& text)
    : QUndoCommand(text), document_(document), rows_(std::move(rows)), rooms_(std::move(rooms)),
      remove_(remove) {
    if (remove_) {
        rooms_.clear();
        for (int row : rows_)
            rooms_.push_back(document.project().rooms[std::size_t(row)]);
    }
}

void RoomRowsCommand::undo() {
    if (remove_)
        document_.applyInsert(rows_, rooms_);
    else
        document_.applyRemove(rows_);
}

void RoomRowsCommand::redo() {
    if (remove_)
        document_.applyRemove(rows_);
    else
        document_.applyInsert(rows_, rooms_);
}

SetSettingsCommand::SetSettingsCommand(ProjectEdits& document, project::Settings after,
                                       const QString& text)
    : QUndoCommand(text), document_(document), before_(document.project().settings),
      after_(std::move(after)) {}

void SetSettingsCommand::undo() {
    document_.applySettings(before_);
}

void SetSettingsCommand::redo() {
    document_.applySettings(after_);
}

SetProjectManifoldCommand::SetProjectManifoldCommand(ProjectEdits& document, int index,
                                                     project::Manifold after, const QString& text)
    : QUndoCommand(text), document_(document), index_(index),
      before_(document.project().manifolds[std::size_t(index)]), after_(std::move(after)) {}

void SetProjectManifoldCommand::undo() {
    document_.applyManifold(index_, before_);
}

void SetProjectManifoldCommand::redo() {
    document_.applyManifold(index_, after_);
}

} // namespace zorva::models
