// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pieces every report is made of, written into a QTextDocument through
// a cursor (never through HTML, so texts typed by the user stay text):
// headings, paragraphs, tables whose header row is repeated on every page,
// pictures and drawings scaled to a width in millimetres. The finished
// document goes onto A4 pages as a PDF in memory or onto a printer, in the
// program's Song face so that Chinese text is real, embedded text.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <QTextCursor>

#include <functional>
#include <memory>

class QPagedPaintDevice;
class QPainter;
class QTextDocument;

namespace zorva::ui {

class DrawingObject;

class ReportBuilder {
public:
    // Draws into `rect` (device units of the page being printed).
    using Drawing = std::function<void(QPainter& painter, const QRectF& rect)>;

    ReportBuilder();
    ~ReportBuilder();

    void title(const QString& text);
    void heading(const QString& text);
    void paragraph(const QString& text);
    // A centred line, as under a picture or a title.
    void caption(const QString& text);
    // A table with a header row repeated at the top of each page; cells in
    // columns listed in `rightAligned` are right-aligned. `fontPoints` is the
    // size of its text, `widthPercent` its width against the text width.
    void table(const QStringList& header, const QList<QStringList>& rows,
               const QList<int>& rightAligned = {}, double fontPoints = 9,
               double widthPercent = 100);
    // A picture `widthMm` wide, its height in proportion, centred.
    void picture(const QImage& image, double widthMm);
    // A drawing made while the page is painted (vectors stay vectors), of
    // the given size in millimetres, centred.
    void drawing(Drawing draw, double widthMm, double heightMm);
    void pageBreak();

    QTextDocument& document() { return *document_; }

    // Lays the document out on the pages of `device` and paints it, with
    // "第 1 页，共 3 页" at the foot of each page. False when the device
    // could not be painted on.
    bool paint(QPagedPaintDevice& device, QPageLayout::Orientation orientation);

private:
    void block(Qt::Alignment alignment, double pointSize, bool bold, bool breakBefore = false);

    std::unique_ptr<QTextDocument> document_;
    std::unique_ptr<DrawingObject> drawings_;
    QTextCursor cursor_;
    bool breakNext_ = false;
};

// The document on A4 pages with page numbers; `title` goes into the PDF's
// properties. Empty when the PDF could not be made.
QByteArray reportPdf(ReportBuilder& report, const QString& title,
                     QPageLayout::Orientation orientation = QPageLayout::Portrait);

// The document printed on `device` (a printer the user chose). False when
// the device could not be painted on.
bool printReport(ReportBuilder& report, QPagedPaintDevice& device,
                 QPageLayout::Orientation orientation = QPageLayout::Portrait);

} // namespace zorva::ui
