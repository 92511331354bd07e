// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/cooling/coolingroomtablemodel.h"

#include "core/cooling/admissible.h"
#include "core/cooling/limits.h"
#include "core/engine/designcheck.h"
#include "core/project/projectresult.h"
#include "models/check/coolingcheckmodel.h"
#include "models/check/verdictrole.h"
#include "models/cooling/coolingtexts.h"
#include "models/project/projectdocument.h"
#include "models/project/projecttexts.h"

#include <string_view>

namespace zorva::models {

namespace {

using cooling::CheckId;

// The room's loops share its water, room state and construction, so their
// numbers per m² and their checks are one; the first loop stands for all.
const cooling::LoopResult* firstLoop(const project::ProjectResult& r, std::size_t room) {
    if (room >= r.rooms.size())
        return nullptr;
    const project::RoomResult& heating = r.rooms[room];
    if (heating.loops.empty() || heating.manifold >= r.cooling.manifolds.size())
        return nullptr;
    const auto& loops = r.cooling.manifolds[heating.manifold].loops;
    const std::size_t position = heating.loops.front();
    return position < loops.size() && loops[position].applicable() ? &loops[position] : nullptr;
}

bool loadUnmet(const project::CoolingRoomResult& c) {
    return c.computed() && c.loadGiven && !c.room.loadMet;
}

QString utf8(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// Where a column's figure comes from, for its header's tool tip.
QString columnBasisText(int column) {
    using M = CoolingRoomTableModel;
    switch (M::Column(column)) {
    case M::RoomTemp:
        return QStringLiteral("供冷室内设计温度（%1）；辐射供冷时宜提高 0.5～1.5 ℃（%2）")
            .arg(utf8(cooling::clause::kRoomState), utf8(cooling::clause::kRoomTempAdvice));
    case M::Humidity:
        return QStringLiteral("室内空气的设计相对湿度，由新风除湿保证（%1）")
            .arg(utf8(cooling::clause::kRoomState));
    case M::SensibleLoad:
        return QStringLiteral("房间显热冷负荷，地面只承担显热（%1）；空白：只计算供冷量")
            .arg(utf8(cooling::clause::kSensibleLoad));
    case M::Occupancy:
        return QStringLiteral("决定地表面温度舒适下限：站立或行走 19 ℃（%1），以坐姿为主 20 ℃"
                              "（%2），门厅、走廊不限")
            .arg(utf8(cooling::clause::kFloorStanding), utf8(cooling::clause::kFloorSeated));
    case M::DewPoint:
        return QStringLiteral("室内空气露点温度：%1").arg(utf8(cooling::clause::kDewPoint));
    case M::MinSupply:
        return QStringLiteral("露点温度加防结露安全余量（%1）")
            .arg(utf8(cooling::clause::kDewMargin));
    case M::Output:
    case M::OutputPerArea:
        return QStringLiteral("设计供回水温度下房间各环路的供冷量（%1）")
            .arg(utf8(cooling::clause::kMethod));
    case M::Admissible:
        return QStringLiteral("不违反露点和地面温度限值时的供冷量（%1）")
            .arg(utf8(cooling::clause::kMethod));
    case M::Shortfall:
        return QStringLiteral("显热冷负荷减允许供冷量");
    case M::FloorTemp:
        return QStringLiteral("地表面平均温度 θ_F,m = θ_i − q/7（%1）")
            .arg(utf8(cooling::clause::kBasicCharacteristic));
    case M::FloorLimit:
        return QStringLiteral("地表面平均温度的舒适下限（%1；%2）")
            .arg(utf8(cooling::clause::kFloorStanding), utf8(cooling::clause::kFloorSeated));
    case M::Verdict:
    case M::Basis:
        return QStringLiteral("D1 供水、D2 地表面平均、D3 进水端地表面温度不低于露点温度加安全余量"
                              "（%1），F1 地表面平均温度不低于舒适下限")
            .arg(utf8(cooling::clause::kDewMargin));
    case M::NeededSupply:
        return QStringLiteral("满足显热冷负荷的供水温度（同一供回水温差），从不低于露点温度加安全"
                              "余量");
    default:
        return {};
    }
}

} // namespace

CoolingRoomTableModel::CoolingRoomTableModel(ProjectDocument& document, QObject* parent)
    : QAbstractTableModel(parent), document_(document) {
    connect(&document_, &ProjectDocument::roomsReset, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(&document_, &ProjectDocument::roomChanged, this,
            [this](int row) { emit dataChanged(index(row, 0), index(row, ColumnCount - 1)); });
    auto all = [this] {
        if (rowCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
    };
    connect(&document_, &ProjectDocument::resultChanged, this, all);
    connect(&document_, &ProjectDocument::settingsChanged, this, all);
}

int CoolingRoomTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(document_.project().rooms.size());
}

int CoolingRoomTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

const project::CoolingRoomResult* CoolingRoomTableModel::result(int row) const {
    const project::CoolingResult& c = document_.result().cooling;
    // Rows inserted or removed since, or a result of before the season
    // changed: nothing until the new one comes.
    if (!c.computed || c.rooms.size() != document_.project().rooms.size() ||
        !coolsIn(document_.project().settings.cooling.season))
        return nullptr;
    return &c.rooms[std::size_t(row)];
}

std::optional<double> CoolingRoomTableModel::value(int row, int column) const {
    const project::Room& room = document_.project().rooms[std::size_t(row)];
    switch (Column(column)) {
    case RoomTemp:
        return room.cooling.roomTemp;
    case Humidity:
        return room.cooling.humidity * 100;
    case SensibleLoad:
        return room.cooling.sensibleLoad;
    case FloorLimit:
        return cooling::lowestFloorTemp(room.cooling.occupancy);
    default:
        break;
    }
    const project::CoolingRoomResult* c = result(row);
    if (c == nullptr)
        return std::nullopt;
    switch (Column(column)) {
    case DewPoint:
        return c->dewPoint;
    case MinSupply:
        return c->minSupplyTemp;
    default:
        break;
    }
    if (!c->computed())
        return std::nullopt;
    const cooling::RoomResult& r = c->room;
    switch (Column(column)) {
    case Output:
        return r.roomOutput;
    case OutputPerArea:
        return r.roomOutput / r.area;
    case Admissible:
        return r.admissibleOutput;
    case Shortfall:
        return c->loadGiven ? std::optional<double>(r.shortfall) : std::nullopt;
    case FloorTemp:
        return cooling::coolingFloorTemp(r.roomOutput / r.area, c->input.roomTemp);
    case NeededSupply:
        // Only a supply every limit allows: where colder water would carry
        // the load, or where the design's own water breaks a limit.
        if (!c->loadGiven || !r.proposedSupplyTemp)
            return std::nullopt;
        if (r.loadMet ? !r.admissibleDesign : r.reason == cooling::Shortfall::SupplyTooWarm)
            return r.proposedSupplyTemp;
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

QString CoolingRoomTableModel::display(int row, int column) const {
    const project::Room& room = document_.project().rooms[std::size_t(row)];
    const project::CoolingRoomResult* c = result(row);
    const std::optional<double> v = value(row, column);
    switch (Column(column)) {
    case Name:
        return QString::fromStdString(room.name);
    case RoomTemp:
        return fixed(v, 1);
    case Humidity:
        return fixed(v, 0);
    case SensibleLoad:
        return fixed(v, 0);
    case Occupancy:
        return QString::fromUtf8(project::occupancyName(room.cooling.occupancy));
    case FloorLimit:
        return v ? fixed(v, 1) : QStringLiteral("不限");
    default:
        break;
    }
    if (c == nullptr)
        return {};
    if (column == DewPoint || column == MinSupply)
        return fixed(v, 2);
    if (!c->computed())
        return column == Verdict ? coolingRoomProblemText(*c) : QString();
    const cooling::RoomResult& r = c->room;
    switch (Column(column)) {
    case Output:
        return fixed(v, 0);
    case OutputPerArea:
        return fixed(v, 1);
    case Admissible:
        // Beside the load it is compared with.
        return c->loadGiven ? numberBeside(*v, r.sensibleLoad, 0) : fixed(v, 0);
    case Shortfall:
        return v ? numberBeside(*v, 0, 0) : QString();
    case FloorTemp: {
        const std::optional<double> limit = value(row, FloorLimit);
        return limit ? numberBeside(*v, *limit, 1) : fixed(v, 1);
    }
    case Verdict: {
        QString text = r.admissibleDesign ? QStringLiteral("合格") : QStringLiteral("不合格");
        if (const cooling::LoopResult* loop = firstLoop(document_.result(), std::size_t(row)))
            if (!r.admissibleDesign)
                text += QStringLiteral("：") + failedChecksText(*loop);
        if (loadUnmet(*c))
            text += QStringLiteral("；供冷量不足（%1）").arg(shortfallReasonText(r.reason));
        return text;
    }
    case Basis: {
        const cooling::LoopResult* loop = firstLoop(document_.result(), std::size_t(row));
        return loop ? checksBasisText(*loop) : QString();
    }
    case NeededSupply:
        if (v)
            return numberBeside(*v, r.minSupplyTemp, 1);
        if (loadUnmet(*c) && r.reason != cooling::Shortfall::SupplyTooWarm)
            return QStringLiteral("无（%1）").arg(shortfallReasonText(r.reason));
        return {};
    default:
        return {};
    }
}

QString CoolingRoomTableModel::toolTip(int row, int column) const {
    const project::CoolingRoomResult* c = result(row);
    if (c == nullptr)
        return {};
    const cooling::LoopResult* loop = firstLoop(document_.result(), std::size_t(row));
    switch (Column(column)) {
    case Verdict:
    case Basis: {
        if (!c->computed())
            return coolingRoomProblemText(*c);
        QStringList lines = loop ? coolingFailures(*loop) : QStringList();
        if (loadUnmet(*c))
            lines << loadShortfallText(c->room);
        return lines.isEmpty() ? QStringLiteral("供水温度、地表面温度均不低于露点温度加安全余量，"
                                                "地表面温度不低于舒适下限")
                               : lines.join(QStringLiteral("\n"));
    }
    case Shortfall:
        return loadUnmet(*c) ? loadShortfallText(c->room) : QString();
    case NeededSupply:
        return c->computed() && c->loadGiven ? neededSupplyText(c->room) : QString();
    default:
        return {};
    }
}

QString CoolingRoomTableModel::rowSentence(int row) const {
    QStringList parts;
    for (int column = 0; column < ColumnCount; ++column) {
        const QString text = display(row, column);
        if (!text.isEmpty())
            parts << headerData(column, Qt::Horizontal).toString() + QStringLiteral(" ") + text;
    }
    return parts.join(QStringLiteral("，"));
}

QVariant CoolingRoomTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const int row = index.row();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return display(row, column);
    case Qt::EditRole:
        if (column == Humidity || column == RoomTemp || column == SensibleLoad) {
            const std::optional<double> v = value(row, column);
            return v ? QString::number(*v, 'g', 15) : QString();
        }
        return display(row, column);
    case Qt::AccessibleTextRole:
        return display(row, column);
    case Qt::AccessibleDescriptionRole:
        return rowSentence(row);
    case Qt::ToolTipRole:
        return toolTip(row, column);
    case ValueRole: {
        const std::optional<double> v = value(row, column);
        return v ? QVariant(*v) : QVariant();
    }
    case VerdictRole: {
        const project::CoolingRoomResult* c = result(row);
        if (column != Verdict || c == nullptr || !c->computed())
            return {};
        return int(c->room.admissibleDesign ? zorva::Verdict::Pass : zorva::Verdict::Fail);
    }
    case Qt::TextAlignmentRole:
        if (column == Name || column == Occupancy || column == Verdict || column == Basis)
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant CoolingRoomTableModel::headerData(int section, Qt::Orientation orientation,
                                           int role) const {
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    static const char16_t* const captions[ColumnCount] = {
        u"房间",        u"室内温度 ℃",   u"相对湿度 %",     u"显热冷负荷 W",
        u"人员活动",    u"露点温度 ℃",   u"最低供水温度 ℃", u"供冷量 W",
        u"供冷量 W/m²", u"允许供冷量 W", u"不足 W",         u"地表面平均温度 ℃",
        u"舒适下限 ℃",  u"结论",         u"依据",           u"所需供水温度 ℃"};
    if (section < 0 || section >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return QString::fromUtf16(captions[section]);
    if (role != Qt::ToolTipRole)
        return {};
    return columnBasisText(section);
}

Qt::ItemFlags CoolingRoomTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (index.column() >= RoomTemp && index.column() <= Occupancy)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool CoolingRoomTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount())
        return false;
    project::Room room = document_.project().rooms[std::size_t(index.row())];
    const QString text = value.toString().trimmed();
    const std::optional<double> number = cellNumber(text);
    // The project file's ranges, so that every edit can be saved and read.
    auto inRange = [&](double low, double high) {
        return number && *number >= low && *number <= high;
    };
    QString what;
    switch (Column(index.column())) {
    case RoomTemp:
        if (!inRange(10, 40)) {
            emit refused(QStringLiteral("供冷室内温度“%1”不是 10～40 ℃ 之间的数。").arg(text));
            return false;
        }
        room.cooling.roomTemp = *number;
        what = QStringLiteral("供冷室内温度");
        break;
    case Humidity:
        if (!inRange(1, 100)) {
            emit refused(QStringLiteral("相对湿度“%1”不是 1～100 % 之间的数。").arg(text));
            return false;
        }
        room.cooling.humidity = *number / 100;
        what = QStringLiteral("相对湿度");
        break;
    case SensibleLoad:
        if (text.isEmpty()) {
            room.cooling.sensibleLoad.reset();
        } else if (inRange(0, 1e7)) {
            room.cooling.sensibleLoad = *number;
        } else {
            emit refused(QStringLiteral("显热冷负荷“%1”不是 0～10000000 W 之间的数。").arg(text));
            return false;
        }
        what = QStringLiteral("显热冷负荷");
        break;
    case Occupancy: {
        bool found = false;
        for (auto o : {cooling::Occupancy::Standing, cooling::Occupancy::Seated,
                       cooling::Occupancy::Transit})
            if (text == QString::fromUtf8(project::occupancyName(o))) {
                room.cooling.occupancy = o;
                found = true;
            }
        if (!found) {
            emit refused(QStringLiteral("人员活动“%1”不是可选的一项。").arg(text));
            return false;
        }
        what = QStringLiteral("人员活动");
        break;
    }
    default:
        return false;
    }
    const project::RoomCooling& before =
        document_.project().rooms[std::size_t(index.row())].cooling;
    const project::RoomCooling& after = room.cooling;
    if (after.roomTemp == before.roomTemp && after.humidity == before.humidity &&
        after.sensibleLoad == before.sensibleLoad && after.occupancy == before.occupancy)
        return true; // nothing changed: no undo step
    document_.setRoom(index.row(), room,
                      QStringLiteral("修改%1（%2）").arg(what, QString::fromStdString(room.name)));
    return true;
}

} // namespace zorva::models
