// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The chilled water of a project's manifolds (docs/project-window.md,
// "Cooling"): per manifold the cooling supply and return temperatures,
// editable, and from the latest computation the rise with its advice, the
// cooling output and water load of its loops, the flows of both seasons
// and the season whose flow sizes the pump, and the loops that fail a
// required check. Every edit is one undo step of the document.

#include <QAbstractTableModel>

#include <optional>

namespace zorva::models {

class ProjectDocument;

class CoolingWaterTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        Name,
        SupplyTemp,  // θ_V, ℃
        ReturnTemp,  // θ_R, ℃
        Rise,        // σ, K
        Output,      // Σ Q_j, W
        WaterLoad,   // Σ (q_C + q_u,C)·A_j, W
        HeatingFlow, // kg/h
        CoolingFlow, // kg/h
        Sizing,      // 供暖 / 供冷
        FailedLoops, // loops failing D1, D2, D3 or F1
        ColumnCount
    };
    static constexpr int ValueRole = Qt::UserRole + 2;

    explicit CoolingWaterTableModel(ProjectDocument& document, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    void refused(const QString& reason);

private:
    std::optional<double> value(int row, int column) const;
    QString display(int row, int column) const;
    ProjectDocument& document_;
};

} // namespace zorva::models
