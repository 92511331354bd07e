// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A report of text and long tables laid out on A4 pages by the program
// itself, in time linear in its rows: headings, paragraphs and tables whose
// header row is repeated at the top of every page they run over, with
// "第 1 页，共 3 页" at the foot of each page. Text is real text in the
// program's Song face. It serves reports that may hold thousands of rows
// (the manifold report), which a QTextDocument lays out far too slowly; the
// work can be followed and stopped through a ReportProgress, and may run on
// any thread.

#include "widgets/report/reportprogress.h"

#include <QByteArray>
#include <QList>
#include <QPageLayout>
#include <QString>
#include <QStringList>

#include <vector>

class QPagedPaintDevice;

namespace zorva::ui {

class PagedReportLayout;

class PagedReport {
public:
    void title(const QString& text);
    void caption(const QString& text); // a centred line
    void heading(const QString& text);
    void paragraph(const QString& text);
    // A line at the foot of every page, before the page number.
    void footnote(const QString& text) { footnote_ = text; }
    // A table with its header row on every page it runs over; cells in the
    // columns listed in `rightAligned` are right-aligned; `fontPoints` is the
    // size of its text. The columns share the text width by their longest
    // text; a text wider than its column wraps.
    void table(const QStringList& header, QList<QStringList> rows,
               const QList<int>& rightAligned = {}, double fontPoints = 9);

    // Lays the report out on the pages of `device` and paints it. False when
    // the device could not be painted on or the progress said stop.
    bool paint(QPagedPaintDevice& device, QPageLayout::Orientation orientation,
               ReportProgress* progress = nullptr) const;

private:
    friend class PagedReportLayout;

    struct Block {
        enum class Kind { Title, Caption, Heading, Paragraph, Table } kind;
        QString text;
        QStringList header;
        QList<QStringList> rows;
        QList<int> rightAligned;
        double fontPoints = 10;
    };
    std::vector<Block> blocks_;
    QString footnote_;
};

// The report on A4 pages as PDF bytes; `title` goes into the PDF's
// properties. Empty when the PDF could not be made or the progress said stop.
QByteArray pagedReportPdf(const PagedReport& report, const QString& title,
                          QPageLayout::Orientation orientation, ReportProgress* progress = nullptr);

} // namespace zorva::ui
