// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/curves/fieldtablemodel.h"

#include "core/engine/numtext.h"

namespace zorva::models {

namespace {

QString general(double value) {
    const NumberText text = generalText(value);
    return QString::fromLatin1(text.view().data(), static_cast<qsizetype>(text.size()));
}

QString fixed(double value, int decimals) {
    const NumberText text = patternText(value, decimals);
    return QString::fromLatin1(text.view().data(), static_cast<qsizetype>(text.size()));
}

} // namespace

FieldTableModel::FieldTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void FieldTableModel::setField(const StandardField* field) {
    beginResetModel();
    field_ = field;
    index();
    endResetModel();
}

void FieldTableModel::index() {
    rows_.clear();
    if (field_ == nullptr)
        return;
    for (const FieldPlot* plot : {&field_->spacing, &field_->covering})
        for (const PlotSeries& s : plot->series)
            for (const QPointF& p : s.points)
                rows_.push_back({plot, &s, p});
}

int FieldTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int FieldTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString FieldTableModel::cellText(const RowRef& ref, int column, bool full) const {
    switch (column) {
    case FamilyColumn:
        return ref.plot->family;
    case SeriesColumn:
        return ref.series->name;
    case XColumn:
        return full ? general(ref.point.x()) : fixed(ref.point.x(), 2);
    case YColumn:
        return full ? general(ref.point.y()) : fixed(ref.point.y(), 2);
    case ClauseColumn:
        return field_->clause;
    default:
        return {};
    }
}

QVariant FieldTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::TextAlignmentRole && (index.column() == XColumn || index.column() == YColumn))
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    return cellText(rows_[std::size_t(index.row())], index.column(), false);
}

QVariant FieldTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    const bool cooling = field_ != nullptr && field_->season == FieldSeason::Cooling;
    switch (section) {
    case FamilyColumn:
        return QStringLiteral("曲线族");
    case SeriesColumn:
        return QStringLiteral("曲线");
    case XColumn:
        return cooling ? QStringLiteral("室温−平均水温 Δθ_C (K)")
                       : QStringLiteral("对数平均温差 Δθ_H (K)");
    case YColumn:
        return cooling ? QStringLiteral("供冷量 q_C (W/m²)") : QStringLiteral("散热量 q (W/m²)");
    case ClauseColumn:
        return QStringLiteral("计算方法及条文");
    default:
        return {};
    }
}

QList<QStringList> FieldTableModel::exportRows() const {
    QList<QStringList> rows;
    QStringList header;
    for (int c = 0; c < ColumnCount; ++c)
        header << headerData(c, Qt::Horizontal).toString();
    rows << header;
    rows.reserve(rowCount() + 1);
    for (const RowRef& ref : rows_) {
        QStringList cells;
        for (int c = 0; c < ColumnCount; ++c)
            cells << cellText(ref, c, true);
        rows << cells;
    }
    return rows;
}

} // namespace zorva::models
