// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The loops of one manifold for the re-balancing after commissioning
// (docs/hydraulics.md §7): per loop its design, the values measured on it
// (typed into the table; every edit is one undo step of the document), the
// actual output against the design and the setting proposed, and the
// settings before and after re-balancing.

#include <QAbstractTableModel>

#include <cstddef>

namespace zorva::models {

class ProjectDocument;

class RebalanceTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        Name,
        DesignSupply,
        DesignReturn,
        DesignFlow,
        MeasuredSupply,
        MeasuredReturn,
        MeasuredFlow,
        MeasuredRoom,
        SettingBefore,
        ActualOutput,
        DesignOutput,
        Ratio,
        Proposed,
        SettingAfter,
        ColumnCount
    };

    explicit RebalanceTableModel(ProjectDocument& document, QObject* parent = nullptr);

    std::size_t manifold() const { return manifold_; }
    void setManifold(std::size_t manifold);

    // Takes every proposal that changes a setting as the setting after, in
    // one undo step; the number of loops changed.
    int takeProposals();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    QVariant display(int row, int column) const;
    void reset();

    ProjectDocument& document_;
    std::size_t manifold_ = 0;
    int rows_ = 0;
};

} // namespace zorva::models
