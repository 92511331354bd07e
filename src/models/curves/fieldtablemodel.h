// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The numbers of a standard's characteristic field as a table: one row per
// point of every series of both families, with the method and clause in
// the last column, for the data tab, screen readers and the CSV export.

#include "models/curves/standardfield.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

namespace zorva::models {

class FieldTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { FamilyColumn, SeriesColumn, XColumn, YColumn, ClauseColumn, ColumnCount };

    explicit FieldTableModel(QObject* parent = nullptr);

    // Shows `field`, which must outlive the model or the next setField.
    void setField(const StandardField* field);

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
        const FieldPlot* plot = nullptr;
        const PlotSeries* series = nullptr;
        QPointF point;
    };
    void index();
    QString cellText(const RowRef& ref, int column, bool full) const;

    const StandardField* field_ = nullptr;
    std::vector<RowRef> rows_;
};

} // namespace zorva::models
