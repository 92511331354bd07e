// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/cooling/seasonstablemodel.h"

#include "core/cooling/limits.h"
#include "core/engine/numtext.h"
#include "core/method/method.h"
#include "models/cooling/coolingtexts.h"

#include <array>
#include <cmath>

namespace zorva::models {

namespace {

using namespace project;

struct Column {
    const char* caption;
    const char* source; // the method or clause of the figure
};

constexpr std::array<Column, 12> kLoopColumns{{
    {"分集水器", ""},
    {"环路", ""},
    {"供暖散热量(W/m²)", "计算方法"},
    {"供暖地表面温度(℃)", "计算方法"},
    {"供暖流量(kg/h)", "计算方法"},
    {"供冷量(W/m²)", "EN 1264-5 / ISO 11855-2 附录 A"},
    {"供冷地表面温度(℃)", "ISO 11855-2 式 (4)"},
    {"露点温度(℃)", "Magnus 公式"},
    {"最低供水温度(℃)", "JGJ 142-2012 §3.1"},
    {"供冷流量(kg/h)", "EN 1264-3（供冷设计流量）"},
    {"水泵按", "两季流量取大"},
    {"供冷校核", "JGJ 142-2012 §3.1；EN 1264 / ISO 7730"},
}};

constexpr std::array<Column, 10> kRoomColumns{{
    {"房间", ""},
    {"显热冷负荷(W)", "JGJ 142-2012 §3.3"},
    {"供冷量(W)", "EN 1264-5 / ISO 11855-2 附录 A"},
    {"允许供冷量(W)", "EN 1264-5 / ISO 11855-2 附录 A"},
    {"不足(W)", "EN 1264-5 / ISO 11855-2 附录 A"},
    {"原因", ""},
    {"露点温度(℃)", "Magnus 公式"},
    {"最低供水温度(℃)", "JGJ 142-2012 §3.1"},
    {"建议供水温度(℃)", "不低于露点温度加安全余量"},
    {"供冷校核", "JGJ 142-2012 §3.1"},
}};

QString fixed(double value, int decimals) {
    return std::isfinite(value) ? QString::fromUtf8(patternText(value, decimals).view())
                                : QString();
}

QString fixed(const std::optional<double>& value, int decimals) {
    return value ? fixed(*value, decimals) : QString();
}

QStringList loopRow(const Manifold& m, const ProjectLoop& h, const cooling::LoopResult* c,
                    const CoolingManifoldResult* cm) {
    QStringList row{QString::fromStdString(m.name), QString::fromStdString(h.name)};
    row << (h.computed ? fixed(h.figures.heatOutput, 1) : QString())
        << (h.computed ? fixed(h.figures.floorTempMean, 1) : QString())
        << (h.computed ? fixed(h.figures.flowKgh, 0) : QString());
    if (!c || !c->applicable()) {
        row << QString() << QString() << QString() << QString() << QString() << QString()
            << (c ? QStringLiteral("无结果") : QString());
        return row;
    }
    row << fixed(c->coolingOutput, 1) << fixed(c->floorTempMean, 1) << fixed(c->dewPoint, 1)
        << fixed(c->minSupplyTemp, 1) << fixed(c->flow, 0)
        << (cm->sizing == SizingSeason::Cooling ? QStringLiteral("供冷") : QStringLiteral("供暖"))
        << (c->admissibleDesign ? QStringLiteral("合格") : QStringLiteral("不合格"));
    return row;
}

QStringList roomRow(const Room& room, const CoolingRoomResult& c) {
    QStringList row{QString::fromStdString(room.name), fixed(room.cooling.sensibleLoad, 0)};
    if (!c.computed()) {
        row << QString() << QString() << QString() << QStringLiteral("无环路或无结果")
            << fixed(c.dewPoint, 1) << fixed(c.minSupplyTemp, 1) << QString() << QString();
        return row;
    }
    const cooling::RoomResult& r = c.room;
    const bool load = c.loadGiven;
    row << fixed(r.roomOutput, 0) << fixed(r.admissibleOutput, 0)
        << (load ? fixed(r.shortfall, 0) : QString())
        << (load ? shortfallReasonText(r.reason) : QString()) << fixed(c.dewPoint, 1)
        << fixed(c.minSupplyTemp, 1) << (load ? fixed(r.proposedSupplyTemp, 1) : QString());
    QString verdict = r.admissibleDesign ? QStringLiteral("合格") : QStringLiteral("不合格");
    if (load && !r.loadMet)
        verdict += QStringLiteral("，供冷量不足");
    row << verdict;
    return row;
}

} // namespace

SeasonsTableModel::SeasonsTableModel(Kind kind, QObject* parent)
    : QAbstractTableModel(parent), kind_(kind) {}

void SeasonsTableModel::setProject(const Project& p, const ProjectResult& r) {
    beginResetModel();
    rows_.clear();
    heatingSource_ = QString::fromUtf8(method::methodName(r.method)) + QStringLiteral(" ") +
                     QString::fromUtf8(method::methodClause(r.method));
    const CoolingResult& c = r.cooling;
    if (kind_ == Kind::Loops) {
        for (std::size_t m = 0; m < r.manifolds.size() && m < p.manifolds.size(); ++m) {
            const CoolingManifoldResult* cm =
                c.computed && m < c.manifolds.size() ? &c.manifolds[m] : nullptr;
            const auto& loops = r.manifolds[m].loops;
            for (std::size_t i = 0; i < loops.size(); ++i)
                rows_.push_back(loopRow(p.manifolds[m], loops[i],
                                        cm && i < cm->loops.size() ? &cm->loops[i] : nullptr, cm));
        }
    } else if (c.computed) {
        for (std::size_t i = 0; i < c.rooms.size() && i < p.rooms.size(); ++i)
            rows_.push_back(roomRow(p.rooms[i], c.rooms[i]));
    }
    endResetModel();
}

QString SeasonsTableModel::rowSentence(int row) const {
    if (row < 0 || std::size_t(row) >= rows_.size())
        return {};
    QStringList parts;
    const QStringList& cells = rows_[std::size_t(row)];
    for (int column = 0; column < cells.size(); ++column)
        if (!cells[column].isEmpty())
            parts << headerData(column, Qt::Horizontal).toString() + QStringLiteral(" ") +
                         cells[column];
    return parts.join(QStringLiteral("，"));
}

int SeasonsTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int SeasonsTableModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return kind_ == Kind::Loops ? int(kLoopColumns.size()) : int(kRoomColumns.size());
}

QVariant SeasonsTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || std::size_t(index.row()) >= rows_.size())
        return {};
    const QStringList& row = rows_[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return row.value(index.column());
    case Qt::AccessibleTextRole:
    case Qt::ToolTipRole:
        return rowSentence(index.row());
    case Qt::TextAlignmentRole:
        return index.column() == 0 || (kind_ == Kind::Loops && index.column() == 1)
                   ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                   : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant SeasonsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    const Column& c = kind_ == Kind::Loops ? kLoopColumns[std::size_t(section)]
                                           : kRoomColumns[std::size_t(section)];
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return QString::fromUtf8(c.caption);
    if (role == Qt::ToolTipRole && kind_ == Kind::Loops && section >= 2 && section <= 4)
        return QStringLiteral("依据：") + heatingSource_;
    if (role == Qt::ToolTipRole && *c.source)
        return QStringLiteral("依据：") + QString::fromUtf8(c.source);
    return {};
}

} // namespace zorva::models
