// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/manifold/manifoldcommands.h"

namespace zorva::models {

SetLoopsCommand::SetLoopsCommand(ManifoldModel& model, std::vector<int> rows,
                                 std::vector<LoopInput> after, const QString& text,
                                 QUndoCommand* parent)
    : QUndoCommand(text, parent), model_(model), rows_(std::move(rows)), after_(std::move(after)) {
    for (const int row : rows_)
        before_.push_back(model_.loops()[static_cast<std::size_t>(row)]);
}

void SetLoopsCommand::undo() {
    model_.setLoops(rows_, before_);
}

void SetLoopsCommand::redo() {
    model_.setLoops(rows_, after_);
}

RowsCommand::RowsCommand(ManifoldModel& model, std::vector<int> rows,
                         std::vector<SheetRow> inserted, const QString& text, QUndoCommand* parent)
    : QUndoCommand(text, parent), model_(model), removes_(false), rows_(std::move(rows)),
      loops_(std::move(inserted)) {}

RowsCommand::RowsCommand(ManifoldModel& model, std::vector<int> removedRows, const QString& text,
                         QUndoCommand* parent)
    : QUndoCommand(text, parent), model_(model), removes_(true), rows_(std::move(removedRows)) {}

void RowsCommand::insert() {
    model_.insertLoops(rows_, loops_);
}

void RowsCommand::remove() {
    loops_ = model_.removeLoops(rows_);
}

void RowsCommand::undo() {
    removes_ ? insert() : remove();
}

void RowsCommand::redo() {
    removes_ ? remove() : insert();
}

PermuteCommand::PermuteCommand(ManifoldModel& model, std::vector<int> order, const QString& text,
                               QUndoCommand* parent)
    : QUndoCommand(text, parent), model_(model), order_(std::move(order)), inverse_(order_.size()) {
    for (std::size_t i = 0; i < order_.size(); ++i)
        inverse_[static_cast<std::size_t>(order_[i])] = static_cast<int>(i);
}

void PermuteCommand::undo() {
    model_.permute(inverse_);
}

void PermuteCommand::redo() {
    model_.permute(order_);
}

SetManifoldCommand::SetManifoldCommand(ManifoldModel& model, const ManifoldInput& after,
                                       const QString& text, QUndoCommand* parent)
    : QUndoCommand(text, parent), model_(model), before_(model.manifold()), after_(after) {}

void SetManifoldCommand::undo() {
    model_.setManifold(before_);
}

void SetManifoldCommand::redo() {
    model_.setManifold(after_);
}

SetBasisCommand::SetBasisCommand(ManifoldModel& model, const project::Project& after,
                                 const QString& text, QUndoCommand* parent)
    : QUndoCommand(text, parent), model_(model), before_(model.basis()), after_(after) {}

void SetBasisCommand::undo() {
    model_.setBasis(before_);
}

void SetBasisCommand::redo() {
    model_.setBasis(after_);
}

namespace {

std::vector<SheetRow> allRows(const ManifoldModel& model) {
    std::vector<SheetRow> rows;
    rows.reserve(model.loops().size());
    for (int i = 0; i < model.rowCount(); ++i)
        rows.push_back(model.sheetRow(i));
    return rows;
}

} // namespace

ReplaceAllCommand::ReplaceAllCommand(ManifoldModel& model, const ManifoldInput& manifold,
                                     std::vector<SheetRow> rows, const QString& text)
    : QUndoCommand(text), model_(model), beforeManifold_(model.manifold()), before_(allRows(model)),
      afterManifold_(manifold), after_(std::move(rows)) {}

void ReplaceAllCommand::undo() {
    model_.reset(beforeManifold_, before_);
}

void ReplaceAllCommand::redo() {
    model_.reset(afterManifold_, after_);
}

} // namespace zorva::models
