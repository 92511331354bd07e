// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/project/roomtablemodel.h"

#include "core/rooms/roomdesign.h"
#include "core/wording/checkwording.h"
#include "core/wording/projectwording.h"
#include "models/project/projectdocument.h"
#include "models/project/projecttexts.h"

#include <QFont>

#include <cmath>

namespace zorva::models {

namespace {

// The longest room name the project file reads.
constexpr int kMaxNameLength = 200;

const project::RoomResult* roomResult(const ProjectDocument& document, int row) {
    const project::ProjectResult& result = document.result();
    // Rows inserted or removed since: no results until the new ones come.
    if (result.rooms.size() != document.project().rooms.size())
        return nullptr;
    return &result.rooms[std::size_t(row)];
}

QString overridesText(const project::Room& room, const project::RoomResult* result) {
    QStringList marks;
    if (room.overrides.spacing)
        marks << QStringLiteral("间距");
    if (room.overrides.loopCount)
        marks << QStringLiteral("环路数");
    for (const auto& length : room.overrides.loopLengths)
        if (length) {
            marks << QStringLiteral("长度");
            break;
        }
    if (result != nullptr && (result->design.marks & rooms::BreaksLimits) != 0)
        marks << QStringLiteral("超出限值");
    return marks.join(QStringLiteral("、"));
}

} // namespace

RoomTableModel::RoomTableModel(ProjectDocument& document, QObject* parent)
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
        emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    };
    connect(&document_, &ProjectDocument::resultChanged, this, all);
    connect(&document_, &ProjectDocument::settingsChanged, this, all);
}

int RoomTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(document_.project().rooms.size());
}

int RoomTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RoomTableModel::display(int row, int column) const {
    const project::Project& project = document_.project();
    const project::Room& room = project.rooms[std::size_t(row)];
    const project::RoomResult* result = roomResult(document_, row);
    switch (Column(column)) {
    case Name:
        return QString::fromStdString(room.name);
    case Use:
        return categoryName(room.category);
    case IndoorTemp:
        return fixed(room.indoorTemp, 1);
    case FloorArea:
        return fixed(room.floorArea, 2);
    case HeatedArea:
        return fixed(room.heatedArea, 2);
    case Covering:
        return fixed(room.coveringResistance, 3);
    case Manifold:
        return room.manifold < project.manifolds.size()
                   ? QString::fromStdString(project.manifolds[room.manifold].name)
                   : QStringLiteral("（无）");
    case LoadSource:
        return project::loadComputed(project, room)
                   ? loadMethodText(project.settings.heatLoad.method)
                   : QStringLiteral("输入值");
    case TypedLoad:
        return fixed(room.typedLoad, 0);
    case Overrides:
        return overridesText(room, result);
    default:
        break;
    }
    if (result == nullptr)
        return {};
    const rooms::RoomDesign& design = result->design;
    switch (Column(column)) {
    case HeatLoad:
        return result->load.ok() ? fixed(result->load.heatLoad, 0) : QStringLiteral("—");
    case LoadPerArea:
        return result->load.ok() && room.floorArea > 0
                   ? fixed(result->load.heatLoad / room.floorArea, 2)
                   : QStringLiteral("—");
    case Spacing:
        return result->designed() ? fixed(design.spacing * 1000, 0) : QString();
    case LoopCount:
        return result->designed() ? QString::number(design.loops.size()) : QString();
    case LoopLengths: {
        if (!result->designed())
            return roomProblemText(room, *result);
        QStringList lengths;
        for (const rooms::RoomLoop& loop : design.loops)
            lengths << fixed(loop.length, 1);
        return lengths.join(QStringLiteral("、"));
    }
    case Supplementary:
        return fixed(result->supplementaryHeat, 0);
    default:
        return {};
    }
}

QVariant RoomTableModel::toolTip(int row, int column) const {
    const project::Room& room = document_.project().rooms[std::size_t(row)];
    const project::RoomResult* result = roomResult(document_, row);
    if (result == nullptr)
        return {};
    switch (Column(column)) {
    case HeatLoad:
    case LoadPerArea:
        if (!result->load.ok())
            return loadProblemText(result->load.problem);
        if (result->load.computed)
            return QStringLiteral("%1\n传热 %2 W，附加 %3 W，冷风渗透/通风 %4 W")
                .arg(QString::fromStdString(result->load.computed->clauses),
                     fixed(result->load.computed->transmission, 1),
                     fixed(result->load.computed->additions, 1),
                     fixed(result->load.computed->infiltration, 1));
        return QStringLiteral("输入的热负荷");
    case Spacing:
    case LoopCount:
    case LoopLengths:
    case Supplementary:
        if (!result->designed())
            return roomProblemText(room, *result);
        return QString::fromStdString(result->design.clauses);
    default:
        return {};
    }
}

QVariant RoomTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const project::Room& room = document_.project().rooms[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return display(index.row(), index.column());
    case Qt::EditRole:
        if (index.column() == Spacing && room.overrides.spacing)
            return fixed(*room.overrides.spacing * 1000, 0);
        if (index.column() == LoopCount && room.overrides.loopCount)
            return QString::number(*room.overrides.loopCount);
        if (index.column() == Spacing || index.column() == LoopCount)
            return QString();
        return display(index.row(), index.column());
    case Qt::ToolTipRole:
        return toolTip(index.row(), index.column());
    case Qt::FontRole:
        if ((index.column() == Spacing && room.overrides.spacing) ||
            (index.column() == LoopCount && room.overrides.loopCount)) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == Name || index.column() == Use || index.column() == Manifold ||
            index.column() == LoadSource || index.column() == LoopLengths ||
            index.column() == Overrides)
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant RoomTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    static const char16_t* const captions[ColumnCount] = {
        u"房间",        u"用途",        u"室内温度 ℃",
        u"地面面积 m²", u"供暖面积 m²", u"面层热阻 m²·K/W",
        u"分集水器",    u"负荷来源",    u"输入负荷 W",
        u"热负荷 W",    u"热负荷 W/m²", u"间距 mm",
        u"环路数",      u"环路长度 m",  u"辅助散热 W",
        u"用户修改"};
    if (section < 0 || section >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromUtf16(captions[section]);
    if (role != Qt::ToolTipRole)
        return {};
    const project::Settings& settings = document_.project().settings;
    switch (Column(section)) {
    case Use:
        return QStringLiteral("房间用途，决定地表面温度上限（JGJ 142-2012 表 3.1.3、EN 1264-2）");
    case Covering:
        return QStringLiteral("地面面层热阻 R_λ,B（EN 1264-2）");
    case HeatLoad:
    case LoadPerArea:
        return QStringLiteral("房间热负荷：%1；JGJ 142-2012 §3.3 地面辐射供暖的折减见设置")
            .arg(loadMethodText(settings.heatLoad.method));
    case Spacing:
    case LoopCount:
    case LoopLengths:
        return QStringLiteral("按 %1 选择间距并划分环路（环路长度不超过 %2 m，JGJ 142-2012 "
                              "§3.5；压降不超过 %3 kPa）；双击输入可覆盖计算值")
            .arg(methodLine(settings.method), fixed(settings.conditions.maxLoopLength, 0),
                 fixed(settings.conditions.maxPressureDrop, 0));
    case Supplementary:
        return QStringLiteral("地面供暖在表面温度限值内不能提供的热量，需辅助散热（%1）")
            .arg(methodLine(settings.method));
    case Overrides:
        return QStringLiteral("用户覆盖了计算值的项目");
    default:
        return {};
    }
}

Qt::ItemFlags RoomTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    switch (Column(index.column())) {
    case Name:
    case Use:
    case IndoorTemp:
    case FloorArea:
    case HeatedArea:
    case Covering:
    case Manifold:
    case TypedLoad:
    case Spacing:
    case LoopCount:
        flags |= Qt::ItemIsEditable;
        break;
    default:
        break;
    }
    return flags;
}

bool RoomTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount())
        return false;
    const project::Project& project = document_.project();
    project::Room room = project.rooms[std::size_t(index.row())];
    const QString text = value.toString().trimmed();
    const std::optional<double> number = cellNumber(text);
    // Ranges of the project file, so that every edit can be saved and read.
    auto inRange = [&](double low, double high) {
        return number && *number >= low && *number <= high;
    };
    QString what;
    switch (Column(index.column())) {
    case Name:
        if (text.isEmpty() || text.size() > kMaxNameLength)
            return false;
        room.name = text.toStdString();
        what = QStringLiteral("房间名称");
        break;
    case Use: {
        bool found = false;
        for (int c = 0; c < kRoomCategoryCount && !found; ++c)
            if (categoryName(RoomCategory(c)) == text) {
                room.category = RoomCategory(c);
                found = true;
            }
        if (!found)
            return false;
        what = QStringLiteral("房间用途");
        break;
    }
    case IndoorTemp:
        if (!inRange(-50, 50))
            return false;
        room.indoorTemp = *number;
        what = QStringLiteral("室内温度");
        break;
    case FloorArea:
        if (!inRange(0.01, 100000) || *number < room.heatedArea)
            return false;
        room.floorArea = *number;
        what = QStringLiteral("地面面积");
        break;
    case HeatedArea:
        if (!inRange(0.01, room.floorArea))
            return false;
        room.heatedArea = *number;
        what = QStringLiteral("供暖面积");
        break;
    case Covering:
        if (!inRange(0, 1))
            return false;
        room.coveringResistance = *number;
        what = QStringLiteral("面层热阻");
        break;
    case Manifold: {
        bool found = false;
        for (std::size_t m = 0; m < project.manifolds.size() && !found; ++m)
            if (QString::fromStdString(project.manifolds[m].name) == text) {
                room.manifold = m;
                found = true;
            }
        if (!found)
            return false;
        what = QStringLiteral("分集水器");
        break;
    }
    case TypedLoad:
        if (text.isEmpty())
            room.typedLoad.reset();
        else if (inRange(0, 1e7))
            room.typedLoad = *number;
        else
            return false;
        what = QStringLiteral("输入负荷");
        break;
    case Spacing:
        if (text.isEmpty())
            room.overrides.spacing.reset();
        else if (inRange(10, 1000))
            room.overrides.spacing = *number / 1000;
        else
            return false;
        what = QStringLiteral("间距");
        break;
    case LoopCount:
        if (text.isEmpty())
            room.overrides.loopCount.reset();
        else if (inRange(1, rooms::kMaxLoopsPerRoom) && *number == std::floor(*number))
            room.overrides.loopCount = int(*number);
        else
            return false;
        what = QStringLiteral("环路数");
        break;
    default:
        return false;
    }
    document_.setRoom(index.row(), room,
                      QStringLiteral("修改%1（%2）").arg(what, QString::fromStdString(room.name)));
    return true;
}

} // namespace zorva::models
