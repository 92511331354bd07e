// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/check/crosscheckmodel.h"

#include "models/check/checktexts.h"
#include "models/check/verdictrole.h"

namespace zorva::models {

CrossCheckModel::CrossCheckModel(QObject* parent) : QAbstractTableModel(parent) {}

void CrossCheckModel::setReview(const DesignReview& review) {
    beginResetModel();
    en_ = review.en;
    heatOutput_ = review.run.heatOutput;
    surfaceTemp_ = review.run.surfaceTemp;
    maxOutput_ = review.maxOutput;
    floorVerdict_ = review.checks[static_cast<std::size_t>(Rule::FloorTemp)].verdict;
    limitCurve_ = review.checks[static_cast<std::size_t>(Rule::FloorTemp)].limitCurve;
    filled_ = review.en.applicable();
    endResetModel();
}

void CrossCheckModel::clear() {
    beginResetModel();
    filled_ = false;
    endResetModel();
}

int CrossCheckModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !filled_ ? 0 : RowCount;
}

int CrossCheckModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString CrossCheckModel::programText(int row) const {
    switch (row) {
    case HeatFluxRow:
        return numberText(heatOutput_, 1) + QStringLiteral(" W/m²");
    case FloorTempRow:
        return numberText(surfaceTemp_, 1) + QStringLiteral(" ℃");
    case LimitFluxRow:
        // An EN category's largest output is q_G itself, on the right.
        if (limitCurve_)
            return QStringLiteral("—");
        return QStringLiteral("限值下最大 %1 W/m²").arg(numberText(maxOutput_, 1));
    case VerdictRow:
        if (limitCurve_)
            return QStringLiteral("按 EN 1264-2 极限曲线校核：") + verdictText(floorVerdict_);
        return QStringLiteral("地面平均温度 ") + verdictText(floorVerdict_);
    default:
        return QStringLiteral("—");
    }
}

QString CrossCheckModel::enText(int row) const {
    switch (row) {
    case CoveringRow:
        return fixedText(en_.coveringResistance, 4) + QStringLiteral(" m²·K/W");
    case ScreedRow:
        return fixedText(en_.screedAbove * 1000, 1) + QStringLiteral(" mm");
    case ScreedConductivityRow:
        return fixedText(en_.screedConductivity, 3) + QStringLiteral(" W/(m·K)");
    case ExcessRow:
        return fixedText(en_.logMeanExcess, 2) + QStringLiteral(" K");
    case CharacteristicRow:
        return fixedText(en_.characteristic, 3) + QStringLiteral(" W/(m²·K)");
    case HeatFluxRow:
        return numberText(en_.heatFlux, enFluxDecimals(en_)) + QStringLiteral(" W/m²");
    case FloorTempRow:
        return numberText(en_.meanFloorTemp, 1) + QStringLiteral(" ℃（基本特性曲线）");
    case LimitFluxRow:
        return numberText(en_.limitFlux, enFluxDecimals(en_)) + QStringLiteral(" W/m²");
    case LimitExcessRow:
        return fixedText(en_.limitExcess, 2) + QStringLiteral(" K");
    case VerdictRow:
        return enLimitVerdictText(en_);
    default:
        return {};
    }
}

QString CrossCheckModel::cellText(int row, int column) const {
    switch (column) {
    case NameColumn:
        switch (row) {
        case CoveringRow:
            return QStringLiteral("面层热阻 R_λ,B");
        case ScreedRow:
            return QStringLiteral("管顶以上找平层厚度 s_u");
        case ScreedConductivityRow:
            return QStringLiteral("找平层导热系数 λ_E");
        case ExcessRow:
            return QStringLiteral("对数平均温差 ΔθH");
        case CharacteristicRow:
            return QStringLiteral("特性系数 K_H");
        case HeatFluxRow:
            return QStringLiteral("单位面积散热量 q");
        case FloorTempRow:
            return QStringLiteral("地面平均温度");
        case LimitFluxRow:
            return QStringLiteral("极限曲线 q_G（θ_F,max %1 ℃）")
                .arg(numberText(en_.floorLimit, -1));
        case LimitExcessRow:
            return QStringLiteral("极限曲线 ΔθH,G");
        case VerdictRow:
            return QStringLiteral("校核 q ≤ q_G");
        default:
            return {};
        }
    case ProgramColumn:
        return programText(row);
    case EnColumn:
        return enText(row);
    default:
        return {};
    }
}

QString CrossCheckModel::rowSentence(int row) const {
    if (row < 0 || row >= rowCount())
        return {};
    return QStringLiteral("%1：本程序方法 %2，EN 1264-2 %3。")
        .arg(cellText(row, NameColumn), cellText(row, ProgramColumn), cellText(row, EnColumn));
}

QVariant CrossCheckModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return cellText(index.row(), index.column());
    case Qt::AccessibleDescriptionRole:
    case Qt::ToolTipRole:
        return rowSentence(index.row());
    case VerdictRole:
        if (index.row() != VerdictRow || index.column() == NameColumn)
            return {};
        if (index.column() == ProgramColumn)
            return static_cast<int>(floorVerdict_);
        // For an EN category this is the floor's verdict; for a JGJ row above
        // the curve is a hint to look again (a warning).
        if (limitCurve_)
            return static_cast<int>(floorVerdict_);
        return static_cast<int>(en_.withinLimit ? Verdict::Pass : Verdict::High);
    default:
        return {};
    }
}

QVariant CrossCheckModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        if (role == Qt::AccessibleTextRole || role == Qt::AccessibleDescriptionRole)
            return rowSentence(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    switch (section) {
    case NameColumn:
        return QStringLiteral("项目");
    case ProgramColumn:
        return QStringLiteral("本程序方法");
    case EnColumn:
        return filled_ && en_.flags != 0 ? QStringLiteral("EN 1264-2（超出适用范围）")
                                         : QStringLiteral("EN 1264-2");
    default:
        return {};
    }
}

} // namespace zorva::models
