// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/plan/planwindow.h"

#include "core/project/plancompute.h"
#include "models/project/projectdocument.h"
#include "widgets/plan/plandrag.h"

#include <QGraphicsEllipseItem>
#include <QGraphicsPathItem>
#include <QGraphicsPolygonItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cmath>
#include <iterator>

namespace zorva::ui {

namespace {

// Plan millimetres to the scene: y turned down for the screen.
QPointF scenePoint(layout::Point p) {
    return {p.x, -p.y};
}

QPolygonF scenePolygon(const std::vector<layout::Point>& points) {
    QPolygonF out;
    for (const layout::Point& p : points)
        out << scenePoint(p);
    return out;
}

QPainterPath scenePath(const layout::Polyline& line) {
    QPainterPath path;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (i == 0)
            path.moveTo(scenePoint(line[i]));
        else
            path.lineTo(scenePoint(line[i]));
    }
    return path;
}

QString metres(double m) {
    return QString::number(m, 'f', 1);
}

const char* ruleName(layout::Rule rule) {
    switch (rule) {
    case layout::Rule::BendRadius:
        return "弯曲半径";
    case layout::Rule::Spacing:
        return "管间距";
    case layout::Rule::WallClearance:
        return "离墙距离";
    case layout::Rule::Crossing:
        return "管道交叉";
    case layout::Rule::LoopLength:
        return "环路长度";
    case layout::Rule::Uncovered:
        return "未覆盖面积";
    }
    return "";
}

} // namespace

QColor PlanWindow::loopColour(int n) {
    static const QColor colours[] = {QColor(0xd6, 0x27, 0x28), QColor(0x1f, 0x77, 0xb4),
                                     QColor(0x2c, 0xa0, 0x2c), QColor(0xff, 0x7f, 0x0e),
                                     QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b),
                                     QColor(0xe3, 0x77, 0xc2), QColor(0x17, 0xbe, 0xcf),
                                     QColor(0xbc, 0xbd, 0x22), QColor(0x7f, 0x7f, 0x7f)};
    return colours[std::size_t(n) % std::size(colours)];
}

PlanWindow::PlanWindow(const project::Project& project, const project::ProjectResult& result,
                       QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("planWindow"));
    setWindowTitle(QStringLiteral("平面布管图"));
    setAccessibleName(windowTitle());

    scene_ = new QGraphicsScene(this);
    view_ = new QGraphicsView(scene_);
    view_->setObjectName(QStringLiteral("planView"));
    view_->setAccessibleName(QStringLiteral("平面图"));
    view_->setAccessibleDescription(
        QStringLiteral("房间轮廓、分集水器和各环路；滚轮缩放，拖动平移"));
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setDragMode(QGraphicsView::ScrollHandDrag);
    view_->setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    view_->viewport()->installEventFilter(this);

    auto* zoomIn = new QPushButton(QStringLiteral("放大"));
    auto* zoomOut = new QPushButton(QStringLiteral("缩小"));
    auto* fit = new QPushButton(QStringLiteral("全图"));
    zoomIn->setObjectName(QStringLiteral("zoomIn"));
    zoomOut->setObjectName(QStringLiteral("zoomOut"));
    fit->setObjectName(QStringLiteral("fitAll"));
    connect(zoomIn, &QPushButton::clicked, this, [this] { zoomBy(1.25); });
    connect(zoomOut, &QPushButton::clicked, this, [this] { zoomBy(0.8); });
    connect(fit, &QPushButton::clicked, this, &PlanWindow::fitAll);

    legend_ = new QTreeWidget;
    legend_->setObjectName(QStringLiteral("loopLegend"));
    legend_->setAccessibleName(QStringLiteral("环路图例"));
    legend_->setRootIsDecorated(false);
    legend_->setHeaderLabels({QStringLiteral("环路"), QStringLiteral("房间"),
                              QStringLiteral("长度(m)"), QStringLiteral("间距(mm)")});
    violations_ = new QTreeWidget;
    violations_->setObjectName(QStringLiteral("violationList"));
    violations_->setAccessibleName(QStringLiteral("违反布管规则"));
    violations_->setRootIsDecorated(false);
    violations_->setHeaderLabels(
        {QStringLiteral("房间"), QStringLiteral("规则"), QStringLiteral("说明")});
    summary_ = new QLabel;
    summary_->setObjectName(QStringLiteral("planSummary"));
    summary_->setWordWrap(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(zoomIn);
    buttons->addWidget(zoomOut);
    buttons->addWidget(fit);
    buttons->addStretch();
    auto* side = new QWidget;
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addLayout(buttons);
    sideLayout->addWidget(new QLabel(QStringLiteral("环路（布管长度，JGJ 142-2012 §3.5 限 %1 m）")
                                         .arg(project.settings.conditions.maxLoopLength)));
    sideLayout->addWidget(legend_, 2);
    sideLayout->addWidget(new QLabel(QStringLiteral("违反布管规则")));
    sideLayout->addWidget(violations_, 1);
    sideLayout->addWidget(summary_);
    auto* splitter = new QSplitter;
    splitter->addWidget(view_);
    splitter->addWidget(side);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
    resize(1100, 700);

    draw(project, result);
}

PlanWindow::PlanWindow(models::ProjectDocument& document, DialogSeam& dialogs, QWidget* parent)
    : PlanWindow(document.project(), document.result(), parent) {
    document_ = &document;
    dialogs_ = &dialogs;
    buildEditing();
    // The outlines follow every edit at once, the loops each new result.
    connect(document_, &models::ProjectDocument::resultChanged, this, &PlanWindow::redraw);
    connect(document_, &models::ProjectDocument::roomChanged, this, &PlanWindow::redraw);
    connect(document_, &models::ProjectDocument::roomsReset, this, &PlanWindow::redraw);
    connect(document_, &models::ProjectDocument::settingsChanged, this, &PlanWindow::redraw);
    connect(document_, &models::ProjectDocument::manifoldChanged, this, &PlanWindow::redraw);
    redraw();
}

PlanWindow::~PlanWindow() = default;

void PlanWindow::redraw() {
    if (!document_)
        return;
    if (selectedRoom_ >= int(document_->project().rooms.size()))
        selectedRoom_ = -1;
    // The same part of the plan stays in sight.
    const QPointF centre = view_->mapToScene(view_->viewport()->rect().center());
    const QRectF before = scene_->sceneRect();
    legend_->clear();
    violations_->clear();
    scene_->clear();
    draw(document_->project(), document_->result());
    scene_->setSceneRect(scene_->sceneRect().united(before));
    if (fitted_)
        view_->centerOn(centre);
}

void PlanWindow::draw(const project::Project& project, const project::ProjectResult& result) {
    if (document_)
        drawBackground(project);
    const QPen outlinePen(Qt::black, 0);
    QPen noPipePen(Qt::darkGray, 0);
    noPipePen.setStyle(Qt::DashLine);
    for (const project::Manifold& m : project.manifolds) {
        if (!m.plan.position)
            continue;
        const QPointF c = scenePoint({m.plan.position->x * 1000, m.plan.position->y * 1000});
        auto* box = scene_->addRect(QRectF(c.x() - 300, c.y() - 100, 600, 200), QPen(Qt::black, 0),
                                    QBrush(Qt::lightGray));
        box->setToolTip(QString::fromStdString(m.name));
        auto* label = scene_->addSimpleText(QString::fromStdString(m.name));
        label->setPos(c.x() - 300, c.y() - 400);
        label->setScale(12);
    }
    int loopNumber = 0;
    int violationCount = 0;
    int routedRooms = 0;
    double pipe = 0;
    // Rooms inserted or removed since the result: its rows are another's.
    const std::size_t known = result.rooms.size() == project.rooms.size() ? result.rooms.size() : 0;
    for (std::size_t i = 0; i < project.rooms.size(); ++i) {
        const project::Room& room = project.rooms[i];
        if (!room.plan.hasOutline())
            continue;
        std::vector<layout::Point> outline;
        for (const project::PlanPoint& p : room.plan.outline)
            outline.push_back({p.x * 1000, p.y * 1000});
        auto* polygon = scene_->addPolygon(scenePolygon(outline), outlinePen);
        polygon->setToolTip(QString::fromStdString(room.name));
        for (const project::PlanNoPipeArea& a : room.plan.noPipeAreas) {
            std::vector<layout::Point> points;
            for (const project::PlanPoint& p : a.outline)
                points.push_back({p.x * 1000, p.y * 1000});
            auto* area =
                scene_->addPolygon(scenePolygon(points), noPipePen, QBrush(Qt::BDiagPattern));
            area->setToolTip(QString::fromStdString(a.label));
        }
        const QRectF box = scenePolygon(outline).boundingRect();
        auto* name = scene_->addSimpleText(QString::fromStdString(room.name));
        name->setScale(14);
        name->setPos(box.left() + 150, box.top() + 100);

        // An edit's outline shows at once; its loops come with its result.
        if (i >= known)
            continue;
        const project::RoomPlanResult& plan = result.rooms[i].plan;
        if (!plan.note.empty()) {
            auto* item = new QTreeWidgetItem(violations_, {QString::fromStdString(room.name),
                                                           QStringLiteral("未布管"),
                                                           QString::fromStdString(plan.note)});
            item->setForeground(2, Qt::red);
        }
        if (!plan.routed())
            continue;
        ++routedRooms;
        const layout::RoomLayout& laid = *plan.layout;
        for (const layout::RoutedLoop& loop : laid.loops) {
            const QColor colour = loopColour(loopNumber++);
            QPen pen(colour, 20);
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
            for (const layout::Polyline& half :
                 {layout::supplyPipe(loop), layout::returnPipe(loop)}) {
                auto* item = scene_->addPath(scenePath(half), pen);
                item->setToolTip(QString::fromStdString(loop.label));
                item->setData(0, QString::fromStdString(loop.label));
            }
            pipe += loop.routedLength;
            auto* row = new QTreeWidgetItem(
                legend_, {QString::fromStdString(loop.label), QString::fromStdString(room.name),
                          metres(loop.routedLength), QString::number(loop.spacing, 'f', 0)});
            row->setData(0, Qt::DecorationRole, colour);
            row->setData(0, Qt::AccessibleDescriptionRole,
                         QStringLiteral("%1，布管长度 %2 m").arg(row->text(0), row->text(2)));
            if (!loop.withinLengthLimit)
                row->setForeground(2, Qt::red);
        }
        for (const layout::Violation& v : laid.violations) {
            ++violationCount;
            const QPointF at = scenePoint(v.position);
            auto* mark =
                scene_->addEllipse(QRectF(at.x() - 150, at.y() - 150, 300, 300), QPen(Qt::red, 30));
            mark->setToolTip(QString::fromStdString(v.message));
            mark->setZValue(10);
            auto* item = new QTreeWidgetItem(violations_, {QString::fromStdString(room.name),
                                                           QString::fromUtf8(ruleName(v.rule)),
                                                           QString::fromStdString(v.message)});
            for (int c = 0; c < 3; ++c)
                item->setForeground(c, Qt::red);
        }
    }
    legend_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    summary_->setText(QStringLiteral("%1 个房间布管，%2 个环路，共 %3 m 管；%4 处违反布管规则")
                          .arg(routedRooms)
                          .arg(loopNumber)
                          .arg(metres(pipe))
                          .arg(violationCount));
    summary_->setAccessibleName(summary_->text());
    if (document_)
        drawEditing(project, result);
    scene_->setSceneRect(scene_->itemsBoundingRect().adjusted(-500, -500, 500, 500));
}

double PlanWindow::zoom() const {
    return view_->transform().m11() / fitScale_;
}

void PlanWindow::zoomBy(double factor) {
    const double next = zoom() * factor;
    if (next < 0.05 || next > 200)
        return;
    view_->scale(factor, factor);
}

void PlanWindow::fitAll() {
    view_->resetTransform();
    view_->fitInView(scene_->sceneRect(), Qt::KeepAspectRatio);
    fitScale_ = view_->transform().m11() > 0 ? view_->transform().m11() : 1;
}

void PlanWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // An editor keeps the zoom the user left it at.
    if (!editable() || !fitted_)
        fitAll();
    fitted_ = true;
}

bool PlanWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_->viewport() && editable() && handleViewEvent(event))
        return true;
    if (watched == view_->viewport() && event->type() == QEvent::Wheel) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const int steps = wheel->angleDelta().y() / 120;
        if (steps != 0)
            zoomBy(std::pow(1.25, steps));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace zorva::ui
