// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The loops of one manifold of a project as a table (docs/project-window.md,
// "Loops"): manual loops first, then the rooms' loops, each by the
// project's method at the manifold's temperatures, with the verdict beside
// its numbers. Read-only: the rooms and their overrides are edited in the
// room table.

#include <QAbstractTableModel>

#include <cstddef>

namespace zorva::models {

class ProjectDocument;

class LoopTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        Name,
        Room,
        Spacing,
        Length,
        HeatOutput,
        FloorTemp,
        Flow,
        PressureDrop,
        Supplementary,
        Verdict,
        ColumnCount
    };

    explicit LoopTableModel(ProjectDocument& document, QObject* parent = nullptr);

    std::size_t manifold() const { return manifold_; }
    void setManifold(std::size_t manifold);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    ProjectDocument& document_;
    std::size_t manifold_ = 0;
    int shownRows_ = 0; // the rows the views were last told of
};

} // namespace zorva::models
