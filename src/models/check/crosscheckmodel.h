// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The EN 1264-2 cross-check as a table beside this program's method: the
// method's inputs and characteristic, the heat flux and mean floor
// temperature of both methods, the limit curve at the room category's floor
// limit and both verdicts. Each cell carries its row as one sentence for
// screen readers.

#include "core/engine/designreview.h"

#include <QAbstractTableModel>

namespace zorva::models {

class CrossCheckModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { NameColumn, ProgramColumn, EnColumn, ColumnCount };
    enum Row {
        CoveringRow,
        ScreedRow,
        ScreedConductivityRow,
        ExcessRow,
        CharacteristicRow,
        HeatFluxRow,
        FloorTempRow,
        LimitFluxRow,
        LimitExcessRow,
        VerdictRow,
        RowCount
    };

    explicit CrossCheckModel(QObject* parent = nullptr);

    // The rows of one review; no rows unless its EN result is applicable.
    void setReview(const DesignReview& review);
    void clear();

    QString rowSentence(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QString cellText(int row, int column) const;
    QString programText(int row) const;
    QString enText(int row) const;

    En1264Result en_;
    double heatOutput_ = 0;
    double surfaceTemp_ = 0;
    double maxOutput_ = 0;
    Verdict floorVerdict_ = Verdict::NotChecked;
    bool limitCurve_ = false; // the category judges the floor by the limit curve
    bool filled_ = false;
};

} // namespace zorva::models
