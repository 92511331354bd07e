// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The edits of the manifold sheet as undo steps. Each step keeps just what
// it changes (the rows edited, the rows inserted or removed, a new row
// order), so a long history of cell edits on a large sheet stays small.

#include "models/manifold/manifoldmodel.h"

#include <QUndoCommand>

#include <vector>

namespace zorva::models {

// New inputs for some rows (cell edits, a paste, search results).
class SetLoopsCommand : public QUndoCommand {
public:
    SetLoopsCommand(ManifoldModel& model, std::vector<int> rows, std::vector<LoopInput> after,
                    const QString& text, QUndoCommand* parent = nullptr);
    void undo() override;
    void redo() override;

private:
    ManifoldModel& model_;
    std::vector<int> rows_;
    std::vector<LoopInput> before_;
    std::vector<LoopInput> after_;
};

// Rows inserted at the given (ascending) positions, or, with `remove`,
// the rows at those positions removed.
class RowsCommand : public QUndoCommand {
public:
    RowsCommand(ManifoldModel& model, std::vector<int> rows, std::vector<SheetRow> inserted,
                const QString& text, QUndoCommand* parent = nullptr);
    RowsCommand(ManifoldModel& model, std::vector<int> removedRows, const QString& text,
                QUndoCommand* parent = nullptr);
    void undo() override;
    void redo() override;

private:
    void insert();
    void remove();
    ManifoldModel& model_;
    bool removes_;
    std::vector<int> rows_;
    std::vector<SheetRow> loops_;
};

// A new row order: row i becomes the old row order[i].
class PermuteCommand : public QUndoCommand {
public:
    PermuteCommand(ManifoldModel& model, std::vector<int> order, const QString& text,
                   QUndoCommand* parent = nullptr);
    void undo() override;
    void redo() override;

private:
    ManifoldModel& model_;
    std::vector<int> order_;
    std::vector<int> inverse_;
};

class SetManifoldCommand : public QUndoCommand {
public:
    SetManifoldCommand(ManifoldModel& model, const ManifoldInput& after, const QString& text,
                       QUndoCommand* parent = nullptr);
    void undo() override;
    void redo() override;

private:
    ManifoldModel& model_;
    ManifoldInput before_;
    ManifoldInput after_;
};

// The method, the EN 1264-3 settings or what lies below the loops.
class SetBasisCommand : public QUndoCommand {
public:
    SetBasisCommand(ManifoldModel& model, const project::Project& after, const QString& text,
                    QUndoCommand* parent = nullptr);
    void undo() override;
    void redo() override;

private:
    ManifoldModel& model_;
    project::Project before_;
    project::Project after_;
};

// Everything replaced (a CSV import).
class ReplaceAllCommand : public QUndoCommand {
public:
    ReplaceAllCommand(ManifoldModel& model, const ManifoldInput& manifold,
                      std::vector<SheetRow> rows, const QString& text);
    void undo() override;
    void redo() override;

private:
    ManifoldModel& model_;
    ManifoldInput beforeManifold_;
    std::vector<SheetRow> before_;
    ManifoldInput afterManifold_;
    std::vector<SheetRow> after_;
};

} // namespace zorva::models
