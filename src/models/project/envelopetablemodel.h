// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The envelope elements of the selected room (docs/project-window.md,
// "Envelope"): kind, orientation, area, U/K and the correction of the
// project's load method (α for GB 50736-2012 §5.2.4, f_x for EN 12831-1),
// with the element's share of the load from the latest computation. Kind
// and orientation take their Chinese names; every edit is one undo step.
// A room without an envelope shows no rows; adding an element gives it one.

#include <QAbstractTableModel>

#include <optional>

namespace zorva::models {

class ProjectDocument;

class EnvelopeTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Name, Kind, Orientation, Area, U, Correction, Load, ColumnCount };

    explicit EnvelopeTableModel(ProjectDocument& document, QObject* parent = nullptr);

    std::optional<int> room() const { return room_; }
    void setRoom(std::optional<int> room);

    // An outer wall facing south, 10 m², K 0.45, after `row` (at the end for -1).
    void addElement(int row);
    void removeElement(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    bool valid() const;
    ProjectDocument& document_;
    std::optional<int> room_;
};

// The breakdown of the selected room's load by kind: transmission,
// additions, infiltration or ventilation and the total, in W and W/m² of
// floor, from the latest computation.
class LoadBreakdownModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Row { Transmission, Additions, Infiltration, Total, RowCount };

    explicit LoadBreakdownModel(ProjectDocument& document, QObject* parent = nullptr);
    void setRoom(std::optional<int> room);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    ProjectDocument& document_;
    std::optional<int> room_;
};

} // namespace zorva::models
