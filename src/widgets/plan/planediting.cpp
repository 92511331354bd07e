// SPDX-License-Identifier: GPL-3.0-or-later
// The plan window's tools: drawing rooms by clicks or typed dimensions,
// doors, no-pipe areas and the manifold, and dragging what is drawn. Every
// change goes to the project document as one undo step.
#include "widgets/plan/planediting.h"

#include "core/layout/geometry.h"
#include "core/project/planedits.h"
#include "models/plan/plantyping.h"
#include "models/project/projectdocument.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QToolBar>
#include <QUndoStack>
#include <QVBoxLayout>

#include <cmath>

namespace zorva::ui {

namespace {

using project::PlanPoint;

constexpr double kCloseEnough = 0.0005; // m: points closer than this are one

bool samePoint(PlanPoint a, PlanPoint b) {
    return std::abs(a.x - b.x) < kCloseEnough && std::abs(a.y - b.y) < kCloseEnough;
}

QString metres(double m) {
    return QString::number(m, 'f', 3);
}

QString roomName(const project::Project& p, int row) {
    return QString::fromStdString(p.rooms[std::size_t(row)].name);
}

struct ToolEntry {
    PlanWindow::Tool tool;
    const char* name;
    const char* caption;
    const char* hint;
};

constexpr ToolEntry kTools[] = {
    {PlanWindow::Tool::Select, "selectTool", "选择",
     "点击选择房间；拖动顶点、房间、分区线、连接管路径的点或分集水器；Delete 删除轮廓"},
    {PlanWindow::Tool::Rectangle, "rectangleTool", "矩形房间",
     "点击或输入（x,y）角点，再点击对角或输入宽×深（如 4.2x3.6）"},
    {PlanWindow::Tool::Polygon, "polygonTool", "多边形房间",
     "逐点点击或输入线段（右4.2、上3.6、4.2@90、@1.2,-0.6）；点回起点、双击或空回车闭合"},
    {PlanWindow::Tool::Door, "doorTool", "门", "在房间轮廓上点击放门（宽 0.9 m）"},
    {PlanWindow::Tool::NoPipeArea, "noPipeTool", "不布管区",
     "在房间内点击两个对角，或角点后输入宽×深"},
    {PlanWindow::Tool::Manifold, "manifoldTool", "分集水器",
     "点击放置分集水器（所选房间的分集水器，未选时为第一个未放置的）"},
};

} // namespace

void PlanWindow::buildEditing() {
    view_->setDragMode(QGraphicsView::NoDrag);
    view_->viewport()->setMouseTracking(true);

    tools_ = new QToolBar(QStringLiteral("绘图"));
    tools_->setObjectName(QStringLiteral("planTools"));
    tools_->setAccessibleName(QStringLiteral("绘图工具"));
    toolGroup_ = new QActionGroup(this);
    for (const ToolEntry& entry : kTools) {
        QAction* action = tools_->addAction(QString::fromUtf8(entry.caption));
        action->setObjectName(QLatin1String(entry.name));
        action->setCheckable(true);
        action->setChecked(entry.tool == Tool::Select);
        action->setToolTip(QString::fromUtf8(entry.hint));
        action->setStatusTip(action->toolTip());
        toolGroup_->addAction(action);
        connect(action, &QAction::triggered, this, [this, tool = entry.tool] { setTool(tool); });
    }
    tools_->addSeparator();
    // The project's own history: plan edits and table edits in one.
    QAction* undo = document_->undoStack().createUndoAction(this, QStringLiteral("撤销"));
    undo->setObjectName(QStringLiteral("planUndo"));
    undo->setShortcut(QKeySequence::Undo);
    undo->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    QAction* redo = document_->undoStack().createRedoAction(this, QStringLiteral("重做"));
    redo->setObjectName(QStringLiteral("planRedo"));
    redo->setShortcut(QKeySequence::Redo);
    redo->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    tools_->addAction(undo);
    tools_->addAction(redo);
    addAction(undo);
    addAction(redo);
    tools_->addSeparator();
    QAction* dxf = tools_->addAction(QStringLiteral("导入 DXF…"));
    dxf->setObjectName(QStringLiteral("importDxf"));
    connect(dxf, &QAction::triggered, this, [this] { importDxf(); });
    QAction* image = tools_->addAction(QStringLiteral("导入底图…"));
    image->setObjectName(QStringLiteral("importImage"));
    connect(image, &QAction::triggered, this, [this] { importImage(); });

    auto* gridBox = new QComboBox;
    gridBox->setObjectName(QStringLiteral("gridBox"));
    gridBox->setAccessibleName(QStringLiteral("捕捉网格"));
    for (double g : {0.0, 0.01, 0.05, 0.1, 0.25, 0.5, 1.0})
        gridBox->addItem(g == 0 ? QStringLiteral("无网格") : QStringLiteral("%1 m").arg(g), g);
    gridBox->setCurrentIndex(3);
    connect(gridBox, &QComboBox::currentIndexChanged, this,
            [this, gridBox](int i) { setGrid(gridBox->itemData(i).toDouble()); });
    tools_->addSeparator();
    tools_->addWidget(new QLabel(QStringLiteral("网格 ")));
    tools_->addWidget(gridBox);

    typed_ = new QLineEdit;
    typed_->setObjectName(QStringLiteral("typedDimensions"));
    typed_->setAccessibleName(QStringLiteral("输入尺寸"));
    typed_->setAccessibleDescription(
        QStringLiteral("角点 x,y；矩形 宽x深；线段 右4.2、上3.6、4.2@90 或 @dx,dy；单位 m"));
    typed_->setPlaceholderText(QStringLiteral("输入：x,y　4.2x3.6　右4.2　4.2@90（m）"));
    connect(typed_, &QLineEdit::returnPressed, this, [this] {
        if (enterTyped(typed_->text()))
            typed_->clear();
    });
    auto* close = new QPushButton(QStringLiteral("闭合"));
    close->setObjectName(QStringLiteral("closePolygon"));
    connect(close, &QPushButton::clicked, this, [this] { finishPolygon(); });
    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("planStatus"));
    status_->setWordWrap(true);

    auto* typedRow = new QHBoxLayout;
    typedRow->addWidget(new QLabel(QStringLiteral("尺寸")));
    typedRow->addWidget(typed_, 1);
    typedRow->addWidget(close);
    typedRow->addWidget(status_, 2);
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    layout->insertWidget(0, tools_);
    layout->insertLayout(1, typedRow);
    layout->setStretch(2, 1); // the plan takes the height

    auto* remove = new QShortcut(QKeySequence::Delete, view_);
    remove->setContext(Qt::WidgetShortcut);
    connect(remove, &QShortcut::activated, this, [this] { deleteSelectedOutline(); });
    auto* cancel = new QShortcut(QKeySequence(Qt::Key_Escape), view_);
    cancel->setContext(Qt::WidgetShortcut);
    connect(cancel, &QShortcut::activated, this, &PlanWindow::cancelDrawing);
    say(QString::fromUtf8(kTools[0].hint));
}

void PlanWindow::setTool(Tool tool) {
    tool_ = tool;
    pending_.clear();
    hover_.reset();
    drag_.reset();
    if (toolGroup_)
        for (const ToolEntry& entry : kTools)
            if (entry.tool == tool)
                for (QAction* a : toolGroup_->actions())
                    if (a->objectName() == QLatin1String(entry.name)) {
                        a->setChecked(true);
                        say(QString::fromUtf8(entry.hint));
                    }
    if (tool == Tool::ImageScale)
        say(QStringLiteral("在底图上点击已知距离的两个点，再输入它们的实际距离（m）"));
    drawPending();
}

void PlanWindow::setGrid(double metres) {
    grid_ = std::isfinite(metres) && metres > 0 ? metres : 0;
}

void PlanWindow::selectRoom(int row) {
    if (!document_)
        return;
    selectedRoom_ = row >= 0 && std::size_t(row) < document_->project().rooms.size() ? row : -1;
    redraw();
}

void PlanWindow::cancelDrawing() {
    pending_.clear();
    drag_.reset();
    drawPending();
}

void PlanWindow::say(const QString& text) {
    if (!status_)
        return;
    status_->setText(text);
    status_->setAccessibleName(text);
}

PlanPoint PlanWindow::snapped(PlanPoint raw, Qt::KeyboardModifiers modifiers) const {
    std::optional<PlanPoint> from;
    if (!pending_.empty() && (tool_ == Tool::Polygon))
        from = pending_.back();
    return project::snapPlanPoint(raw, from, grid_, !(modifiers & Qt::ShiftModifier));
}

double PlanWindow::pickRadius() const {
    const double pixels = 8;
    const double scale = view_->transform().m11();
    return scale > 0 ? pixels / scale / 1000 : 0.1;
}

int PlanWindow::roomAt(PlanPoint p) const {
    int best = -1;
    double bestArea = 0;
    const project::Project& project = document_->project();
    for (std::size_t i = 0; i < project.rooms.size(); ++i) {
        const std::vector<PlanPoint>& outline = project.rooms[i].plan.outline;
        if (outline.size() < 3 || !layout::contains(outline, p))
            continue;
        const double a = project::planArea(outline);
        if (best < 0 || a < bestArea) {
            best = int(i);
            bestArea = a;
        }
    }
    return best;
}

void PlanWindow::editRoom(int row, const std::function<void(project::Room&)>& change,
                          const QString& text) {
    project::Room room = document_->project().rooms[std::size_t(row)];
    change(room);
    document_->setRoom(row, room, text);
}

void PlanWindow::pressAt(PlanPoint raw, Qt::KeyboardModifiers modifiers) {
    if (!document_)
        return;
    const project::Project& project = document_->project();
    if (tool_ != Tool::Select) {
        const PlanPoint p = snapped(raw, modifiers);
        if (tool_ == Tool::Door) {
            addDoor(raw);
            return;
        }
        if (tool_ == Tool::Manifold) {
            placeManifold(p);
            return;
        }
        addPoint(tool_ == Tool::ImageScale ? raw : p);
        return;
    }
    drag_ = std::make_unique<PlanDrag>();
    drag_->start = raw;
    const double r = pickRadius();
    const project::ProjectResult& result = document_->result();
    if (selectedRoom_ >= 0) {
        const project::Room& room = project.rooms[std::size_t(selectedRoom_)];
        const bool laid = std::size_t(selectedRoom_) < result.rooms.size() &&
                          result.rooms[std::size_t(selectedRoom_)].plan.routed();
        // The leader path and the dividers as the layout used them.
        std::vector<PlanPoint> path = room.plan.leaderPath;
        std::vector<project::PlanDivider> dividers = room.plan.dividers;
        if (laid) {
            const layout::RoomLayout& l = *result.rooms[std::size_t(selectedRoom_)].plan.layout;
            if (path.empty())
                for (const layout::Point& q : l.leaderPath)
                    path.push_back({q.x / 1000, q.y / 1000});
            if (dividers.empty())
                for (const layout::Segment& d : l.dividers)
                    dividers.push_back(
                        {{d.a.x / 1000, d.a.y / 1000}, {d.b.x / 1000, d.b.y / 1000}});
        }
        for (std::size_t i = 0; i < room.plan.outline.size(); ++i)
            if (layout::distance(room.plan.outline[i], raw) <= r) {
                drag_->kind = PlanDrag::Kind::Vertex;
                drag_->room = selectedRoom_;
                drag_->index = i;
                return;
            }
        // The leader path's first point is the door and its last the
        // manifold: the points between are the user's to move.
        for (std::size_t i = 1; i + 1 < path.size(); ++i)
            if (layout::distance(path[i], raw) <= r) {
                drag_->kind = PlanDrag::Kind::Leader;
                drag_->room = selectedRoom_;
                drag_->index = i;
                drag_->leaderPath = path;
                return;
            }
        for (std::size_t i = 0; i < dividers.size(); ++i)
            if (layout::distanceToSegment(raw, dividers[i].a, dividers[i].b) <= r) {
                drag_->kind = PlanDrag::Kind::Divider;
                drag_->room = selectedRoom_;
                drag_->index = i;
                drag_->dividers = dividers;
                return;
            }
    }
    for (std::size_t m = 0; m < project.manifolds.size(); ++m) {
        const std::optional<PlanPoint>& at = project.manifolds[m].plan.position;
        if (at && std::abs(at->x - raw.x) <= 0.3 + r && std::abs(at->y - raw.y) <= 0.1 + r) {
            drag_->kind = PlanDrag::Kind::Manifold;
            drag_->room = int(m);
            return;
        }
    }
    const int row = roomAt(raw);
    if (row != selectedRoom_)
        selectRoom(row);
    if (row >= 0) {
        drag_->kind = PlanDrag::Kind::Room;
        drag_->room = row;
        say(QStringLiteral("“%1”：面积 %2 m²，周长 %3 m")
                .arg(roomName(project, row))
                .arg(project::planArea(project.rooms[std::size_t(row)].plan.outline), 0, 'f', 2)
                .arg(project::planPerimeter(project.rooms[std::size_t(row)].plan.outline), 0, 'f',
                     2));
    }
}

void PlanWindow::moveTo(PlanPoint raw, Qt::KeyboardModifiers modifiers) {
    if (!document_)
        return;
    hover_ = tool_ == Tool::Select ? raw : snapped(raw, modifiers);
    drawPending();
}

void PlanWindow::releaseAt(PlanPoint raw, Qt::KeyboardModifiers modifiers) {
    if (!document_ || !drag_)
        return;
    commitDrag(raw, modifiers);
    drag_.reset();
    drawPending();
}

void PlanWindow::commitDrag(PlanPoint raw, Qt::KeyboardModifiers modifiers) {
    const PlanDrag& d = *drag_;
    const bool orthogonal = !(modifiers & Qt::ShiftModifier);
    // A move by whole grid steps, along one axis unless Shift frees it.
    const PlanPoint delta = project::snapPlanPoint({raw.x - d.start.x, raw.y - d.start.y},
                                                   PlanPoint{0, 0}, grid_, orthogonal);
    const bool moved = !samePoint(delta, {0, 0});
    const project::Project& project = document_->project();
    // The project may have changed under the drag (an undo by the keyboard).
    const bool manifold = d.kind == PlanDrag::Kind::Manifold;
    if (d.room < 0 ||
        std::size_t(d.room) >= (manifold ? project.manifolds.size() : project.rooms.size()))
        return;
    if (d.kind == PlanDrag::Kind::Vertex &&
        d.index >= project.rooms[std::size_t(d.room)].plan.outline.size())
        return;
    if (manifold && !project.manifolds[std::size_t(d.room)].plan.position)
        return;
    switch (d.kind) {
    case PlanDrag::Kind::None:
    case PlanDrag::Kind::Pan:
        return;
    case PlanDrag::Kind::Vertex: {
        const std::vector<PlanPoint>& outline = project.rooms[std::size_t(d.room)].plan.outline;
        const PlanPoint previous = outline[(d.index + outline.size() - 1) % outline.size()];
        const PlanPoint to = project::snapPlanPoint(raw, previous, grid_, orthogonal);
        if (samePoint(to, outline[d.index]))
            return;
        const std::vector<PlanPoint> next = *project::movedVertex(outline, d.index, to);
        if (const std::string problem = project::outlineProblem(next); !problem.empty()) {
            say(QString::fromStdString(problem) + QStringLiteral("，顶点没有移动"));
            return;
        }
        editRoom(
            d.room, [&](project::Room& room) { project::setRoomOutline(room, next); },
            QStringLiteral("移动“%1”的顶点").arg(roomName(project, d.room)));
        return;
    }
    case PlanDrag::Kind::Room:
        if (moved)
            editRoom(
                d.room,
                [&](project::Room& room) { project::moveRoomPlan(room.plan, delta.x, delta.y); },
                QStringLiteral("移动房间“%1”").arg(roomName(project, d.room)));
        return;
    case PlanDrag::Kind::Divider:
        if (moved) {
            std::vector<project::PlanDivider> dividers = d.dividers;
            project::PlanDivider& line = dividers[d.index];
            line = {project::offsetPoint(line.a, delta.x, delta.y),
                    project::offsetPoint(line.b, delta.x, delta.y)};
            editRoom(
                d.room, [&](project::Room& room) { room.plan.dividers = dividers; },
                QStringLiteral("移动“%1”的分区线").arg(roomName(project, d.room)));
        }
        return;
    case PlanDrag::Kind::Leader: {
        std::vector<PlanPoint> path = d.leaderPath;
        const PlanPoint to = project::snapPlanPoint(raw, path[d.index - 1], grid_, orthogonal);
        if (samePoint(to, path[d.index]))
            return;
        path[d.index] = to;
        editRoom(
            d.room, [&](project::Room& room) { room.plan.leaderPath = path; },
            QStringLiteral("移动“%1”的连接管路径").arg(roomName(project, d.room)));
        return;
    }
    case PlanDrag::Kind::Manifold:
        if (moved) {
            project::ManifoldPlan plan = project.manifolds[std::size_t(d.room)].plan;
            plan.position = project::offsetPoint(*plan.position, delta.x, delta.y);
            document_->setManifoldPlan(d.room, plan, QStringLiteral("移动分集水器"));
        }
        return;
    }
}

void PlanWindow::addPoint(PlanPoint p) {
    if (tool_ == Tool::Polygon && pending_.size() >= 3 && samePoint(p, pending_.front())) {
        finishPolygon();
        return;
    }
    if (!pending_.empty() && samePoint(p, pending_.back()))
        return;
    pending_.push_back(p);
    if ((tool_ == Tool::Rectangle || tool_ == Tool::NoPipeArea) && pending_.size() == 2) {
        finishRectangle(p);
        return;
    }
    if (tool_ == Tool::ImageScale && pending_.size() == 2)
        say(QStringLiteral("两点在底图上相距 %1 m；输入它们的实际距离（m）后回车")
                .arg(metres(layout::distance(pending_[0], pending_[1]))));
    else if (tool_ == Tool::ImageScale && pending_.size() > 2)
        pending_.erase(pending_.begin(), pending_.end() - 1);
    drawPending();
}

void PlanWindow::finishRectangle(PlanPoint far) {
    const PlanPoint corner = pending_.front();
    const std::vector<PlanPoint> outline =
        project::planRectangle(corner, far.x - corner.x, far.y - corner.y);
    pending_.clear();
    drawPending();
    if (tool_ == Tool::NoPipeArea)
        addNoPipeArea(outline);
    else
        finishOutline(outline);
}

bool PlanWindow::finishPolygon() {
    if (!document_ || tool_ != Tool::Polygon)
        return false;
    if (pending_.size() < 3) {
        say(QStringLiteral("多边形至少要有三个点"));
        return false;
    }
    std::vector<PlanPoint> outline = pending_;
    pending_.clear();
    drawPending();
    return finishOutline(std::move(outline));
}

bool PlanWindow::enterTyped(const QString& text) {
    if (!document_)
        return false;
    const QString t = text.trimmed();
    if (t.isEmpty())
        return tool_ == Tool::Polygon && finishPolygon();
    if (tool_ == Tool::ImageScale && pending_.size() == 2) {
        const std::optional<double> length = models::parseTypedLength(t);
        if (!length) {
            say(QStringLiteral("“%1”不是 0.001 – 1000 m 的距离").arg(t));
            return false;
        }
        finishImageScale(*length);
        return true;
    }
    if (tool_ == Tool::Rectangle || tool_ == Tool::NoPipeArea)
        if (const std::optional<models::TypedSize> size = models::parseTypedSize(t)) {
            if (pending_.empty()) {
                say(QStringLiteral("请先点击或输入矩形的角点（x,y）"));
                return false;
            }
            const PlanPoint corner = pending_.front();
            addPoint({corner.x + size->width, corner.y + size->depth});
            return true;
        }
    if (tool_ == Tool::Polygon && !pending_.empty())
        if (const std::optional<PlanPoint> end = models::parseTypedSegment(t, pending_.back())) {
            addPoint(*end);
            return true;
        }
    if (tool_ != Tool::Select)
        if (const std::optional<PlanPoint> p = models::parseTypedPoint(t)) {
            if (tool_ == Tool::Door)
                return addDoor(*p);
            if (tool_ == Tool::Manifold) {
                placeManifold(*p);
                return true;
            }
            addPoint(*p);
            return true;
        }
    say(QStringLiteral("无法理解“%1”：角点 x,y；矩形 宽x深；线段 右4.2、上3.6、4.2@90 或 @dx,dy")
            .arg(t));
    return false;
}

bool PlanWindow::finishOutline(std::vector<PlanPoint> outline) {
    if (const std::string problem = project::outlineProblem(outline); !problem.empty()) {
        say(QString::fromStdString(problem) + QStringLiteral("，没有画出房间"));
        return false;
    }
    const project::Project& project = document_->project();
    const std::optional<OutlineOwner> owner =
        chooseOwner_ ? chooseOwner_(project, outline) : askOutlineOwner(this, project, outline);
    if (!owner || owner->kind == OutlineOwner::Kind::Skip) {
        say(QStringLiteral("没有画出房间"));
        return false;
    }
    if (owner->kind == OutlineOwner::Kind::Existing) {
        if (owner->room < 0 || std::size_t(owner->room) >= project.rooms.size())
            return false;
        editRoom(
            owner->room, [&](project::Room& room) { project::setRoomOutline(room, outline); },
            QStringLiteral("绘制“%1”的轮廓").arg(roomName(project, owner->room)));
        selectRoom(owner->room);
    } else {
        project::Room room = document_->newRoom();
        const std::string name = owner->name.trimmed().toStdString();
        if (!name.empty()) {
            for (const project::Room& other : project.rooms)
                if (other.name == name) {
                    say(QStringLiteral("已有名为“%1”的房间").arg(owner->name.trimmed()));
                    return false;
                }
            room.name = name;
        }
        if (selectedRoom_ >= 0)
            room.manifold = project.rooms[std::size_t(selectedRoom_)].manifold;
        project::setRoomOutline(room, outline);
        const int row = int(project.rooms.size());
        document_->insertRooms(
            row, {room}, QStringLiteral("新建房间“%1”").arg(QString::fromStdString(room.name)));
        selectRoom(row);
    }
    const project::Room& room = document_->project().rooms[std::size_t(selectedRoom_)];
    say(QStringLiteral("“%1”：面积 %2 m²，周长 %3 m")
            .arg(QString::fromStdString(room.name))
            .arg(room.floorArea, 0, 'f', 2)
            .arg(project::planPerimeter(room.plan.outline), 0, 'f', 2));
    return true;
}

bool PlanWindow::addDoor(PlanPoint at) {
    const project::Project& project = document_->project();
    int best = -1;
    std::optional<project::OutlineHit> hit;
    for (std::size_t i = 0; i < project.rooms.size(); ++i) {
        const auto h = project::nearestOnOutline(project.rooms[i].plan.outline, at);
        if (h && (!hit || h->distance < hit->distance)) {
            hit = h;
            best = int(i);
        }
    }
    if (best < 0 || hit->distance > std::max(0.3, pickRadius())) {
        say(QStringLiteral("门应放在房间的轮廓上"));
        return false;
    }
    const PlanPoint p{std::round(hit->point.x * 1000) / 1000,
                      std::round(hit->point.y * 1000) / 1000};
    editRoom(
        best,
        [&](project::Room& room) {
            room.plan.doors.push_back({p, 0.9});
        },
        QStringLiteral("在“%1”放门").arg(roomName(project, best)));
    return true;
}

bool PlanWindow::addNoPipeArea(const std::vector<PlanPoint>& outline) {
    const project::Project& project = document_->project();
    const int row = roomAt(outline.front());
    bool inside = row >= 0;
    for (const PlanPoint& p : outline)
        inside = inside && layout::contains(project.rooms[std::size_t(row)].plan.outline, p);
    if (!inside || !project::outlineProblem(outline).empty()) {
        say(QStringLiteral("不布管区应在一个房间内"));
        return false;
    }
    editRoom(
        row,
        [&](project::Room& room) {
            room.plan.noPipeAreas.push_back({outline, "不布管区"});
        },
        QStringLiteral("在“%1”加不布管区").arg(roomName(project, row)));
    return true;
}

void PlanWindow::placeManifold(PlanPoint at) {
    const project::Project& project = document_->project();
    if (project.manifolds.empty())
        return;
    std::size_t which = 0;
    if (selectedRoom_ >= 0 &&
        project.rooms[std::size_t(selectedRoom_)].manifold < project.manifolds.size()) {
        which = project.rooms[std::size_t(selectedRoom_)].manifold;
    } else {
        for (std::size_t m = 0; m < project.manifolds.size(); ++m)
            if (!project.manifolds[m].plan.position) {
                which = m;
                break;
            }
    }
    project::ManifoldPlan plan = project.manifolds[which].plan;
    plan.position = at;
    document_->setManifoldPlan(
        int(which), plan,
        QStringLiteral("放置“%1”").arg(QString::fromStdString(project.manifolds[which].name)));
}

bool PlanWindow::deleteSelectedOutline() {
    if (!document_ || selectedRoom_ < 0)
        return false;
    const int row = selectedRoom_;
    if (!document_->project().rooms[std::size_t(row)].plan.hasOutline())
        return false;
    editRoom(
        row, [](project::Room& room) { project::setRoomOutline(room, {}); },
        QStringLiteral("删除“%1”的轮廓").arg(roomName(document_->project(), row)));
    return true;
}

bool PlanWindow::handleViewEvent(QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick)
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    const PlanPoint at = fromScene(view_->mapToScene(mouse->position().toPoint()));
    const Qt::KeyboardModifiers keys = mouse->modifiers();
    // The middle or right button pans, as does dragging the select tool
    // over empty floor.
    const bool panButton = mouse->button() == Qt::MiddleButton ||
                           mouse->button() == Qt::RightButton ||
                           (drag_ && drag_->kind == PlanDrag::Kind::Pan);
    if (type == QEvent::MouseButtonPress && panButton) {
        drag_ = std::make_unique<PlanDrag>();
        drag_->kind = PlanDrag::Kind::Pan;
        drag_->panFrom = mouse->position().toPoint();
        return true;
    }
    if (drag_ && drag_->kind == PlanDrag::Kind::Pan) {
        if (type == QEvent::MouseMove) {
            const QPoint step = mouse->position().toPoint() - drag_->panFrom;
            drag_->panFrom = mouse->position().toPoint();
            view_->horizontalScrollBar()->setValue(view_->horizontalScrollBar()->value() -
                                                   step.x());
            view_->verticalScrollBar()->setValue(view_->verticalScrollBar()->value() - step.y());
        } else if (type == QEvent::MouseButtonRelease) {
            drag_.reset();
        }
        return true;
    }
    if (type == QEvent::MouseButtonDblClick && tool_ == Tool::Polygon) {
        finishPolygon();
        return true;
    }
    if (mouse->button() != Qt::LeftButton && type != QEvent::MouseMove)
        return false;
    view_->setFocus();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        pressAt(at, keys);
        if (tool_ == Tool::Select && drag_ && drag_->kind == PlanDrag::Kind::None) {
            drag_->kind = PlanDrag::Kind::Pan;
            drag_->panFrom = mouse->position().toPoint();
        }
    } else if (type == QEvent::MouseMove) {
        moveTo(at, keys);
    } else {
        releaseAt(at, keys);
    }
    return true;
}

} // namespace zorva::ui
