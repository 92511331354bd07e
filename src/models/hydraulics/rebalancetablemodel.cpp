// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/hydraulics/rebalancetablemodel.h"

#include "core/hydraulics/valve.h"
#include "models/hydraulics/hydraulicstexts.h"
#include "models/project/projectdocument.h"
#include "models/project/projecttexts.h"

namespace zorva::models {

namespace {

const project::ManifoldResult* manifoldResult(const ProjectDocument& d, std::size_t m) {
    return m < d.result().manifolds.size() && m < d.project().manifolds.size()
               ? &d.result().manifolds[m]
               : nullptr;
}

QString faultText(hydraulics::RebalanceFault f) {
    using F = hydraulics::RebalanceFault;
    switch (f) {
    case F::MeasuredOrder:
        return QStringLiteral("实测值应满足 供水 > 回水 > 室温");
    case F::FlowNotPositive:
        return QStringLiteral("流量应大于 0");
    case F::ValveInvalid:
        return QStringLiteral("阀门特性不可用");
    default:
        return QStringLiteral("无法计算");
    }
}

QString proposalText(const hydraulics::LoopRebalance& r) {
    if (!r.ok())
        return faultText(r.fault);
    QString text = r.change ? settingNumber(r.proposedDial)
                            : QStringLiteral("不变（%1）").arg(settingNumber(r.proposedDial));
    if (r.flags & hydraulics::RebalanceSupplyTooLow)
        text += QStringLiteral("，供水温度不足");
    else if (r.flags & hydraulics::RebalanceFullyOpenShort)
        text += QStringLiteral("，全开仍不足");
    if (r.flags & hydraulics::RebalanceBelowTable)
        text += QStringLiteral("，无法节流到位");
    return text;
}

} // namespace

RebalanceTableModel::RebalanceTableModel(ProjectDocument& document, QObject* parent)
    : QAbstractTableModel(parent), document_(document) {
    connect(&document_, &ProjectDocument::resultChanged, this, &RebalanceTableModel::reset);
    connect(&document_, &ProjectDocument::manifoldChanged, this, [this](int index) {
        if (std::size_t(index) == manifold_ && rows_ > 0)
            emit dataChanged(this->index(0, 0), this->index(rows_ - 1, ColumnCount - 1));
    });
    reset();
}

void RebalanceTableModel::setManifold(std::size_t manifold) {
    manifold_ = manifold;
    reset();
}

void RebalanceTableModel::reset() {
    beginResetModel();
    const project::ManifoldResult* m = manifoldResult(document_, manifold_);
    rows_ = m ? int(m->loops.size()) : 0;
    endResetModel();
}

int RebalanceTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int RebalanceTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RebalanceTableModel::display(int row, int column) const {
    const project::ManifoldResult* m = manifoldResult(document_, manifold_);
    if (!m || std::size_t(row) >= m->loops.size())
        return {};
    const project::ProjectLoop& l = m->loops[std::size_t(row)];
    const project::Manifold& manifold = document_.project().manifolds[manifold_];
    const project::LoopMeasurement* measured = measurementOf(manifold.rebalance, l.name);
    const hydraulics::LoopPresetting* preset = m->hydraulics.presetting(std::size_t(row));
    const std::optional<project::LoopRebalanceResult>& r =
        std::size_t(row) < m->rebalance.loops.size() ? m->rebalance.loops[std::size_t(row)]
                                                     : std::nullopt;
    const bool ok = r && r->rebalance.ok();
    switch (Column(column)) {
    case Name:
        return QString::fromStdString(l.name);
    case DesignSupply:
        return l.computed ? fixed(l.figures.supplyTemp, 1) : QString();
    case DesignReturn:
        return l.computed ? fixed(l.figures.returnTemp, 1) : QString();
    case DesignFlow:
        return fixed(m->hydraulics.flowMeterLpm(std::size_t(row)), 2);
    case MeasuredSupply:
        return measured ? settingNumber(measured->supplyTemp) : QString();
    case MeasuredReturn:
        return measured ? settingNumber(measured->returnTemp) : QString();
    case MeasuredFlow:
        return measured && measured->flowLpm ? settingNumber(*measured->flowLpm) : QString();
    case MeasuredRoom:
        return measured && measured->roomTemp ? settingNumber(*measured->roomTemp) : QString();
    case SettingBefore:
        if (measured && measured->settingBefore)
            return settingNumber(*measured->settingBefore);
        return preset ? settingNumber(preset->dialSetting) : QString();
    case ActualOutput:
        return ok ? fixed(r->rebalance.actualOutputW, 0) : QString();
    case DesignOutput:
        return ok ? fixed(r->rebalance.designOutputW, 0) : QString();
    case Ratio:
        return ok ? fixed(r->rebalance.outputRatio * 100, 1) + QStringLiteral("%") : QString();
    case Proposed:
        return r ? proposalText(r->rebalance) : QString();
    case SettingAfter:
        return measured && measured->settingAfter ? settingNumber(*measured->settingAfter)
                                                  : QString();
    case ColumnCount:
        break;
    }
    return {};
}

QVariant RebalanceTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_)
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return display(index.row(), index.column());
    if (role == Qt::TextAlignmentRole)
        return index.column() == Name || index.column() == Proposed
                   ? QVariant()
                   : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole && index.column() >= ActualOutput)
        return QStringLiteral("实际散热量 = 流量 × c_W × (实测供水 − 实测回水)；建议设定按实测的"
                              "传热能力求达到设计散热量的流量，再按阀门特性求预设定值"
                              "（docs/hydraulics.md §7）。无实测流量时按设计流量。");
    return {};
}

QVariant RebalanceTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const QStringList names{QStringLiteral("环路"),
                                   QStringLiteral("设计供水(℃)"),
                                   QStringLiteral("设计回水(℃)"),
                                   QStringLiteral("流量计设定(l/min)"),
                                   QStringLiteral("实测供水(℃)"),
                                   QStringLiteral("实测回水(℃)"),
                                   QStringLiteral("实测流量(l/min)"),
                                   QStringLiteral("实测室温(℃)"),
                                   QStringLiteral("测量时设定"),
                                   QStringLiteral("实际散热(W)"),
                                   QStringLiteral("设计散热(W)"),
                                   QStringLiteral("实际/设计"),
                                   QStringLiteral("建议设定"),
                                   QStringLiteral("平衡后设定")};
    return section >= 0 && section < names.size() ? names[section] : QVariant();
}

Qt::ItemFlags RebalanceTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    switch (Column(index.column())) {
    case MeasuredSupply:
    case MeasuredReturn:
    case MeasuredFlow:
    case MeasuredRoom:
    case SettingBefore:
    case SettingAfter:
        return f | Qt::ItemIsEditable;
    default:
        return f;
    }
}

bool RebalanceTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const project::ManifoldResult* m = manifoldResult(document_, manifold_);
    if (role != Qt::EditRole || !index.isValid() || !m || index.row() >= rows_ ||
        std::size_t(index.row()) >= m->loops.size())
        return false;
    const project::ProjectLoop& l = m->loops[std::size_t(index.row())];
    project::Manifold manifold = document_.project().manifolds[manifold_];
    project::RebalanceInputs& in = manifold.rebalance;
    const QString text = value.toString().trimmed();
    const std::optional<double> number = cellNumber(text);
    // The ranges of the project file, so that every edit can be saved and read.
    const auto inRange = [&](double low, double high) {
        return number && *number >= low && *number <= high;
    };
    project::LoopMeasurement* measured = measurementOf(in, l.name);
    const Column column = Column(index.column());
    const bool temperature = column == MeasuredSupply || column == MeasuredReturn;
    if (text.isEmpty() && temperature) {
        // Without both temperatures there is no measurement.
        if (!measured)
            return false;
        in.loops.erase(in.loops.begin() + (measured - in.loops.data()));
    } else {
        if (!measured) {
            if (!l.computed)
                return false;
            // A new measurement starts from the design's temperatures.
            in.loops.push_back({l.name, l.figures.supplyTemp, l.figures.returnTemp});
            measured = &in.loops.back();
        }
        const double setting = hydraulics::kMaxValveSetting;
        const auto setOptional = [&](std::optional<double>& field, double low, double high) {
            if (text.isEmpty())
                field.reset();
            else if (inRange(low, high))
                field = *number;
            else
                return false;
            return true;
        };
        bool accepted = false;
        switch (column) {
        case MeasuredSupply:
            accepted = inRange(0, 100);
            if (accepted)
                measured->supplyTemp = *number;
            break;
        case MeasuredReturn:
            accepted = inRange(0, 100);
            if (accepted)
                measured->returnTemp = *number;
            break;
        case MeasuredFlow:
            accepted = setOptional(measured->flowLpm, 0.001, 1000);
            break;
        case MeasuredRoom:
            accepted = setOptional(measured->roomTemp, -50, 50);
            break;
        case SettingBefore:
            accepted = setOptional(measured->settingBefore, -setting, setting);
            break;
        case SettingAfter:
            accepted = setOptional(measured->settingAfter, -setting, setting);
            break;
        default:
            break;
        }
        if (!accepted)
            return false;
    }
    document_.setManifold(int(manifold_), manifold,
                          QStringLiteral("修改%1（%2）")
                              .arg(headerData(index.column(), Qt::Horizontal).toString(),
                                   QString::fromStdString(l.name)));
    return true;
}

int RebalanceTableModel::takeProposals() {
    const project::ManifoldResult* m = manifoldResult(document_, manifold_);
    if (!m)
        return 0;
    project::Manifold manifold = document_.project().manifolds[manifold_];
    int changed = 0;
    for (const std::optional<project::LoopRebalanceResult>& r : m->rebalance.loops) {
        if (!r || !r->rebalance.ok() || !r->rebalance.change ||
            r->measurement >= manifold.rebalance.loops.size())
            continue;
        manifold.rebalance.loops[r->measurement].settingAfter = r->rebalance.proposedDial;
        ++changed;
    }
    if (changed > 0)
        document_.setManifold(int(manifold_), manifold, QStringLiteral("采用建议设定"));
    return changed;
}

} // namespace zorva::models
