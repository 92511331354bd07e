// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rooms of a project in summer (docs/project-window.md, "Cooling"):
// each room's cooling design state, editable (room temperature, relative
// humidity, sensible cooling load, occupancy), and beside it the room's
// cooling result from the latest computation: the capacity against the
// load in W and W/m², the admissible capacity and the shortfall, the dew
// point and the lowest allowed supply, the mean floor surface temperature
// against the comfort limit, the verdict with its clauses, and the supply
// temperature that would carry the load where one is admissible. Every
// edit is one undo step of the document.

#include <QAbstractTableModel>

#include <optional>

namespace zorva::project {
struct Room;
struct CoolingRoomResult;
} // namespace zorva::project

namespace zorva::models {

class ProjectDocument;

class CoolingRoomTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        Name,
        RoomTemp,      // θ_i, ℃
        Humidity,      // φ, %
        SensibleLoad,  // Q_s, W
        Occupancy,     // sets θ_F,min
        DewPoint,      // θ_d, ℃
        MinSupply,     // θ_d + Δθ_s, ℃
        Output,        // Q_room, W
        OutputPerArea, // Q_room/A, W/m²
        Admissible,    // Q_adm, W
        Shortfall,     // Q_s − Q_adm, W
        FloorTemp,     // θ_F,m, ℃
        FloorLimit,    // θ_F,min, ℃
        Verdict,       // 合格 / 不合格 of D1, D2, D3, F1
        Basis,         // the clauses of the verdict
        NeededSupply,  // the supply that carries the load, ℃
        ColumnCount
    };
    // The unrounded number of a cell (a double); invalid for texts.
    static constexpr int ValueRole = Qt::UserRole + 2;

    explicit CoolingRoomTableModel(ProjectDocument& document, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // The whole row as one sentence, for screen readers.
    QString rowSentence(int row) const;

signals:
    // An edit was not taken; `reason` says why, in words for the user.
    void refused(const QString& reason);

private:
    const project::CoolingRoomResult* result(int row) const;
    std::optional<double> value(int row, int column) const;
    QString display(int row, int column) const;
    QString toolTip(int row, int column) const;
    ProjectDocument& document_;
};

} // namespace zorva::models
