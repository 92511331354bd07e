// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/plan/planplot.h"

#include "widgets/common/uikit.h"
#include "widgets/plan/planwindow.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace zorva::ui {

namespace {

constexpr int kPdfResolution = 600;
constexpr double kBindingMm = 20; // the left margin, for binding
constexpr double kMarginMm = 10;
constexpr double kGapMm = 5;

bool isA3(const PlanPlotOptions& o) {
    return o.paper != QPageSize::A4;
}

QSizeF paperSize(const PlanPlotOptions& o) {
    return isA3(o) ? QSizeF(420, 297) : QSizeF(297, 210);
}

// Text heights on the sheet, mm.
double textHeight(const PlanPlotOptions& o) {
    return isA3(o) ? 3.0 : 2.5;
}

layout::Point planPoint(const project::PlanPoint& p) {
    return {p.x * 1000, p.y * 1000};
}

struct Extent {
    layout::Box box{std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
                    std::numeric_limits<double>::lowest(), std::numeric_limits<double>::lowest()};
    bool empty = true;
    void add(layout::Point p) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            return;
        box.minX = std::min(box.minX, p.x);
        box.minY = std::min(box.minY, p.y);
        box.maxX = std::max(box.maxX, p.x);
        box.maxY = std::max(box.maxY, p.y);
        empty = false;
    }
};

Extent planExtent(const project::Project& project, const project::ProjectResult& result) {
    Extent e;
    for (const project::Manifold& m : project.manifolds)
        if (m.plan.position) {
            const layout::Point c = planPoint(*m.plan.position);
            e.add({c.x - 300, c.y - 100});
            e.add({c.x + 300, c.y + 100});
        }
    for (std::size_t i = 0; i < project.rooms.size(); ++i) {
        for (const project::PlanPoint& p : project.rooms[i].plan.outline)
            e.add(planPoint(p));
        if (i >= result.rooms.size() || !result.rooms[i].plan.routed())
            continue;
        for (const layout::RoutedLoop& loop : result.rooms[i].plan.layout->loops)
            for (const layout::Polyline& half :
                 {layout::supplyPipe(loop), layout::returnPipe(loop)})
                for (const layout::Point& p : half)
                    e.add(p);
    }
    return e;
}

bool fitsAt(const layout::Box& plan, const QRectF& area, double scale) {
    const double tolerance = 1e-9;
    return plan.width() / scale <= area.width() + tolerance &&
           plan.height() / scale <= area.height() + tolerance;
}

// Draws on a device of `k` pixels per sheet millimetre.
class Sheet {
public:
    Sheet(QPainter& painter, double k) : p_(painter), k_(k) {}

    QPointF at(QPointF mm) const { return mm * k_; }
    QRectF at(const QRectF& mm) const {
        return {mm.x() * k_, mm.y() * k_, mm.width() * k_, mm.height() * k_};
    }
    QPen pen(const QColor& colour, double widthMm, Qt::PenStyle style = Qt::SolidLine) const {
        QPen pen(colour, widthMm * k_, style, Qt::RoundCap, Qt::RoundJoin);
        return pen;
    }
    void line(QPointF a, QPointF b, const QPen& pen) {
        p_.setPen(pen);
        p_.drawLine(at(a), at(b));
    }
    void rect(const QRectF& r, const QPen& pen, const QBrush& brush = Qt::NoBrush) {
        p_.setPen(pen);
        p_.setBrush(brush);
        p_.drawRect(at(r));
    }
    void text(const QRectF& r, const QString& s, double heightMm, int flags,
              const QColor& colour = Qt::black) {
        p_.setFont(songFont(heightMm * 72 / 25.4));
        p_.setPen(colour);
        p_.drawText(at(r), flags, s);
    }
    QPainter& painter() { return p_; }

private:
    QPainter& p_;
    double k_;
};

QString metres(double m) {
    return QString::number(m, 'f', 1);
}

struct LegendRow {
    QColor colour;
    QString loop, room, length, spacing;
    bool overLength = false;
};

void drawPlan(Sheet& s, const PlanPlotFrame& f, const project::Project& project,
              const project::ProjectResult& result, const PlanPlotOptions& o,
              std::vector<LegendRow>& legend, int& violations, ReportProgress* progress,
              bool& stopped) {
    QPainter& p = s.painter();
    p.save();
    p.setClipRect(s.at(f.drawingArea));
    const double h = textHeight(o);
    const auto sheetPath = [&](const std::vector<layout::Point>& points, bool closed) {
        QPainterPath path;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const QPointF q = s.at(f.toSheet(points[i]));
            if (i == 0)
                path.moveTo(q);
            else
                path.lineTo(q);
        }
        if (closed && points.size() > 2)
            path.closeSubpath();
        return path;
    };
    for (const project::Manifold& m : project.manifolds) {
        if (!m.plan.position)
            continue;
        const layout::Point c = planPoint(*m.plan.position);
        const QRectF box =
            QRectF(f.toSheet({c.x - 300, c.y + 100}), f.toSheet({c.x + 300, c.y - 100}))
                .normalized();
        s.rect(box, s.pen(Qt::black, 0.35), QColor(210, 210, 210));
        s.text(QRectF(box.left() - 20, box.top() - h * 1.6, box.width() + 40, h * 1.5),
               QString::fromStdString(m.name), h, Qt::AlignHCenter | Qt::AlignBottom);
    }
    int loopNumber = 0;
    const double pipeMm = std::max(0.35, 20.0 / f.scale);
    const std::size_t rooms = std::min(project.rooms.size(), result.rooms.size());
    for (std::size_t i = 0; i < rooms; ++i) {
        const project::Room& room = project.rooms[i];
        if (!room.plan.hasOutline())
            continue;
        std::vector<layout::Point> outline;
        for (const project::PlanPoint& q : room.plan.outline)
            outline.push_back(planPoint(q));
        p.setBrush(Qt::NoBrush);
        p.setPen(s.pen(Qt::black, 0.5));
        p.drawPath(sheetPath(outline, true));
        p.setPen(s.pen(Qt::darkGray, 0.25, Qt::DashLine));
        for (const project::PlanNoPipeArea& a : room.plan.noPipeAreas) {
            std::vector<layout::Point> points;
            for (const project::PlanPoint& q : a.outline)
                points.push_back(planPoint(q));
            p.drawPath(sheetPath(points, true));
        }
        const project::RoomPlanResult& plan = result.rooms[i].plan;
        QRectF box;
        for (const layout::Point& q : outline)
            box = box.united(QRectF(f.toSheet(q), QSizeF(0.001, 0.001)));
        const QString area = QStringLiteral("%1 %2 m²")
                                 .arg(QString::fromStdString(room.name),
                                      QString::number(layout::area(outline) / 1e6, 'f', 2));
        s.text(QRectF(box.left() + 2, box.top() + 2, std::max(box.width() - 4, 1.0), h * 1.5), area,
               h, Qt::AlignLeft | Qt::AlignTop, plan.routed() ? Qt::black : Qt::red);
        if (!plan.routed()) {
            if (!plan.note.empty())
                s.text(QRectF(box.left() + 2, box.top() + 2 + h * 1.6,
                              std::max(box.width() - 4, 1.0), h * 3),
                       QStringLiteral("未布管：") + QString::fromStdString(plan.note), h * 0.8,
                       Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, Qt::red);
        } else {
            for (const layout::RoutedLoop& loop : plan.layout->loops) {
                const QColor colour = PlanWindow::loopColour(loopNumber++);
                p.setPen(s.pen(colour, pipeMm));
                p.setBrush(Qt::NoBrush);
                p.drawPath(sheetPath(layout::supplyPipe(loop), false));
                p.drawPath(sheetPath(layout::returnPipe(loop), false));
                legend.push_back({colour, QString::fromStdString(loop.label),
                                  QString::fromStdString(room.name), metres(loop.routedLength),
                                  QString::number(loop.spacing, 'f', 0), !loop.withinLengthLimit});
            }
            for (const layout::Violation& v : plan.layout->violations) {
                ++violations;
                const QPointF c = f.toSheet(v.position);
                p.setPen(s.pen(Qt::red, 0.4));
                p.setBrush(Qt::NoBrush);
                p.drawEllipse(s.at(c), 3 * s.at(QPointF(1, 0)).x(), 3 * s.at(QPointF(1, 0)).x());
            }
        }
        if (progress && !progress->advance(double(i + 1) / double(rooms))) {
            stopped = true;
            break;
        }
    }
    p.restore();
}

void drawLegend(Sheet& s, const PlanPlotFrame& f, const PlanPlotOptions& o,
                const std::vector<LegendRow>& rows, int violations) {
    const QRectF a = f.legendArea.adjusted(3, 3, -3, -3);
    const double h = textHeight(o);
    s.text(QRectF(a.left(), a.top(), a.width(), h * 1.8), QStringLiteral("图例"), h * 1.3,
           Qt::AlignLeft | Qt::AlignVCenter);
    // The north arrow and the scale bar take the foot of the column.
    const double footMm = 34;
    const double top = a.top() + h * 2.2;
    const double bottom = a.bottom() - footMm - (violations > 0 ? h * 2 : 0);
    const int count = int(rows.size()) + 1;
    const double row = std::clamp((bottom - top) / count, 2.2, h * 1.7);
    const double text = std::min(h, row * 0.7);
    // Columns: swatch, loop, room, length, spacing.
    const double w = a.width();
    const double x[] = {a.left(),
                        a.left() + 0.10 * w,
                        a.left() + 0.36 * w,
                        a.left() + 0.60 * w,
                        a.left() + 0.80 * w,
                        a.right()};
    const QStringList header{QString(), QStringLiteral("环路"), QStringLiteral("房间"),
                             QStringLiteral("长度(m)"), QStringLiteral("间距(mm)")};
    for (int c = 1; c < 5; ++c)
        s.text(QRectF(x[c], top, x[c + 1] - x[c], row), header[c], text,
               (c >= 3 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    s.line({a.left(), top + row}, {a.right(), top + row}, s.pen(Qt::black, 0.18));
    double y = top + row;
    // More loops than the column holds even at the smallest row: the last
    // row says how many are left out (the project report lists them all).
    const std::size_t fit = std::size_t(std::max(0.0, std::floor((bottom - y) / row + 1e-9)));
    const std::size_t shown = rows.size() <= fit ? rows.size() : (fit > 0 ? fit - 1 : 0);
    for (std::size_t i = 0; i < shown; ++i) {
        const LegendRow& r = rows[i];
        s.line({x[0] + 0.5, y + row / 2}, {x[1] - 1.5, y + row / 2}, s.pen(r.colour, row * 0.35));
        const QStringList cells{QString(), r.loop, r.room, r.length, r.spacing};
        for (int c = 1; c < 5; ++c)
            s.text(QRectF(x[c], y, x[c + 1] - x[c], row), cells[c], text,
                   (c >= 3 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                   c == 3 && r.overLength ? Qt::red : Qt::black);
        y += row;
    }
    if (shown < rows.size())
        s.text(
            QRectF(a.left(), y, a.width(), row),
            QStringLiteral("……另有 %1 个环路未列出，见项目报告的环路表").arg(rows.size() - shown),
            text, Qt::AlignLeft | Qt::AlignVCenter);
    if (violations > 0)
        s.text(QRectF(a.left(), bottom + 1, a.width(), h * 1.6),
               QStringLiteral("红圈：违反布管规则 %1 处（见平面布管图）").arg(violations), h * 0.9,
               Qt::AlignLeft | Qt::AlignVCenter, Qt::red);

    // North arrow: the plan's +y points north.
    const QPointF n(a.left() + 10, a.bottom() - 16);
    QPainterPath arrow;
    arrow.moveTo(s.at(n + QPointF(0, -9)));
    arrow.lineTo(s.at(n + QPointF(3.5, 6)));
    arrow.lineTo(s.at(n + QPointF(0, 3)));
    arrow.closeSubpath();
    s.painter().setPen(s.pen(Qt::black, 0.25));
    s.painter().setBrush(Qt::black);
    s.painter().drawPath(arrow);
    s.painter().setBrush(Qt::NoBrush);
    s.painter().drawEllipse(s.at(n), s.at(QPointF(8, 0)).x(), s.at(QPointF(8, 0)).x());
    s.text(QRectF(n.x() - 5, n.y() - 16, 10, 6), QStringLiteral("北"), h * 1.2,
           Qt::AlignHCenter | Qt::AlignBottom);

    // Scale bar: a round length of at most 60 % of the room left.
    const double room = a.right() - (n.x() + 14);
    double barM = 1;
    for (double m : {0.5, 1.0, 2.0, 5.0, 10.0, 20.0, 50.0, 100.0})
        if (m * 1000 / f.scale <= 0.8 * room)
            barM = m;
    const double barMm = barM * 1000 / f.scale;
    const QPointF b(n.x() + 14, a.bottom() - 14);
    for (int i = 0; i < 4; ++i) {
        const QRectF part(b.x() + barMm * i / 4, b.y(), barMm / 4, 1.8);
        s.rect(part, s.pen(Qt::black, 0.2), i % 2 == 0 ? QBrush(Qt::black) : QBrush(Qt::white));
    }
    s.text(QRectF(b.x() - 5, b.y() + 2.2, 10, h * 1.4), QStringLiteral("0"), h,
           Qt::AlignHCenter | Qt::AlignTop);
    s.text(QRectF(b.x() + barMm - 10, b.y() + 2.2, 20, h * 1.4), QStringLiteral("%1 m").arg(barM),
           h, Qt::AlignHCenter | Qt::AlignTop);
    s.text(QRectF(b.x(), b.y() - h * 1.8, barMm + 20, h * 1.5), QStringLiteral("1:%1").arg(f.scale),
           h, Qt::AlignLeft | Qt::AlignBottom);
}

void drawTitleBlock(Sheet& s, const PlanPlotFrame& f, const PlanPlotOptions& o) {
    const QRectF t = f.titleBlock;
    const QPen thin = s.pen(Qt::black, 0.25);
    s.rect(t, s.pen(Qt::black, 0.5));
    const double row = t.height() / 5;
    const double key = t.width() * 0.2;
    const double h = textHeight(o);
    const QList<QStringList> rows{
        {QStringLiteral("项目"), o.project},
        {QStringLiteral("图名"), QStringLiteral("地暖盘管平面图")},
        {QStringLiteral("比例"), QStringLiteral("1:%1").arg(f.scale), QStringLiteral("图幅"),
         isA3(o) ? QStringLiteral("A3") : QStringLiteral("A4")},
        {QStringLiteral("日期"), o.when.toString(QStringLiteral("yyyy-MM-dd")),
         QStringLiteral("图号"), QStringLiteral("第 1 张，共 1 张")},
        {QStringLiteral("设计"), QStringLiteral("Zorva 地面辐射供暖设计")}};
    for (int r = 0; r < rows.size(); ++r) {
        const double y = t.top() + r * row;
        if (r > 0)
            s.line({t.left(), y}, {t.right(), y}, thin);
        const QStringList& cells = rows[r];
        const double half = t.width() / 2;
        const double xs[] = {t.left(), t.left() + key, t.left() + half, t.left() + half + key,
                             t.right()};
        const int n = int(cells.size());
        for (int c = 0; c < n; ++c) {
            const double x0 = xs[c];
            const double x1 = n == 2 && c == 1 ? t.right() : xs[c + 1];
            if (c > 0)
                s.line({x0, y}, {x0, y + row}, thin);
            s.text(QRectF(x0 + 1.5, y, x1 - x0 - 3, row), cells[c], r == 1 && c == 1 ? h * 1.4 : h,
                   Qt::AlignLeft | Qt::AlignVCenter);
        }
    }
}

} // namespace

const std::vector<int>& planPlotScales() {
    static const std::vector<int> scales{20, 25, 50, 75, 100, 125, 150, 200, 250, 300, 500, 1000};
    return scales;
}

QPointF PlanPlotFrame::toSheet(layout::Point p) const {
    const QPointF centre = drawingArea.center();
    const double cx = (plan.minX + plan.maxX) / 2;
    const double cy = (plan.minY + plan.maxY) / 2;
    return {centre.x() + (p.x - cx) / scale, centre.y() - (p.y - cy) / scale};
}

PlanPlotFrame planPlotFrame(const project::Project& project, const project::ProjectResult& result,
                            const PlanPlotOptions& options) {
    PlanPlotFrame f;
    f.paper = paperSize(options);
    f.border = QRectF(kBindingMm, kMarginMm, f.paper.width() - kBindingMm - kMarginMm,
                      f.paper.height() - 2 * kMarginMm);
    const double column = isA3(options) ? 95 : 80;
    const double title = isA3(options) ? 40 : 32;
    const QRectF side(f.border.right() - column, f.border.top(), column, f.border.height());
    f.titleBlock = QRectF(side.left(), side.bottom() - title, side.width(), title);
    f.legendArea = QRectF(side.left(), side.top(), side.width(), side.height() - title);
    f.drawingArea =
        QRectF(f.border.left() + kGapMm, f.border.top() + kGapMm,
               side.left() - f.border.left() - 2 * kGapMm, f.border.height() - 2 * kGapMm);
    const Extent e = planExtent(project, result);
    f.empty = e.empty;
    f.plan = e.empty ? layout::Box{} : e.box;
    for (int s : planPlotScales())
        if (fitsAt(f.plan, f.drawingArea, s)) {
            f.fittingScale = s;
            break;
        }
    f.scale = options.scale > 0 ? options.scale
                                : (f.fittingScale > 0 ? f.fittingScale : planPlotScales().back());
    f.fits = fitsAt(f.plan, f.drawingArea, f.scale);
    return f;
}

bool paintPlanPlot(QPainter& painter, double dotsPerMm, const project::Project& project,
                   const project::ProjectResult& result, const PlanPlotOptions& options,
                   ReportProgress* progress) {
    const PlanPlotFrame f = planPlotFrame(project, result, options);
    painter.setRenderHint(QPainter::Antialiasing);
    Sheet s(painter, dotsPerMm);
    s.rect(f.border, s.pen(Qt::black, 0.7));
    s.line(f.legendArea.topLeft(), f.legendArea.bottomLeft() + QPointF(0, f.titleBlock.height()),
           s.pen(Qt::black, 0.35));
    std::vector<LegendRow> legend;
    int violations = 0;
    bool stopped = false;
    if (f.empty)
        s.text(f.drawingArea, QStringLiteral("没有画出轮廓的房间，也没有放置的分集水器。"),
               textHeight(options) * 1.5, Qt::AlignCenter);
    else
        drawPlan(s, f, project, result, options, legend, violations, progress, stopped);
    if (stopped)
        return false;
    drawLegend(s, f, options, legend, violations);
    drawTitleBlock(s, f, options);
    return !progress || progress->advance(1);
}

QByteArray planPlotPdf(const project::Project& project, const project::ProjectResult& result,
                       const PlanPlotOptions& options, ReportProgress* progress) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return {};
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfResolution);
        writer.setPageLayout(QPageLayout(QPageSize(isA3(options) ? QPageSize::A3 : QPageSize::A4),
                                         QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
        writer.setTitle(QStringLiteral("地暖盘管平面图：%1").arg(options.project));
        writer.setCreator(QStringLiteral("Zorva"));
        QPainter painter;
        if (!painter.begin(&writer))
            return {};
        const bool painted =
            paintPlanPlot(painter, kPdfResolution / 25.4, project, result, options, progress);
        if (!painter.end() || !painted)
            return {};
    }
    buffer.close();
    return bytes;
}

bool printPlanPlot(const project::Project& project, const project::ProjectResult& result,
                   const PlanPlotOptions& options, QPagedPaintDevice& device) {
    device.setPageSize(QPageSize(isA3(options) ? QPageSize::A3 : QPageSize::A4));
    device.setPageOrientation(QPageLayout::Landscape);
    device.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    // A printer that cannot print to the edge keeps its margins: the sheet
    // is moved so that its own coordinates stay those of the paper.
    const QMarginsF margins = device.pageLayout().margins(QPageLayout::Millimeter);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const double k = device.logicalDpiX() / 25.4;
    painter.translate(-margins.left() * k, -margins.top() * k);
    const bool painted = paintPlanPlot(painter, k, project, result, options);
    return painter.end() && painted;
}

} // namespace zorva::ui
