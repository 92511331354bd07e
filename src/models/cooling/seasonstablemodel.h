// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A project's two seasons side by side (docs/project.md, "Cooling"): one
// table of every loop with its heating and cooling result and the flows of
// both seasons, or one table of every room with its cooling capacity
// against its sensible load, the dew point and the verdicts. Each header
// names the method or clause of its column in its tool tip, and each cell
// carries its whole row as one sentence for screen readers.

#include "core/project/projectresult.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

namespace zorva::models {

class SeasonsTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum class Kind { Loops, Rooms };

    explicit SeasonsTableModel(Kind kind, QObject* parent = nullptr);

    // Copies the texts it shows; the project and result need not outlive it.
    void setProject(const project::Project& project, const project::ProjectResult& result);

    Kind kind() const { return kind_; }
    QString rowSentence(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    Kind kind_;
    QString heatingSource_; // the heating method's name and clause
    std::vector<QStringList> rows_;
};

} // namespace zorva::models
