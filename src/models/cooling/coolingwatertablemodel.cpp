// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/cooling/coolingwatertablemodel.h"

#include "core/cooling/limits.h"
#include "core/project/projectresult.h"
#include "models/project/projectdocument.h"
#include "models/project/projecttexts.h"

#include <string_view>

namespace zorva::models {

namespace {

QString utf8(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// The project file's range of a cooling water temperature, ℃.
constexpr double kLowestWater = 4.5;
constexpr double kHighestWater = 40;

} // namespace

CoolingWaterTableModel::CoolingWaterTableModel(ProjectDocument& document, QObject* parent)
    : QAbstractTableModel(parent), document_(document) {
    const auto reset = [this] {
        beginResetModel();
        endResetModel();
    };
    // Manifolds come and go with whole projects only.
    connect(&document_, &ProjectDocument::roomsReset, this, reset);
    connect(&document_, &ProjectDocument::manifoldChanged, this,
            [this](int row) { emit dataChanged(index(row, 0), index(row, ColumnCount - 1)); });
    const auto all = [this] {
        if (rowCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
    };
    connect(&document_, &ProjectDocument::resultChanged, this, all);
    connect(&document_, &ProjectDocument::settingsChanged, this, all);
}

int CoolingWaterTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(document_.project().manifolds.size());
}

int CoolingWaterTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

std::optional<double> CoolingWaterTableModel::value(int row, int column) const {
    const project::Manifold& m = document_.project().manifolds[std::size_t(row)];
    switch (Column(column)) {
    case SupplyTemp:
        return m.cooling.supplyTemp;
    case ReturnTemp:
        return m.cooling.returnTemp;
    case Rise:
        return m.cooling.returnTemp - m.cooling.supplyTemp;
    default:
        break;
    }
    const project::CoolingResult& c = document_.result().cooling;
    if (!c.computed || std::size_t(row) >= c.manifolds.size() ||
        c.manifolds.size() != document_.project().manifolds.size() ||
        !coolsIn(document_.project().settings.cooling.season))
        return std::nullopt;
    const project::CoolingManifoldResult& r = c.manifolds[std::size_t(row)];
    switch (Column(column)) {
    case Output:
        return r.sums.output;
    case WaterLoad:
        return r.sums.waterLoad;
    case HeatingFlow:
        return r.heatingFlowKgh;
    case CoolingFlow:
        return r.coolingFlowKgh;
    case FailedLoops:
        return double(r.failedLoops);
    default:
        return std::nullopt;
    }
}

QString CoolingWaterTableModel::display(int row, int column) const {
    const std::optional<double> v = value(row, column);
    switch (Column(column)) {
    case Name:
        return QString::fromStdString(document_.project().manifolds[std::size_t(row)].name);
    case SupplyTemp:
    case ReturnTemp:
    case Rise:
        return fixed(v, 1);
    case Output:
    case WaterLoad:
    case HeatingFlow:
    case CoolingFlow:
        return fixed(v, 0);
    case FailedLoops:
        return v ? QString::number(int(*v)) : QString();
    case Sizing: {
        const project::CoolingResult& c = document_.result().cooling;
        if (!value(row, Output))
            return {};
        return c.manifolds[std::size_t(row)].sizing == project::SizingSeason::Cooling
                   ? QStringLiteral("供冷")
                   : QStringLiteral("供暖");
    }
    default:
        return {};
    }
}

QVariant CoolingWaterTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const int row = index.row();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return display(row, column);
    case Qt::EditRole:
        if (column == SupplyTemp || column == ReturnTemp)
            return QString::number(*value(row, column), 'g', 15);
        return display(row, column);
    case ValueRole: {
        const std::optional<double> v = value(row, column);
        return v ? QVariant(*v) : QVariant();
    }
    case Qt::ToolTipRole:
        if (column == Rise) {
            const double rise = *value(row, Rise);
            if (rise < cooling::kLowestRise || rise > cooling::kHighestRise)
                return QStringLiteral("供回水温差 %1 K 不在 2～5 K 范围内（%2）")
                    .arg(fixed(rise, 1), utf8(cooling::clause::kRise));
        }
        return {};
    case Qt::TextAlignmentRole:
        return column == Name || column == Sizing
                   ? QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter)
                   : QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant CoolingWaterTableModel::headerData(int section, Qt::Orientation orientation,
                                            int role) const {
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    static const char16_t* const captions[ColumnCount] = {
        u"分集水器",     u"供冷供水温度 ℃", u"供冷回水温度 ℃", u"温升 K",       u"供冷量 W",
        u"水的冷负荷 W", u"供暖流量 kg/h",  u"供冷流量 kg/h",  u"水泵与阀门按", u"不合格环路"};
    if (section < 0 || section >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return QString::fromUtf16(captions[section]);
    if (role != Qt::ToolTipRole)
        return {};
    switch (Column(section)) {
    case SupplyTemp:
        return QStringLiteral("供冷时较低的供水温度，不应低于各房间的露点温度加安全余量");
    case Rise:
        return QStringLiteral("供回水温差宜为 2～5 K（%1）").arg(utf8(cooling::clause::kRise));
    case Output:
    case WaterLoad:
        return QStringLiteral("各环路之和（%1）；水的冷负荷含下层传入的热量")
            .arg(utf8(cooling::clause::kMethod));
    case CoolingFlow:
        return QStringLiteral("%1").arg(utf8(cooling::clause::kDesignFlow));
    case Sizing:
        return QStringLiteral("两季流量取大者确定水泵和阀门预设定");
    case FailedLoops:
        return QStringLiteral("供水或地表面温度低于露点温度加安全余量、或地表面温度低于舒适下限的"
                              "环路数");
    default:
        return {};
    }
}

Qt::ItemFlags CoolingWaterTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (index.column() == SupplyTemp || index.column() == ReturnTemp)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool CoolingWaterTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount() ||
        (index.column() != SupplyTemp && index.column() != ReturnTemp))
        return false;
    project::Manifold m = document_.project().manifolds[std::size_t(index.row())];
    const QString text = value.toString().trimmed();
    const std::optional<double> number = cellNumber(text);
    const bool supply = index.column() == SupplyTemp;
    if (!number || *number < kLowestWater || *number > kHighestWater) {
        emit refused(
            QStringLiteral("%1“%2”不是 4.5～40 ℃ 之间的数。")
                .arg(supply ? QStringLiteral("供冷供水温度") : QStringLiteral("供冷回水温度"),
                     text));
        return false;
    }
    (supply ? m.cooling.supplyTemp : m.cooling.returnTemp) = *number;
    // The water warms in the loops: the supply is the colder one.
    if (!(m.cooling.supplyTemp < m.cooling.returnTemp)) {
        emit refused(QStringLiteral("供冷供水温度须低于回水温度（供水 %1 ℃，回水 %2 ℃）。")
                         .arg(fixed(m.cooling.supplyTemp, 1), fixed(m.cooling.returnTemp, 1)));
        return false;
    }
    if (m.cooling.supplyTemp ==
            document_.project().manifolds[std::size_t(index.row())].cooling.supplyTemp &&
        m.cooling.returnTemp ==
            document_.project().manifolds[std::size_t(index.row())].cooling.returnTemp)
        return true;
    document_.setManifold(
        index.row(), m,
        QStringLiteral("修改%1（%2）")
            .arg(supply ? QStringLiteral("供冷供水温度") : QStringLiteral("供冷回水温度"),
                 QString::fromStdString(m.name)));
    return true;
}

} // namespace zorva::models
