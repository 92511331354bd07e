// SPDX-License-Identifier: GPL-3.0-or-later
// What the plan editor draws over the plan: the background (an imported DXF
// drawing in grey, a scaled image), the doors, the selected room with its
// vertices, dividers and leader path, and the outline being drawn.
#include "widgets/plan/planediting.h"

#include "core/dxf/dxfreader.h"
#include "core/project/planedits.h"

#include <QGraphicsPathItem>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPixmap>

#include <cmath>
#include <numbers>

namespace zorva::ui {

namespace {

using project::PlanPoint;

QPointF mm(layout::Point p) {
    return {p.x, -p.y};
}

// A handle of a few pixels whatever the zoom.
void addHandle(QGraphicsScene* scene, QPointF at, const QColor& colour) {
    auto* item = scene->addRect(QRectF(-4, -4, 8, 8), QPen(colour, 0), QBrush(Qt::white));
    item->setFlag(QGraphicsItem::ItemIgnoresTransformations);
    item->setPos(at);
    item->setZValue(30);
}

QPainterPath drawingPath(const dxf::Drawing& d) {
    QPainterPath path;
    for (const dxf::DrawnPolyline& l : d.polylines) {
        for (std::size_t i = 0; i < l.points.size(); ++i) {
            if (i == 0)
                path.moveTo(mm(l.points[i]));
            else
                path.lineTo(mm(l.points[i]));
        }
        if (l.closed && !l.points.empty())
            path.closeSubpath();
    }
    for (const dxf::DrawnLine& l : d.lines) {
        path.moveTo(mm(l.a));
        path.lineTo(mm(l.b));
    }
    for (const dxf::DrawnCircle& c : d.circles)
        path.addEllipse(mm(c.centre), c.radius, c.radius);
    for (const dxf::DrawnArc& a : d.arcs) {
        const QRectF box(a.centre.x - a.radius, -a.centre.y - a.radius, 2 * a.radius, 2 * a.radius);
        double sweep = a.endAngle - a.startAngle;
        if (sweep <= 0)
            sweep += 360;
        const double start = a.startAngle * std::numbers::pi / 180;
        path.moveTo(
            mm({a.centre.x + a.radius * std::cos(start), a.centre.y + a.radius * std::sin(start)}));
        // The scene's y runs down, so Qt's angles (counter-clockwise on the
        // screen) are the drawing's.
        path.arcTo(box, a.startAngle, sweep);
    }
    return path;
}

} // namespace

void PlanWindow::drawBackground(const project::Project& project) {
    const project::PlanBackground& bg = project.settings.planBackground;
    if (bg.dxfFile != backgroundFile_) {
        backgroundFile_ = bg.dxfFile;
        background_.reset();
        if (!bg.dxfFile.empty()) {
            dxf::ImportResult read = dxf::readDxfFile(bg.dxfFile);
            if (read.ok)
                background_ = std::move(read.background);
            else
                say(QStringLiteral("无法读取 DXF 底图“%1”：%2")
                        .arg(QString::fromStdString(bg.dxfFile),
                             QString::fromStdString(read.error)));
        }
    }
    if (background_) {
        auto* item = scene_->addPath(drawingPath(*background_), QPen(QColor(0xb0, 0xb0, 0xb0), 0));
        item->setZValue(-20);
        item->setToolTip(QStringLiteral("DXF 底图"));
    }
    if (!bg.imageFile.empty()) {
        const QPixmap image(QString::fromStdString(bg.imageFile));
        if (!image.isNull()) {
            // Unscaled images show at 1 cm per pixel until two points are
            // measured.
            const double perPixel = (bg.imageScale > 0 ? bg.imageScale : 0.01) * 1000;
            auto* item = scene_->addPixmap(image);
            item->setScale(perPixel);
            item->setPos(bg.imageOrigin.x * 1000,
                         -(bg.imageOrigin.y * 1000 + image.height() * perPixel));
            item->setOpacity(0.5);
            item->setZValue(-30);
            item->setToolTip(QStringLiteral("图片底图"));
        }
    }
}

void PlanWindow::drawEditing(const project::Project& project,
                             const project::ProjectResult& result) {
    const QPen doorPen(QColor(0x8b, 0x45, 0x13), 60, Qt::SolidLine, Qt::FlatCap);
    for (std::size_t i = 0; i < project.rooms.size(); ++i) {
        const project::RoomPlan& plan = project.rooms[i].plan;
        const std::vector<PlanPoint>& outline = plan.outline;
        for (const project::PlanDoor& door : plan.doors) {
            const auto hit = project::nearestOnOutline(outline, door.position);
            if (!hit)
                continue;
            const PlanPoint a = outline[hit->edge];
            const PlanPoint b = outline[(hit->edge + 1) % outline.size()];
            const double len = layout::distance(a, b);
            if (len <= 0)
                continue;
            const PlanPoint u{(b.x - a.x) / len * door.width / 2,
                              (b.y - a.y) / len * door.width / 2};
            QPainterPath path;
            path.moveTo(toScene({door.position.x - u.x, door.position.y - u.y}));
            path.lineTo(toScene({door.position.x + u.x, door.position.y + u.y}));
            auto* item = scene_->addPath(path, doorPen);
            item->setToolTip(QStringLiteral("门"));
            item->setZValue(5);
        }
    }
    if (selectedRoom_ >= 0 && std::size_t(selectedRoom_) < project.rooms.size()) {
        const std::size_t row = std::size_t(selectedRoom_);
        const project::RoomPlan& plan = project.rooms[row].plan;
        const QColor blue(0x1f, 0x5f, 0xd0);
        QPolygonF polygon;
        for (const PlanPoint& p : plan.outline)
            polygon << toScene(p);
        if (!polygon.isEmpty()) {
            auto* item =
                scene_->addPolygon(polygon, QPen(blue, 40), QBrush(QColor(31, 95, 208, 25)));
            item->setZValue(20);
            for (const QPointF& p : polygon)
                addHandle(scene_, p, blue);
        }
        // The dividers and the leader path the layout used, or the user's.
        const bool laid = row < result.rooms.size() && result.rooms[row].plan.routed();
        QPen dividerPen(QColor(0x80, 0x00, 0x80), 30, Qt::DashLine);
        std::vector<project::PlanDivider> dividers = plan.dividers;
        std::vector<PlanPoint> path = plan.leaderPath;
        if (laid) {
            const layout::RoomLayout& l = *result.rooms[row].plan.layout;
            if (dividers.empty())
                for (const layout::Segment& d : l.dividers)
                    dividers.push_back(
                        {{d.a.x / 1000, d.a.y / 1000}, {d.b.x / 1000, d.b.y / 1000}});
            if (path.empty())
                for (const layout::Point& q : l.leaderPath)
                    path.push_back({q.x / 1000, q.y / 1000});
        }
        for (const project::PlanDivider& d : dividers) {
            auto* item = scene_->addLine(QLineF(toScene(d.a), toScene(d.b)), dividerPen);
            item->setZValue(25);
            item->setToolTip(QStringLiteral("分区线：拖动移动"));
        }
        QPainterPath leader;
        for (std::size_t i = 0; i < path.size(); ++i) {
            if (i == 0)
                leader.moveTo(toScene(path[i]));
            else
                leader.lineTo(toScene(path[i]));
        }
        if (!path.empty()) {
            auto* item = scene_->addPath(leader, QPen(QColor(0x00, 0x80, 0x80), 30, Qt::DotLine));
            item->setZValue(25);
            for (std::size_t i = 1; i + 1 < path.size(); ++i)
                addHandle(scene_, toScene(path[i]), QColor(0x00, 0x80, 0x80));
        }
    }
    pendingItem_ = nullptr;
    drawPending();
}

void PlanWindow::drawPending() {
    if (!document_)
        return;
    if (!pendingItem_) {
        pendingItem_ =
            scene_->addPath(QPainterPath(), QPen(QColor(0x1f, 0x5f, 0xd0), 0, Qt::DashLine));
        pendingItem_->setZValue(40);
    }
    QPainterPath path;
    std::vector<PlanPoint> points = pending_;
    if (hover_ && !points.empty() && tool_ != Tool::Select)
        points.push_back(*hover_);
    if ((tool_ == Tool::Rectangle || tool_ == Tool::NoPipeArea) && points.size() == 2)
        points =
            project::planRectangle(points[0], points[1].x - points[0].x, points[1].y - points[0].y);
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i == 0)
            path.moveTo(toScene(points[i]));
        else
            path.lineTo(toScene(points[i]));
    }
    if (drag_ && hover_ && drag_->kind != PlanDrag::Kind::Pan &&
        drag_->kind != PlanDrag::Kind::None) {
        path.moveTo(toScene(drag_->start));
        path.lineTo(toScene(*hover_));
    }
    pendingItem_->setPath(path);
}

} // namespace zorva::ui
