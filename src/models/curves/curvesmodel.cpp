// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/curves/curvesmodel.h"

#include "core/engine/numtext.h"

#include <charconv>

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

// The shortest text that reads back as the same float.
QString shortest(float value) {
    char buf[32];
    const auto end = std::to_chars(buf, buf + sizeof buf, value).ptr;
    return QString::fromLatin1(buf, end - buf);
}

QString familyName(CurveFamily family) {
    return family == CurveFamily::Spacing ? QStringLiteral("管间距") : QStringLiteral("面层材料");
}

} // namespace

QString curveName(CurveFamily family, const Curve& curve) {
    QString name;
    if (family == CurveFamily::Spacing)
        name = QStringLiteral("间距 %1 mm").arg(general(curve.parameter));
    else if (curve.material >= 0)
        name = QStringLiteral("%1 λ=%2").arg(
            QString::fromUtf8(kCoveringMaterials[curve.material].name), general(curve.parameter));
    else
        return QStringLiteral("当前面层 λ=%1").arg(general(curve.parameter));
    if (curve.current)
        name += QStringLiteral("（当前）");
    return name;
}

QString pointStatusText(RunStatus status) {
    switch (status) {
    case RunStatus::Converged:
        return QStringLiteral("收敛");
    case RunStatus::NotConverged:
        return QStringLiteral("不收敛");
    case RunStatus::Faulted:
        break;
    }
    return QStringLiteral("运算错误");
}

CurvesModel::CurvesModel(QObject* parent) : QAbstractTableModel(parent) {}

void CurvesModel::setCurves(const CurveSet* set) {
    beginResetModel();
    set_ = set;
    endResetModel();
}

int CurvesModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || set_ == nullptr)
        return 0;
    const auto curves = set_->spacing.size() + set_->covering.size();
    return static_cast<int>(curves) * set_->grid.count;
}

int CurvesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

CurvesModel::RowRef CurvesModel::row(int r) const {
    const int perCurve = set_->grid.count;
    int c = r / perCurve;
    const int spacingCurves = static_cast<int>(set_->spacing.size());
    const bool spacing = c < spacingCurves;
    if (!spacing)
        c -= spacingCurves;
    const Curve& curve = spacing ? set_->spacing[c] : set_->covering[c];
    return {spacing ? CurveFamily::Spacing : CurveFamily::Covering, &curve,
            &curve.points[static_cast<std::size_t>(r % perCurve)]};
}

QString CurvesModel::cellText(const RowRef& ref, int column, bool full) const {
    const CurvePoint& p = *ref.point;
    auto number = [full](double v, int decimals) { return full ? general(v) : fixed(v, decimals); };
    switch (column) {
    case FamilyColumn:
        return familyName(ref.family);
    case CurveColumn:
        return curveName(ref.family, *ref.curve);
    case SupplyColumn:
        return number(p.supplyTemp, 2);
    case ReturnColumn:
        return number(p.returnTemp, 2);
    case ExcessColumn:
        return number(p.excess, 2);
    case OutputColumn:
        if (!p.hasResult())
            return {};
        return full ? shortest(p.heatOutput) : fixed(p.heatOutput, 2);
    case FloorColumn:
        return p.hasResult() ? number(p.surfaceTemp, 2) : QString();
    case StatusColumn:
        return pointStatusText(p.status);
    default:
        return {};
    }
}

QVariant CurvesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || set_ == nullptr || index.row() >= rowCount())
        return {};
    if (role == Qt::TextAlignmentRole && index.column() >= SupplyColumn &&
        index.column() <= FloorColumn)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    const RowRef ref = row(index.row());
    if (role == Qt::AccessibleTextRole && !ref.point->hasResult() &&
        (index.column() == OutputColumn || index.column() == FloorColumn))
        return QStringLiteral("无结果");
    return cellText(ref, index.column(), false);
}

QVariant CurvesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const titles[ColumnCount] = {
        "曲线族",
        "曲线",
        "供水温度 (℃)",
        "回水温度 (℃)",
        "平均水温−室温 (K)",
        "散热量 (W/m²)",
        "地面平均温度 (℃)",
        "计算结果",
    };
    if (section < 0 || section >= ColumnCount)
        return {};
    return QString::fromUtf8(titles[section]);
}

QList<QStringList> CurvesModel::exportRows() const {
    QList<QStringList> rows;
    QStringList header;
    for (int c = 0; c < ColumnCount; ++c)
        header << headerData(c, Qt::Horizontal).toString();
    rows << header;
    const int count = rowCount();
    rows.reserve(count + 1);
    for (int r = 0; r < count; ++r) {
        const RowRef ref = row(r);
        QStringList cells;
        cells.reserve(ColumnCount);
        for (int c = 0; c < ColumnCount; ++c)
            cells << cellText(ref, c, true);
        rows << cells;
    }
    return rows;
}

} // namespace zorva::models
