// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/project/envelopetablemodel.h"

#include "core/heatload/loadresult.h"
#include "models/project/projectdocument.h"
#include "models/project/projecttexts.h"

namespace zorva::models {

namespace {

constexpr int kKindCount = 6;
constexpr int kOrientationCount = 9;

const heatload::HeatLoadResult* computedLoad(const ProjectDocument& document, int room) {
    const project::ProjectResult& result = document.result();
    if (result.rooms.size() != document.project().rooms.size())
        return nullptr;
    const auto& load = result.rooms[std::size_t(room)].load.computed;
    return load && load->ok() ? &*load : nullptr;
}

} // namespace

EnvelopeTableModel::EnvelopeTableModel(ProjectDocument& document, QObject* parent)
    : QAbstractTableModel(parent), document_(document) {
    auto reset = [this] {
        beginResetModel();
        if (room_ && std::size_t(*room_) >= document_.project().rooms.size())
            room_.reset();
        endResetModel();
    };
    connect(&document_, &ProjectDocument::roomsReset, this, reset);
    connect(&document_, &ProjectDocument::roomChanged, this, [this, reset](int row) {
        if (room_ == row)
            reset();
    });
    connect(&document_, &ProjectDocument::resultChanged, this, [this] {
        if (rowCount() > 0)
            emit dataChanged(index(0, Load), index(rowCount() - 1, Load));
    });
    connect(&document_, &ProjectDocument::settingsChanged, this,
            [this] { emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1); });
}

bool EnvelopeTableModel::valid() const {
    return room_ && *room_ >= 0 && std::size_t(*room_) < document_.project().rooms.size();
}

void EnvelopeTableModel::setRoom(std::optional<int> room) {
    beginResetModel();
    room_ = room;
    endResetModel();
}

int EnvelopeTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !valid())
        return 0;
    const auto& envelope = document_.project().rooms[std::size_t(*room_)].envelope;
    return envelope ? int(envelope->elements.size()) : 0;
}

int EnvelopeTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant EnvelopeTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const auto& e =
        document_.project().rooms[std::size_t(*room_)].envelope->elements[std::size_t(index.row())];
    const bool en = document_.project().settings.heatLoad.method == project::LoadMethod::En12831;
    if (role == Qt::ToolTipRole && index.column() == Load) {
        const heatload::HeatLoadResult* load = computedLoad(document_, *room_);
        return load ? QString::fromStdString(load->clauses) : QVariant();
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::AccessibleTextRole)
        return {};
    switch (Column(index.column())) {
    case Name:
        return QString::fromStdString(e.name);
    case Kind:
        return elementKindText(e.kind);
    case Orientation:
        return orientationText(e.orientation);
    case Area:
        return fixed(e.area, 2);
    case U:
        return fixed(e.u, 3);
    case Correction:
        if (en)
            return e.fx ? fixed(*e.fx, 2) : QStringLiteral("默认");
        return fixed(e.alpha, 2);
    case Load: {
        const heatload::HeatLoadResult* load = computedLoad(document_, *room_);
        if (load == nullptr || std::size_t(index.row()) >= load->elements.size())
            return QString();
        const heatload::ElementLoad& share = load->elements[std::size_t(index.row())];
        return share.counted ? fixed(share.total, 1) : QStringLiteral("不计");
    }
    default:
        return {};
    }
}

QVariant EnvelopeTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    const bool en = document_.project().settings.heatLoad.method == project::LoadMethod::En12831;
    if (role == Qt::DisplayRole) {
        switch (Column(section)) {
        case Name:
            return QStringLiteral("名称");
        case Kind:
            return QStringLiteral("类型");
        case Orientation:
            return QStringLiteral("朝向");
        case Area:
            return QStringLiteral("面积 m²");
        case U:
            return en ? QStringLiteral("U W/(m²·K)") : QStringLiteral("K W/(m²·K)");
        case Correction:
            return en ? QStringLiteral("f_x") : QStringLiteral("温差修正 α");
        case Load:
            return QStringLiteral("耗热量 W");
        default:
            return {};
        }
    }
    if (role == Qt::ToolTipRole) {
        switch (Column(section)) {
        case Correction:
            return en ? QStringLiteral("温度修正系数 f_x（EN 12831-1 §6.3.2），空白取边界的默认值")
                      : QStringLiteral("围护结构温差修正系数 α（GB 50736-2012 §5.2.4）");
        case Orientation:
            return QStringLiteral("朝向修正（GB 50736-2012 §5.2.6）");
        case Load:
            return en ? QStringLiteral("Φ_T,k = A·(U + ΔU_TB)·f_x·Δθ（EN 12831-1）")
                      : QStringLiteral("基本耗热量与附加（GB 50736-2012 §5.2.4–5.2.8）");
        default:
            return {};
        }
    }
    return {};
}

Qt::ItemFlags EnvelopeTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (index.column() != Load)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool EnvelopeTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount())
        return false;
    project::Room room = document_.project().rooms[std::size_t(*room_)];
    heatload::EnvelopeElement& e = room.envelope->elements[std::size_t(index.row())];
    const QString text = value.toString().trimmed();
    const std::optional<double> number = cellNumber(text);
    const bool en = document_.project().settings.heatLoad.method == project::LoadMethod::En12831;
    switch (Column(index.column())) {
    case Name:
        if (text.size() > 200)
            return false;
        e.name = text.toStdString();
        break;
    case Kind: {
        int found = -1;
        for (int k = 0; k < kKindCount; ++k)
            if (elementKindText(heatload::ElementKind(k)) == text)
                found = k;
        if (found < 0)
            return false;
        e.kind = heatload::ElementKind(found);
        break;
    }
    case Orientation: {
        int found = -1;
        for (int k = 0; k < kOrientationCount; ++k)
            if (orientationText(heatload::Orientation(k)) == text)
                found = k;
        if (found < 0)
            return false;
        e.orientation = heatload::Orientation(found);
        break;
    }
    case Area:
        if (!number || *number < 0 || *number > 100000)
            return false;
        e.area = *number;
        break;
    case U:
        if (!number || *number <= 0 || *number > 100)
            return false;
        e.u = *number;
        break;
    case Correction:
        if (en && (text.isEmpty() || text == QStringLiteral("默认"))) {
            e.fx.reset();
        } else {
            if (!number || *number < 0 || (!en && *number > 1) || *number > 10)
                return false;
            if (en)
                e.fx = *number;
            else
                e.alpha = *number;
        }
        break;
    default:
        return false;
    }
    document_.setRoom(*room_, room,
                      QStringLiteral("修改围护结构（%1）").arg(QString::fromStdString(room.name)));
    return true;
}

void EnvelopeTableModel::addElement(int row) {
    if (!valid())
        return;
    project::Room room = document_.project().rooms[std::size_t(*room_)];
    if (!room.envelope) {
        room.envelope = heatload::RoomEnvelope{};
        room.envelope->height = 2.8;
    }
    auto& elements = room.envelope->elements;
    heatload::EnvelopeElement e;
    e.name = QStringLiteral("外墙%1").arg(elements.size() + 1).toStdString();
    e.area = 10;
    e.u = 0.45;
    e.orientation = heatload::Orientation::S;
    const std::size_t at =
        row < 0 || std::size_t(row) >= elements.size() ? elements.size() : std::size_t(row) + 1;
    elements.insert(elements.begin() + std::ptrdiff_t(at), e);
    document_.setRoom(*room_, room,
                      QStringLiteral("添加围护结构（%1）").arg(QString::fromStdString(room.name)));
}

void EnvelopeTableModel::removeElement(int row) {
    if (row < 0 || row >= rowCount())
        return;
    project::Room room = document_.project().rooms[std::size_t(*room_)];
    room.envelope->elements.erase(room.envelope->elements.begin() + row);
    document_.setRoom(*room_, room,
                      QStringLiteral("删除围护结构（%1）").arg(QString::fromStdString(room.name)));
}

LoadBreakdownModel::LoadBreakdownModel(ProjectDocument& document, QObject* parent)
    : QAbstractTableModel(parent), document_(document) {
    auto reset = [this] {
        beginResetModel();
        if (room_ && std::size_t(*room_) >= document_.project().rooms.size())
            room_.reset();
        endResetModel();
    };
    connect(&document_, &ProjectDocument::resultChanged, this, reset);
    connect(&document_, &ProjectDocument::roomsReset, this, reset);
}

void LoadBreakdownModel::setRoom(std::optional<int> room) {
    beginResetModel();
    room_ = room;
    endResetModel();
}

int LoadBreakdownModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : RowCount;
}

int LoadBreakdownModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant LoadBreakdownModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !room_ || std::size_t(*room_) >= document_.project().rooms.size())
        return {};
    const heatload::HeatLoadResult* load = computedLoad(document_, *room_);
    if (load == nullptr)
        return {};
    if (role == Qt::ToolTipRole)
        return QString::fromStdString(load->clauses);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    const double watts[RowCount] = {load->transmission, load->additions, load->infiltration,
                                    load->heatLoad};
    const double floor = document_.project().rooms[std::size_t(*room_)].floorArea;
    const double w = watts[index.row()];
    if (index.column() == 0)
        return fixed(w, 1);
    return floor > 0 ? fixed(w / floor, 2) : QStringLiteral("—");
}

QVariant LoadBreakdownModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section == 0 ? QStringLiteral("W") : QStringLiteral("W/m²");
    const bool en = document_.project().settings.heatLoad.method == project::LoadMethod::En12831;
    switch (Row(section)) {
    case Transmission:
        return QStringLiteral("围护结构基本耗热量");
    case Additions:
        return en ? QStringLiteral("间歇供暖附加") : QStringLiteral("附加耗热量");
    case Infiltration:
        return en ? QStringLiteral("通风耗热量") : QStringLiteral("冷风渗透耗热量");
    case Total:
        return QStringLiteral("合计");
    default:
        return {};
    }
}

} // namespace zorva::models
