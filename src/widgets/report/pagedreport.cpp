// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/report/pagedreport.h"

#include "widgets/common/uikit.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <numeric>

namespace zorva::ui {

namespace {

// The resolution of the PDF: fine enough for exact placing, coarse enough
// to keep coordinates short.
constexpr int kPdfResolution = 600;
// Page margins (mm) and the foot's font; the same as the design report's.
const QMarginsF kMarginsMm(18, 15, 18, 12);
constexpr double kFootPoints = 8;
// Around the text of a cell, and the ruling of a table (points).
constexpr double kCellPadding = 1.2;
constexpr double kRuleWidth = 0.5;
// Share of the work: laying out the rows, then painting the pages.
constexpr double kLayoutShare = 0.3;

// How often the progress is asked: every this many rows or cells.
constexpr int kRowsPerStep = 64;

struct Units {
    double dpi;
    double points(double pt) const { return pt / 72.0 * dpi; }
};

// A table laid out for one device: the width of each column, each row's
// height, and the width of each cell's text (to place it without measuring
// again).
struct TableGeometry {
    QFont plain;
    QFont bold;
    double padding = 0;
    std::vector<double> columnWidths;
    double headerHeight = 0;
    std::vector<double> rowHeights;
    std::vector<float> textWidths; // rows × columns
};

// A block's place: the page it starts on and its top there. A table's rows
// follow in order; `firstRow` of each slice is where a page begins.
struct TableSlice {
    int page;
    double top;
    int firstRow;
    int endRow;
};

struct Placement {
    int page = 0;
    double top = 0;
    double height = 0;
    std::vector<TableSlice> slices; // tables only
};

// Shares `available` among columns wanting `natural`: all of it when it
// fits, spread in proportion; else every column gets at most the same cap,
// chosen so that the widths fill the space.
std::vector<double> shareWidths(const std::vector<double>& natural, double available) {
    const double total = std::accumulate(natural.begin(), natural.end(), 0.0);
    std::vector<double> widths(natural);
    if (total <= 0 || natural.empty())
        return widths;
    if (total <= available) {
        for (double& w : widths)
            w *= available / total;
        return widths;
    }
    std::vector<double> sorted(natural);
    std::sort(sorted.begin(), sorted.end());
    double below = 0; // the sum of the columns narrower than the cap
    double cap = available / static_cast<double>(sorted.size());
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        const double rest = static_cast<double>(sorted.size() - i);
        cap = (available - below) / rest;
        if (sorted[i] >= cap)
            break;
        below += sorted[i];
    }
    for (double& w : widths)
        w = std::min(w, cap);
    return widths;
}

int wrapFlags(Qt::Alignment alignment) {
    return static_cast<int>(alignment) | Qt::TextWrapAnywhere;
}

} // namespace

class PagedReportLayout {
public:
    PagedReportLayout(const std::vector<PagedReport::Block>& blocks, const QString& footnote,
                      QPaintDevice& device, ReportProgress* progress)
        : blocks_(blocks), footnote_(footnote), device_(device),
          progress_(progress), units_{double(device.logicalDpiY())},
          body_(device.width(), device.height() - footHeight()) {}

    double footHeight() const {
        return QFontMetricsF(songFont(kFootPoints), &device_).height() * 2;
    }

    bool layOut();
    bool paint(QPainter& painter, QPagedPaintDevice& device) const;

private:
    QFont blockFont(const PagedReport::Block& b) const;
    Qt::Alignment blockAlignment(const PagedReport::Block& b) const;
    double textHeight(const PagedReport::Block& b) const;
    bool measureTable(const PagedReport::Block& b, TableGeometry& g);
    bool step(std::size_t done, std::size_t total, double from, double share) const;
    void placeTable(const PagedReport::Block& b, const TableGeometry& g, Placement& place);
    void paintTableSlice(QPainter& painter, const PagedReport::Block& b, const TableGeometry& g,
                         const TableSlice& slice) const;
    void paintCell(QPainter& painter, const QRectF& cell, const QString& text, double textWidth,
                   bool right, const QFont& font) const;

    const std::vector<PagedReport::Block>& blocks_;
    const QString& footnote_;
    QPaintDevice& device_;
    ReportProgress* progress_;
    Units units_;
    QSizeF body_;
    std::vector<Placement> places_;
    std::vector<TableGeometry> tables_; // one per block; empty for text blocks
    int pages_ = 1;
    double y_ = 0;
    std::size_t rowsDone_ = 0;
    std::size_t rowsTotal_ = 0;
};

QFont PagedReportLayout::blockFont(const PagedReport::Block& b) const {
    using Kind = PagedReport::Block::Kind;
    QFont font = songFont(b.kind == Kind::Title ? 16 : b.kind == Kind::Heading ? 12 : 10);
    font.setBold(b.kind == Kind::Title || b.kind == Kind::Heading);
    return font;
}

Qt::Alignment PagedReportLayout::blockAlignment(const PagedReport::Block& b) const {
    using Kind = PagedReport::Block::Kind;
    return b.kind == Kind::Title || b.kind == Kind::Caption ? Qt::AlignHCenter : Qt::AlignLeft;
}

double PagedReportLayout::textHeight(const PagedReport::Block& b) const {
    const QFontMetricsF metrics(blockFont(b), &device_);
    return metrics
        .boundingRect(QRectF(0, 0, body_.width(), 1e9), wrapFlags(blockAlignment(b)), b.text)
        .height();
}

bool PagedReportLayout::step(std::size_t done, std::size_t total, double from, double share) const {
    if (progress_ == nullptr)
        return true;
    const double part = total == 0 ? 1.0 : double(done) / double(total);
    return progress_->advance(from + share * part);
}

// Every column as wide as its longest text when the table fits, else as the
// shared width allows; every row as high as its most wrapped cell.
bool PagedReportLayout::measureTable(const PagedReport::Block& b, TableGeometry& g) {
    g.plain = songFont(b.fontPoints);
    g.bold = g.plain;
    g.bold.setBold(true);
    g.padding = units_.points(kCellPadding);
    const QFontMetricsF plain(g.plain, &device_);
    const QFontMetricsF bold(g.bold, &device_);
    const auto columns = static_cast<std::size_t>(b.header.size());
    std::vector<double> natural(columns, 0);
    for (std::size_t c = 0; c < columns; ++c)
        natural[c] = bold.horizontalAdvance(b.header[qsizetype(c)]);
    g.textWidths.assign(std::size_t(b.rows.size()) * columns, 0);
    for (qsizetype r = 0; r < b.rows.size(); ++r) {
        const QStringList& row = b.rows[r];
        for (std::size_t c = 0; c < columns && qsizetype(c) < row.size(); ++c) {
            const double w = plain.horizontalAdvance(row[qsizetype(c)]);
            g.textWidths[std::size_t(r) * columns + c] = float(w);
            natural[c] = std::max(natural[c], w);
        }
        if (++rowsDone_ % kRowsPerStep == 0 && !step(rowsDone_, rowsTotal_, 0, kLayoutShare / 2))
            return false;
    }
    for (double& w : natural)
        w += 2 * g.padding + 1;
    g.columnWidths = shareWidths(natural, body_.width());

    const auto cellHeight = [&](const QFontMetricsF& metrics, const QString& text, double width,
                                double textWidth) {
        const double inner = width - 2 * g.padding;
        if (textWidth <= inner)
            return metrics.height();
        return metrics.boundingRect(QRectF(0, 0, inner, 1e9), wrapFlags(Qt::AlignLeft), text)
            .height();
    };
    g.headerHeight = 0;
    for (std::size_t c = 0; c < columns; ++c)
        g.headerHeight =
            std::max(g.headerHeight, cellHeight(bold, b.header[qsizetype(c)], g.columnWidths[c],
                                                bold.horizontalAdvance(b.header[qsizetype(c)])));
    g.headerHeight += 2 * g.padding;
    g.rowHeights.assign(std::size_t(b.rows.size()), plain.height() + 2 * g.padding);
    for (qsizetype r = 0; r < b.rows.size(); ++r) {
        const QStringList& row = b.rows[r];
        double height = plain.height();
        for (std::size_t c = 0; c < columns && qsizetype(c) < row.size(); ++c)
            height = std::max(height, cellHeight(plain, row[qsizetype(c)], g.columnWidths[c],
                                                 g.textWidths[std::size_t(r) * columns + c]));
        g.rowHeights[std::size_t(r)] = height + 2 * g.padding;
    }
    return true;
}

// Rows go on the page while they fit; a page that takes the next row begins
// with the header row. A row higher than a page is given a page of its own.
void PagedReportLayout::placeTable(const PagedReport::Block& b, const TableGeometry& g,
                                   Placement& place) {
    const int rows = static_cast<int>(b.rows.size());
    if (y_ > 0 && y_ + g.headerHeight + (rows > 0 ? g.rowHeights[0] : 0) > body_.height()) {
        ++pages_;
        y_ = 0;
    }
    place.page = pages_ - 1;
    place.top = y_;
    TableSlice slice{pages_ - 1, y_, 0, 0};
    y_ += g.headerHeight;
    for (int r = 0; r < rows; ++r) {
        const double h = g.rowHeights[std::size_t(r)];
        if (y_ + h > body_.height() && r > slice.firstRow) {
            slice.endRow = r;
            place.slices.push_back(slice);
            ++pages_;
            y_ = 0;
            slice = TableSlice{pages_ - 1, 0, r, 0};
            y_ += g.headerHeight;
        }
        y_ += h;
    }
    slice.endRow = rows;
    place.slices.push_back(slice);
}

bool PagedReportLayout::layOut() {
    places_.assign(blocks_.size(), Placement{});
    tables_.assign(blocks_.size(), TableGeometry{});
    for (const PagedReport::Block& b : blocks_)
        rowsTotal_ += std::size_t(b.rows.size());
    for (std::size_t i = 0; i < blocks_.size(); ++i) {
        const PagedReport::Block& b = blocks_[i];
        Placement& place = places_[i];
        using Kind = PagedReport::Block::Kind;
        // The space above a block, as a paragraph's margins would give.
        const double points = b.kind == Kind::Table     ? 4
                              : b.kind == Kind::Title   ? 16
                              : b.kind == Kind::Heading ? 12
                                                        : 10;
        if (y_ > 0)
            y_ += units_.points(points * 0.9);
        if (b.kind == Kind::Table) {
            if (!measureTable(b, tables_[i]))
                return false;
            placeTable(b, tables_[i], place);
            continue;
        }
        place.height = textHeight(b);
        if (y_ > 0 && y_ + place.height > body_.height()) {
            ++pages_;
            y_ = 0;
        }
        place.page = pages_ - 1;
        place.top = y_;
        y_ += place.height;
    }
    return step(1, 1, 0, kLayoutShare);
}

void PagedReportLayout::paintCell(QPainter& painter, const QRectF& cell, const QString& text,
                                  double textWidth, bool right, const QFont& font) const {
    if (text.isEmpty())
        return;
    const double pad = units_.points(kCellPadding);
    const QRectF area = cell.adjusted(pad, pad, -pad, -pad);
    if (textWidth <= area.width()) {
        // One line: placed by its baseline, the fast way.
        const QFontMetricsF metrics(font, &device_);
        const double x = right ? area.right() - textWidth : area.left();
        painter.drawText(QPointF(x, area.top() + metrics.ascent()), text);
        return;
    }
    painter.drawText(area, wrapFlags(right ? Qt::AlignRight : Qt::AlignLeft), text);
}

void PagedReportLayout::paintTableSlice(QPainter& painter, const PagedReport::Block& b,
                                        const TableGeometry& g, const TableSlice& slice) const {
    const auto columns = static_cast<std::size_t>(b.header.size());
    const double width = std::accumulate(g.columnWidths.begin(), g.columnWidths.end(), 0.0);
    std::vector<double> lefts(columns + 1, 0);
    for (std::size_t c = 0; c < columns; ++c)
        lefts[c + 1] = lefts[c] + g.columnWidths[c];
    double y = slice.top;
    // The header row, shaded.
    painter.fillRect(QRectF(0, y, width, g.headerHeight), QColor(230, 230, 230));
    painter.setFont(g.bold);
    const QFontMetricsF bold(g.bold, &device_);
    for (std::size_t c = 0; c < columns; ++c)
        paintCell(painter, QRectF(lefts[c], y, g.columnWidths[c], g.headerHeight),
                  b.header[qsizetype(c)], bold.horizontalAdvance(b.header[qsizetype(c)]), false,
                  g.bold);
    const double top = y;
    y += g.headerHeight;
    painter.setFont(g.plain);
    std::vector<double> lines{top, y};
    for (int r = slice.firstRow; r < slice.endRow; ++r) {
        const QStringList& row = b.rows[r];
        const double h = g.rowHeights[std::size_t(r)];
        for (std::size_t c = 0; c < columns && qsizetype(c) < row.size(); ++c)
            paintCell(painter, QRectF(lefts[c], y, g.columnWidths[c], h), row[qsizetype(c)],
                      g.textWidths[std::size_t(r) * columns + c], b.rightAligned.contains(int(c)),
                      g.plain);
        y += h;
        lines.push_back(y);
    }
    // The ruling: one line per row edge and per column edge.
    painter.save();
    painter.setPen(QPen(Qt::black, units_.points(kRuleWidth)));
    for (const double at : lines)
        painter.drawLine(QPointF(0, at), QPointF(width, at));
    for (const double at : lefts)
        painter.drawLine(QPointF(at, top), QPointF(at, y));
    painter.restore();
}

bool PagedReportLayout::paint(QPainter& painter, QPagedPaintDevice& device) const {
    const QFont foot = songFont(kFootPoints);
    const double footHeight = this->footHeight();
    // What goes on each page, in order: a block's text, or a table slice.
    struct Piece {
        std::size_t block;
        int slice; // -1: the block's text
    };
    std::vector<std::vector<Piece>> onPage(static_cast<std::size_t>(pages_));
    for (std::size_t i = 0; i < blocks_.size(); ++i) {
        if (blocks_[i].kind == PagedReport::Block::Kind::Table) {
            for (std::size_t s = 0; s < places_[i].slices.size(); ++s)
                onPage[std::size_t(places_[i].slices[s].page)].push_back({i, int(s)});
        } else {
            onPage[std::size_t(places_[i].page)].push_back({i, -1});
        }
    }
    for (int page = 0; page < pages_; ++page) {
        if (page > 0 && !device.newPage())
            return false;
        for (const Piece& piece : onPage[std::size_t(page)]) {
            const PagedReport::Block& b = blocks_[piece.block];
            if (piece.slice >= 0) {
                paintTableSlice(painter, b, tables_[piece.block],
                                places_[piece.block].slices[std::size_t(piece.slice)]);
                continue;
            }
            const Placement& place = places_[piece.block];
            painter.setFont(blockFont(b));
            painter.drawText(QRectF(0, place.top, body_.width(), place.height),
                             wrapFlags(blockAlignment(b)), b.text);
        }
        painter.setFont(foot);
        painter.drawText(QRectF(0, body_.height(), body_.width(), footHeight), Qt::AlignCenter,
                         (footnote_.isEmpty() ? QString() : footnote_ + QStringLiteral("　")) +
                             QStringLiteral("第 %1 页，共 %2 页").arg(page + 1).arg(pages_));
        if (!step(std::size_t(page + 1), std::size_t(pages_), kLayoutShare, 1 - kLayoutShare))
            return false;
    }
    return true;
}

void PagedReport::title(const QString& text) {
    blocks_.push_back(Block{Block::Kind::Title, text, {}, {}, {}, 16});
}

void PagedReport::caption(const QString& text) {
    blocks_.push_back(Block{Block::Kind::Caption, text, {}, {}, {}, 10});
}

void PagedReport::heading(const QString& text) {
    blocks_.push_back(Block{Block::Kind::Heading, text, {}, {}, {}, 12});
}

void PagedReport::paragraph(const QString& text) {
    blocks_.push_back(Block{Block::Kind::Paragraph, text, {}, {}, {}, 10});
}

void PagedReport::table(const QStringList& header, QList<QStringList> rows,
                        const QList<int>& rightAligned, double fontPoints) {
    blocks_.push_back(
        Block{Block::Kind::Table, {}, header, std::move(rows), rightAligned, fontPoints});
}

bool PagedReport::paint(QPagedPaintDevice& device, QPageLayout::Orientation orientation,
                        ReportProgress* progress) const {
    device.setPageOrientation(orientation);
    device.setPageMargins(kMarginsMm, QPageLayout::Millimeter);
    PagedReportLayout layout(blocks_, footnote_, device, progress);
    if (!layout.layOut())
        return false;
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const bool painted = layout.paint(painter, device);
    return painter.end() && painted;
}

QByteArray pagedReportPdf(const PagedReport& report, const QString& title,
                          QPageLayout::Orientation orientation, ReportProgress* progress) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return {};
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(kPdfResolution);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Zorva"));
        if (!report.paint(writer, orientation, progress))
            return {};
    }
    buffer.close();
    return bytes;
}

} // namespace zorva::ui
