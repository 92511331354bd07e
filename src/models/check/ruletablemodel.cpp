// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/check/ruletablemodel.h"

#include "models/check/checktexts.h"
#include "models/check/verdictrole.h"

#include <QGuiApplication>
#include <QPalette>

namespace zorva::models {

RuleTableModel::RuleTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void RuleTableModel::setChecks(const std::array<RuleCheck, kRuleCount>& checks,
                               RoomCategory category, bool loadEntered) {
    beginResetModel();
    checks_ = checks;
    category_ = category;
    loadEntered_ = loadEntered;
    filled_ = true;
    stale_ = false;
    endResetModel();
}

void RuleTableModel::clear() {
    beginResetModel();
    filled_ = false;
    stale_ = false;
    endResetModel();
}

void RuleTableModel::setStale(bool stale) {
    if (stale_ == stale || !filled_)
        return;
    stale_ = stale;
    emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

int RuleTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !filled_ ? 0 : kRuleCount;
}

int RuleTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString RuleTableModel::cellText(int row, int column) const {
    const RuleCheck& c = checks_[static_cast<std::size_t>(row)];
    switch (column) {
    case NameColumn:
        return ruleName(c);
    case ValueColumn:
        return ruleValueText(c) + QStringLiteral(" ") + ruleUnit(c);
    case LimitColumn:
        return ruleLimitText(c, loadEntered_);
    case VerdictColumn:
        return stale_ ? verdictWithAdvice(c) + QStringLiteral("（上次计算）")
                      : verdictWithAdvice(c);
    case BasisColumn:
        return ruleSource(c);
    default:
        return {};
    }
}

QString RuleTableModel::rowSentence(int row) const {
    if (row < 0 || row >= rowCount())
        return {};
    const QString sentence =
        QStringLiteral("%1：计算值 %2，限值 %3，结论 %4，依据 %5。")
            .arg(cellText(row, NameColumn), cellText(row, ValueColumn), cellText(row, LimitColumn),
                 cellText(row, VerdictColumn), cellText(row, BasisColumn));
    return stale_ ? QStringLiteral("输入已修改，以下为上次计算的结果。") + sentence : sentence;
}

QVariant RuleTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return {};
    const RuleCheck& c = checks_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return cellText(index.row(), index.column());
    case Qt::AccessibleDescriptionRole:
        return rowSentence(index.row());
    case Qt::ToolTipRole:
        if (index.column() == BasisColumn)
            return ruleBasisDetail(c);
        return rowSentence(index.row());
    case VerdictRole:
        if (index.column() == VerdictColumn)
            return static_cast<int>(c.verdict);
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == ValueColumn)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case Qt::ForegroundRole:
        // Greyed as well as worded: the text says it is the last calculation's.
        if (stale_)
            return QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text);
        return {};
    default:
        return {};
    }
}

QVariant RuleTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
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
    case ValueColumn:
        return QStringLiteral("计算值");
    case LimitColumn:
        return QStringLiteral("限值");
    case VerdictColumn:
        return QStringLiteral("结论");
    case BasisColumn:
        return QStringLiteral("依据");
    default:
        return {};
    }
}

} // namespace zorva::models
