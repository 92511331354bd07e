// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bill of materials as tables (docs/materials.md): the items to order
// with their quantity, unit and the rule they come from, and the cutting
// plan with one row per roll (its loops, the pipe used and the offcut).
// Read-only; set again whenever the project's result changes.

#include "core/materials/bill.h"
#include "core/project/hydraulicsresult.h"

#include <QAbstractTableModel>
#include <QString>

namespace zorva::models {

class MaterialsTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Item, Size, Quantity, Unit, Basis, ColumnCount };

    explicit MaterialsTableModel(QObject* parent = nullptr);

    void setMaterials(const project::MaterialsResult& materials,
                      const materials::BillOptions& options);
    const project::MaterialsResult& materials() const { return materials_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    project::MaterialsResult materials_;
    materials::BillOptions options_;
};

class CuttingPlanModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Pipe, Roll, Loops, Used, Offcut, ColumnCount };

    explicit CuttingPlanModel(QObject* parent = nullptr);

    void setMaterials(const project::MaterialsResult& materials);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    struct Row {
        QString pipe;
        double rollM = 0; // 0: a loop no stocked roll holds
        QString loops;
        double usedM = 0;
        double offcutM = 0;
    };
    std::vector<Row> rows_;
};

// Per kind of pipe: what is bought, the offcut and the ratio to the least
// length any plan could buy, with the method; one line each.
QString cuttingSummary(const project::MaterialsResult& materials);

} // namespace zorva::models
