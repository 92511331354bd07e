// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/project/looptablemodel.h"

#include "core/method/method.h"
#include "core/wording/projectwording.h"
#include "models/project/projectdocument.h"
#include "models/project/projecttexts.h"

namespace zorva::models {

namespace {

const project::ManifoldResult* manifoldResult(const ProjectDocument& document,
                                              std::size_t manifold) {
    const auto& manifolds = document.result().manifolds;
    return manifold < manifolds.size() ? &manifolds[manifold] : nullptr;
}

} // namespace

LoopTableModel::LoopTableModel(ProjectDocument& document, QObject* parent)
    : QAbstractTableModel(parent), document_(document), shownRows_(rowCount()) {
    // A new result with as many loops only changes the cells: the view
    // keeps its scroll position and selection, and a 1000-room project is
    // not laid out again on each edit.
    connect(&document_, &ProjectDocument::resultChanged, this, [this] {
        const int rows = rowCount();
        if (rows != shownRows_) {
            beginResetModel();
            shownRows_ = rows;
            endResetModel();
        } else if (rows > 0) {
            emit dataChanged(index(0, 0), index(rows - 1, ColumnCount - 1));
        }
    });
}

void LoopTableModel::setManifold(std::size_t manifold) {
    beginResetModel();
    manifold_ = manifold;
    shownRows_ = rowCount();
    endResetModel();
}

int LoopTableModel::rowCount(const QModelIndex& parent) const {
    const project::ManifoldResult* m = manifoldResult(document_, manifold_);
    return parent.isValid() || m == nullptr ? 0 : int(m->loops.size());
}

int LoopTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant LoopTableModel::data(const QModelIndex& index, int role) const {
    const project::ManifoldResult* m = manifoldResult(document_, manifold_);
    if (!index.isValid() || m == nullptr || index.row() >= int(m->loops.size()))
        return {};
    const project::ProjectLoop& loop = m->loops[std::size_t(index.row())];
    const project::LoopFigures& f = loop.figures;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(
            (index.column() == Name || index.column() == Room || index.column() == Verdict
                 ? Qt::AlignLeft
                 : Qt::AlignRight) |
            Qt::AlignVCenter);
    if (role == Qt::ToolTipRole) {
        if (!loop.computed)
            return loopProblemText(loop.sheet.problem);
        return QString::fromUtf8(loop.sheet.clause);
    }
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    switch (Column(index.column())) {
    case Name:
        return QString::fromStdString(loop.name);
    case Room: {
        const auto& rooms = document_.project().rooms;
        if (loop.origin == project::LoopOrigin::Manual)
            return QStringLiteral("（手动环路）");
        return loop.source < rooms.size() ? QString::fromStdString(rooms[loop.source].name)
                                          : QString();
    }
    case Spacing:
        return fixed(loop.input.spacingMm, 0);
    case Length:
        return fixed(loop.input.lengthM, 1);
    default:
        break;
    }
    if (!loop.computed)
        return index.column() == Verdict ? loopProblemText(loop.sheet.problem) : QString();
    switch (Column(index.column())) {
    case HeatOutput:
        return fixed(f.heatOutput, 1);
    case FloorTemp:
        return fixed(f.floorTempMean, 1);
    case Flow:
        return fixed(f.flowKgh, 1);
    case PressureDrop:
        return fixed(f.pressureDrop, 2);
    case Supplementary:
        return fixed(f.supplementaryHeat, 0);
    case Verdict:
        return loopVerdictText(f);
    default:
        return {};
    }
}

QVariant LoopTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    static const char16_t* const captions[ColumnCount] = {
        u"环路",    u"房间",      u"间距 mm",  u"长度 m",     u"q W/m²",
        u"θ_F,m ℃", u"流量 kg/h", u"压降 kPa", u"辅助散热 W", u"结论"};
    if (section < 0 || section >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromUtf16(captions[section]);
    if (role == Qt::ToolTipRole && section >= HeatOutput) {
        const method::Method method = document_.result().method;
        QString tip = methodLine(method);
        if (section == PressureDrop)
            tip += QStringLiteral("；沿程阻力按 Darcy–Weisbach，局部阻力按弯头和接头");
        if (section == Verdict)
            tip += QStringLiteral("；合格：在地表面温度限值内且满足负荷；需辅助散热：在限值内但"
                                  "负荷不足；不合格：超过地表面温度限值");
        return tip;
    }
    return {};
}

} // namespace zorva::models
