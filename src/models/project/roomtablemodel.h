// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rooms of a project as a table (docs/project-window.md, "Rooms"): the
// room's own fields, editable, and its results from the latest computation:
// the load typed or computed, W and W/m², the spacing, the loops with their
// lengths, the supplementary heat and the user's overrides, marked. Editing
// the spacing or loop count sets an override; clearing the cell removes it.
// Every edit is one undo step of the document.

#include <QAbstractTableModel>

namespace zorva::models {

class ProjectDocument;

class RoomTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        Name,
        Use,
        IndoorTemp,
        FloorArea,
        HeatedArea,
        Covering,
        Manifold,
        LoadSource,
        TypedLoad,
        HeatLoad,
        LoadPerArea,
        Spacing,
        LoopCount,
        LoopLengths,
        Supplementary,
        Overrides,
        ColumnCount
    };

    explicit RoomTableModel(ProjectDocument& document, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    QVariant display(int row, int column) const;
    QVariant toolTip(int row, int column) const;
    ProjectDocument& document_;
};

} // namespace zorva::models
