// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rules of the design check as a table: 项目, 计算值, 限值, 结论, 依据,
// one row per rule. Each verdict is a word, and its value in VerdictRole
// for the view's icon (verdictrole.h); each cell
// also carries the whole row as one sentence for screen readers. After an
// edit of the inputs the rows are marked as the last calculation's.

#include "core/engine/designcheck.h"

#include <QAbstractTableModel>

#include <array>

namespace zorva::models {

class RuleTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { NameColumn, ValueColumn, LimitColumn, VerdictColumn, BasisColumn, ColumnCount };

    explicit RuleTableModel(QObject* parent = nullptr);

    // The rows of one review; `loadEntered` tells whether the heat output had
    // a load to be checked against.
    void setChecks(const std::array<RuleCheck, kRuleCount>& checks, RoomCategory category,
                   bool loadEntered);
    // No rows: nothing has been calculated yet.
    void clear();
    // The rows belong to the last calculation, not to the inputs as they are.
    void setStale(bool stale);
    bool stale() const { return stale_; }

    // The row of a rule as one sentence.
    QString rowSentence(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QString cellText(int row, int column) const;

    std::array<RuleCheck, kRuleCount> checks_{};
    RoomCategory category_ = RoomCategory::LongStay;
    bool loadEntered_ = false;
    bool filled_ = false;
    bool stale_ = false;
};

} // namespace zorva::models
