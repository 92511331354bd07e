// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/report/manifoldreport.h"

#include "core/engine/numtext.h"
#include "core/io/manifoldcsv.h"
#include "core/io/manifoldfields.h"
#include "widgets/report/pagedreport.h"

#include <cmath>

namespace zorva::ui {

namespace {

QString fixed(double value, int decimals) {
    return std::isfinite(value) ? QString::fromUtf8(patternText(value, decimals).view())
                                : QString();
}

QString general(double value) {
    return std::isfinite(value) ? QString::fromUtf8(generalText(value).view()) : QString();
}

// The CSV table's columns without the manifold's own inputs, which the
// report shows once above the table.
QStringList loopColumns(const QStringList& csvRow) {
    QStringList row = csvRow.mid(0, 1 + io::kLoopNumberCount);
    row << csvRow.mid(1 + io::kLoopNumberCount + io::kManifoldNumberCount);
    return row;
}

// Share of the work in making the rows' texts; the rest is laying out and
// painting the pages.
constexpr double kRowsShare = 0.1;
constexpr int kRowsPerStep = 64;

void addManifold(PagedReport& report, const ManifoldInput& manifold) {
    report.heading(QStringLiteral("一、分集水器参数"));
    QList<QStringList> rows;
    const auto numberFields = io::manifoldSpecs();
    // Two quantities per row keep the list short on a landscape page.
    for (int i = 0; i < static_cast<int>(numberFields.size()); i += 2) {
        QStringList row{numberFields[std::size_t(i)].caption(),
                        general(io::manifoldNumber(manifold, i))};
        if (i + 1 < static_cast<int>(numberFields.size()))
            row << numberFields[std::size_t(i + 1)].caption()
                << general(io::manifoldNumber(manifold, i + 1));
        rows << row;
    }
    report.table({QStringLiteral("项目"), QStringLiteral("数值"), QStringLiteral("项目"),
                  QStringLiteral("数值")},
                 rows, {1, 3});
}

bool addLoops(PagedReport& report, const ManifoldInput& manifold, std::span<const LoopInput> loops,
              std::span<const LoopResult> results, ReportProgress& progress) {
    report.heading(QStringLiteral("二、环路计算与平衡"));
    const bool computed = results.size() == loops.size();
    QList<QStringList> rows;
    QList<int> numbers;
    const QStringList header =
        QStringList{QStringLiteral("序号")} + loopColumns(io::manifoldCsvHeader());
    for (int c = 2; c < header.size() - 1; ++c)
        numbers << c;
    numbers << 0;
    rows.reserve(qsizetype(loops.size()));
    for (std::size_t i = 0; i < loops.size(); ++i) {
        rows << QStringList{QString::number(i + 1)} +
                    loopColumns(
                        io::manifoldCsvRow(manifold, loops[i], computed ? &results[i] : nullptr));
        if ((i + 1) % kRowsPerStep == 0 && !progress.advance(double(i + 1) / double(loops.size())))
            return false;
    }
    report.table(header, std::move(rows), numbers, 6.5);
    if (!computed)
        report.paragraph(QStringLiteral("尚未计算：表中只有各环路的输入。"));
    return true;
}

void addTotals(PagedReport& report, const ManifoldTotals& t, std::span<const LoopInput> loops) {
    report.heading(QStringLiteral("三、合计"));
    QString index = QStringLiteral("无");
    if (t.indexLoop && *t.indexLoop < loops.size())
        index = io::loopLabel(static_cast<int>(*t.indexLoop) + 1,
                              QString::fromStdString(loops[*t.indexLoop].name));
    const QList<QStringList> rows{
        {QStringLiteral("环路数"), QString::number(t.loops), QStringLiteral("有结果的环路"),
         QString::number(t.computed)},
        {QStringLiteral("面积(m²)"), fixed(t.area, 2), QStringLiteral("散热量(W)"),
         fixed(t.output, 0)},
        {QStringLiteral("总流量(kg/h)"), fixed(t.flowKgh, 0), QStringLiteral("总流量(l/min)"),
         fixed(t.flowLpm, 2)},
        {QStringLiteral("最不利环路"), index, QStringLiteral("最不利环路阻力(kPa)"),
         fixed(t.maxResistance, 1)},
        {QStringLiteral("水泵扬程(kPa)"), fixed(t.pumpHeadKpa, 1), QStringLiteral("水泵扬程(m)"),
         fixed(t.pumpHeadM, 2)},
    };
    report.table({QStringLiteral("项目"), QStringLiteral("数值"), QStringLiteral("项目"),
                  QStringLiteral("数值")},
                 rows, {1, 3});
}

bool build(PagedReport& report, const ManifoldInput& manifold, std::span<const LoopInput> loops,
           std::span<const LoopResult> results, const ManifoldTotals& totals, const QDateTime& when,
           ReportProgress* progress) {
    report.title(QStringLiteral("分集水器环路计算书"));
    report.caption(
        QStringLiteral("日期：%1").arg(when.toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
    addManifold(report, manifold);
    ProgressPart rows(progress, 0, kRowsShare);
    if (!addLoops(report, manifold, loops, results, rows))
        return false;
    addTotals(report, totals, loops);
    return true;
}

} // namespace

QByteArray manifoldReportPdf(const ManifoldInput& manifold, std::span<const LoopInput> loops,
                             std::span<const LoopResult> results, const ManifoldTotals& totals,
                             const QDateTime& when, ReportProgress* progress) {
    PagedReport report;
    if (!build(report, manifold, loops, results, totals, when, progress))
        return {};
    ProgressPart pages(progress, kRowsShare, 1 - kRowsShare);
    return pagedReportPdf(report, QStringLiteral("Zorva 分集水器计算书"), QPageLayout::Landscape,
                          &pages);
}

bool printManifoldReport(const ManifoldInput& manifold, std::span<const LoopInput> loops,
                         std::span<const LoopResult> results, const ManifoldTotals& totals,
                         QPagedPaintDevice& device, const QDateTime& when) {
    PagedReport report;
    build(report, manifold, loops, results, totals, when, nullptr);
    return report.paint(device, QPageLayout::Landscape);
}

} // namespace zorva::ui
