// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/hydraulics/materialstablemodel.h"

#include "core/io/materialscsv.h"
#include "models/hydraulics/hydraulicstexts.h"
#include "models/project/projecttexts.h"

namespace zorva::models {

namespace {

int decimalsOf(materials::MaterialUnit unit) {
    switch (unit) {
    case materials::MaterialUnit::Metre:
        return 1;
    case materials::MaterialUnit::SquareMetre:
        return 2;
    case materials::MaterialUnit::CubicMetre:
        return 3;
    default:
        return 0;
    }
}

QString sizeText(const materials::MaterialItem& item) {
    const QString pipe = QString::fromStdString(item.pipe);
    switch (item.kind) {
    case materials::MaterialKind::PipeRoll:
        return QStringLiteral("%1，%2 m/卷").arg(pipe, settingNumber(item.size));
    case materials::MaterialKind::Manifold:
        return QStringLiteral("%1 路").arg(settingNumber(item.size));
    default:
        return pipe;
    }
}

} // namespace

MaterialsTableModel::MaterialsTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void MaterialsTableModel::setMaterials(const project::MaterialsResult& materials,
                                       const materials::BillOptions& options) {
    beginResetModel();
    materials_ = materials;
    options_ = options;
    endResetModel();
}

int MaterialsTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(materials_.bill.items.size());
}

int MaterialsTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant MaterialsTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const materials::MaterialItem& item = materials_.bill.items[std::size_t(index.row())];
    if (role == Qt::TextAlignmentRole)
        return index.column() == Quantity ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                          : QVariant();
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (Column(index.column())) {
    case Item:
        return io::materialName(item.kind);
    case Size:
        return sizeText(item);
    case Quantity:
        return fixed(item.quantity, decimalsOf(item.unit));
    case Unit:
        return materialUnit(item.unit);
    case Basis:
        return materialBasis(item, options_);
    case ColumnCount:
        break;
    }
    return {};
}

QVariant MaterialsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const QStringList names{QStringLiteral("材料"), QStringLiteral("规格"),
                                   QStringLiteral("数量"), QStringLiteral("单位"),
                                   QStringLiteral("依据")};
    return section >= 0 && section < names.size() ? names[section] : QVariant();
}

CuttingPlanModel::CuttingPlanModel(QObject* parent) : QAbstractTableModel(parent) {}

void CuttingPlanModel::setMaterials(const project::MaterialsResult& mat) {
    beginResetModel();
    rows_.clear();
    for (const materials::PipePlan& plan : mat.bill.pipes) {
        const QString pipe = QString::fromStdString(plan.pipe);
        const auto name = [&](std::size_t i) {
            return i < plan.loops.size() && plan.loops[i] < mat.loopNames.size()
                       ? QString::fromStdString(mat.loopNames[plan.loops[i]])
                       : QString();
        };
        for (const materials::RollCut& roll : plan.cutting.rolls) {
            QStringList names;
            for (std::size_t i : roll.loops)
                names << name(i);
            rows_.push_back({pipe, double(roll.rollMm) / 1000, names.join(QStringLiteral("、")),
                             double(roll.usedMm) / 1000, double(roll.offcutMm()) / 1000});
        }
        for (std::size_t i : plan.cutting.unplaced)
            rows_.push_back({pipe, 0, name(i), 0, 0});
    }
    endResetModel();
}

int CuttingPlanModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int CuttingPlanModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CuttingPlanModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Row& r = rows_[std::size_t(index.row())];
    if (role == Qt::TextAlignmentRole)
        return index.column() == Roll || index.column() == Used || index.column() == Offcut
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant();
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    const bool unplaced = r.rollM <= 0;
    switch (Column(index.column())) {
    case Pipe:
        return r.pipe;
    case Roll:
        return unplaced ? QStringLiteral("无卷可整根裁出") : fixed(r.rollM, 0);
    case Loops:
        return r.loops;
    case Used:
        return unplaced ? QString() : fixed(r.usedM, 1);
    case Offcut:
        return unplaced ? QString() : fixed(r.offcutM, 1);
    case ColumnCount:
        break;
    }
    return {};
}

QVariant CuttingPlanModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const QStringList names{QStringLiteral("管材"), QStringLiteral("卷长(m)"),
                                   QStringLiteral("环路"), QStringLiteral("用量(m)"),
                                   QStringLiteral("余料(m)")};
    return section >= 0 && section < names.size() ? names[section] : QVariant();
}

QString cuttingSummary(const project::MaterialsResult& mat) {
    if (!mat.computed)
        return QStringLiteral("材料表无法计算：环路、房间或材料选项有误。");
    QStringList lines;
    for (const materials::PipePlan& plan : mat.bill.pipes) {
        const materials::CuttingPlan& c = plan.cutting;
        lines << QStringLiteral("%1：管长 %2 m，购买 %3 m，余料 %4 m；下限 %5 m，比值 %6")
                     .arg(QString::fromStdString(plan.pipe), fixed(c.piecesM, 1),
                          fixed(c.purchasedM, 0), fixed(c.offcutM, 1), fixed(c.lowerBoundM, 0),
                          fixed(c.ratio, 3));
        if (!c.unplaced.empty())
            lines.back() +=
                QStringLiteral("；%1 个环路比最长的卷还长，未列入").arg(c.unplaced.size());
    }
    if (mat.bill.anyOversize)
        lines << QStringLiteral("有分集水器的环路数超过库存的最大路数。");
    lines << QStringLiteral("裁管：每个环路整根裁出、不接管，按最佳适配递减装卷；"
                            "下限 = 管长按卷长的最大公约数向上取整（docs/materials.md §2）");
    return lines.join(u'\n');
}

} // namespace zorva::models
