// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/report/reportdocument.h"

#include "widgets/common/uikit.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextObjectInterface>
#include <QTextTable>

#include <vector>

namespace zorva::ui {

namespace {

// The text object type of the drawings and the properties of its format.
constexpr int kDrawingObject = QTextFormat::UserObject + 1;
constexpr int kDrawingIndex = QTextFormat::UserProperty + 1;
constexpr int kDrawingWidthMm = QTextFormat::UserProperty + 2;
constexpr int kDrawingHeightMm = QTextFormat::UserProperty + 3;

constexpr double kMmPerInch = 25.4;
// The resolution of the PDF: fine enough for exact placing, coarse enough
// to keep coordinates short.
constexpr int kPdfResolution = 600;

} // namespace

// Draws the report's drawings when the document is laid out and painted.
// Their size is kept in millimetres and turned into the units of the device
// the document is laid out for.
class DrawingObject : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    int add(ReportBuilder::Drawing draw) {
        drawings_.push_back(std::move(draw));
        return static_cast<int>(drawings_.size()) - 1;
    }

    QSizeF intrinsicSize(QTextDocument* doc, int, const QTextFormat& format) override {
        const QPaintDevice* device = doc->documentLayout()->paintDevice();
        const double dpiX = device ? device->logicalDpiX() : 96;
        const double dpiY = device ? device->logicalDpiY() : 96;
        return {format.doubleProperty(kDrawingWidthMm) / kMmPerInch * dpiX,
                format.doubleProperty(kDrawingHeightMm) / kMmPerInch * dpiY};
    }

    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                    const QTextFormat& format) override {
        const int index = format.intProperty(kDrawingIndex);
        if (index >= 0 && index < static_cast<int>(drawings_.size())) {
            painter->save();
            drawings_[static_cast<std::size_t>(index)](*painter, rect);
            painter->restore();
        }
    }

private:
    std::vector<ReportBuilder::Drawing> drawings_;
};

ReportBuilder::ReportBuilder()
    : document_(std::make_unique<QTextDocument>()), drawings_(std::make_unique<DrawingObject>()),
      cursor_(document_.get()) {
    document_->setDefaultFont(songFont(10));
    document_->documentLayout()->registerHandler(kDrawingObject, drawings_.get());
}

ReportBuilder::~ReportBuilder() = default;

void ReportBuilder::block(Qt::Alignment alignment, double pointSize, bool bold, bool breakBefore) {
    QTextBlockFormat format;
    format.setAlignment(alignment);
    format.setTopMargin(pointSize * 0.6);
    format.setBottomMargin(pointSize * 0.3);
    if (breakBefore || breakNext_)
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    breakNext_ = false;
    QTextCharFormat chars;
    chars.setFont(songFont(pointSize));
    chars.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    if (document_->isEmpty() && cursor_.position() == 0) {
        cursor_.setBlockFormat(format);
        cursor_.setBlockCharFormat(chars);
    } else {
        cursor_.movePosition(QTextCursor::End);
        cursor_.insertBlock(format, chars);
    }
    cursor_.setCharFormat(chars);
}

void ReportBuilder::title(const QString& text) {
    block(Qt::AlignHCenter, 16, true);
    cursor_.insertText(text);
}

void ReportBuilder::heading(const QString& text) {
    block(Qt::AlignLeft, 12, true);
    cursor_.insertText(text);
}

void ReportBuilder::paragraph(const QString& text) {
    block(Qt::AlignLeft, 10, false);
    cursor_.insertText(text);
}

void ReportBuilder::caption(const QString& text) {
    block(Qt::AlignHCenter, 10, false);
    cursor_.insertText(text);
}

void ReportBuilder::table(const QStringList& header, const QList<QStringList>& rows,
                          const QList<int>& rightAligned, double fontPoints, double widthPercent) {
    block(Qt::AlignLeft, 4, false);
    QTextTableFormat format;
    format.setHeaderRowCount(1);
    format.setCellPadding(3);
    format.setCellSpacing(0);
    format.setBorder(0.5);
    format.setBorderBrush(Qt::black);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setWidth(QTextLength(QTextLength::PercentageLength, widthPercent));
    const int columns = static_cast<int>(header.size());
    // One edit: the document is laid out once, not after every cell.
    cursor_.beginEditBlock();
    QTextTable* table = cursor_.insertTable(static_cast<int>(rows.size()) + 1, columns, format);

    QTextCharFormat plain;
    plain.setFont(songFont(fontPoints));
    QTextCharFormat bold = plain;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat shaded;
    shaded.setBackground(QColor(230, 230, 230));

    const auto fill = [&](int row, const QStringList& cells, const QTextCharFormat& chars) {
        for (int c = 0; c < columns; ++c) {
            QTextTableCell cell = table->cellAt(row, c);
            if (row == 0)
                cell.setFormat(shaded);
            QTextCursor at = cell.firstCursorPosition();
            QTextBlockFormat alignment;
            alignment.setAlignment(row > 0 && rightAligned.contains(c) ? Qt::AlignRight
                                                                       : Qt::AlignLeft);
            at.setBlockFormat(alignment);
            at.insertText(c < cells.size() ? cells[c] : QString(), chars);
        }
    };
    fill(0, header, bold);
    for (int r = 0; r < rows.size(); ++r)
        fill(r + 1, rows[r], plain);
    cursor_.endEditBlock();
    cursor_.movePosition(QTextCursor::End);
}

void ReportBuilder::picture(const QImage& image, double widthMm) {
    if (image.isNull() || image.width() <= 0)
        return;
    const double heightMm = widthMm * image.height() / image.width();
    drawing(
        [image](QPainter& painter, const QRectF& rect) {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            // A line drawing: no JPEG blur in the PDF.
            painter.setRenderHint(QPainter::LosslessImageRendering);
            painter.drawImage(rect, image);
        },
        widthMm, heightMm);
}

void ReportBuilder::drawing(Drawing draw, double widthMm, double heightMm) {
    block(Qt::AlignHCenter, 4, false);
    QTextCharFormat format;
    format.setObjectType(kDrawingObject);
    format.setProperty(kDrawingIndex, drawings_->add(std::move(draw)));
    format.setProperty(kDrawingWidthMm, widthMm);
    format.setProperty(kDrawingHeightMm, heightMm);
    cursor_.insertText(QString(QChar::ObjectReplacementCharacter), format);
}

void ReportBuilder::pageBreak() {
    breakNext_ = true;
}

bool ReportBuilder::paint(QPagedPaintDevice& device, QPageLayout::Orientation orientation) {
    device.setPageOrientation(orientation);
    device.setPageMargins(QMarginsF(18, 15, 18, 12), QPageLayout::Millimeter);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // Laid out for the device, so that fonts and lengths have their sizes on
    // paper; the foot of each page keeps room for the page number.
    QTextDocument& doc = *document_;
    doc.documentLayout()->setPaintDevice(&device);
    const QFont footFont = songFont(8);
    const double footHeight = QFontMetricsF(footFont, &device).height() * 2;
    const QSizeF body(device.width(), device.height() - footHeight);
    doc.setPageSize(body);
    doc.setDocumentMargin(0);
    const int pages = doc.pageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !device.newPage())
            return false;
        painter.save();
        painter.translate(0, -page * body.height());
        doc.drawContents(&painter, QRectF(QPointF(0, page * body.height()), body));
        painter.restore();
        painter.setFont(footFont);
        painter.drawText(QRectF(0, body.height(), body.width(), footHeight), Qt::AlignCenter,
                         QStringLiteral("第 %1 页，共 %2 页").arg(page + 1).arg(pages));
    }
    // The device lives no longer than this call.
    doc.documentLayout()->setPaintDevice(nullptr);
    return painter.end();
}

QByteArray reportPdf(ReportBuilder& report, const QString& title,
                     QPageLayout::Orientation orientation) {
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
        if (!report.paint(writer, orientation))
            return {};
    }
    buffer.close();
    return bytes;
}

bool printReport(ReportBuilder& report, QPagedPaintDevice& device,
                 QPageLayout::Orientation orientation) {
    return report.paint(device, orientation);
}

} // namespace zorva::ui

#include "reportdocument.moc"
