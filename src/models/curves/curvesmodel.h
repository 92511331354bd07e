// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The numbers of the characteristic curves as a table: one row per point of
// every curve of both families, for the data tab, screen readers and the
// CSV export. Points without a result keep their row with empty output and
// floor-temperature cells and the reason in the last column.

#include "core/engine/curves.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>

namespace zorva::models {

// The name of a curve as the legends, the table and the CSV show it:
// "间距 200 mm", "瓷砖 λ=1.1", with "（当前）" on the curve of the current
// construction, and "当前面层 λ=0.5" for a covering of no named material.
QString curveName(CurveFamily family, const Curve& curve);

// "收敛", "不收敛" or "运算错误".
QString pointStatusText(RunStatus status);

class CurvesModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        FamilyColumn,
        CurveColumn,
        SupplyColumn,
        ReturnColumn,
        ExcessColumn,
        OutputColumn,
        FloorColumn,
        StatusColumn,
        ColumnCount
    };

    explicit CurvesModel(QObject* parent = nullptr);

    // Shows `set`, which must outlive the model or the next setCurves.
    void setCurves(const CurveSet* set);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The header and every row, numbers as general decimal text at full
    // precision, for the CSV export.
    QList<QStringList> exportRows() const;

private:
    struct RowRef {
        CurveFamily family;
        const Curve* curve;
        const CurvePoint* point;
    };
    RowRef row(int r) const;
    QString cellText(const RowRef& ref, int column, bool full) const;

    const CurveSet* set_ = nullptr;
};

} // namespace zorva::models
