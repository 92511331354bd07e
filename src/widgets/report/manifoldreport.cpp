// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/report/manifoldreport.h"

#include "core/engine/numtext.h"
#include "core/io/manifoldcsv.h"
#include "core/io/manifoldfields.h"
#include "core/wording/projectwording.h"
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
    const auto numberFields = io::manifoldRanges();
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

QString loopName(std::span<const LoopInput> loops, std::size_t i) {
    return i < loops.size() ? io::loopLabel(int(i) + 1, QString::fromStdString(loops[i].name))
                            : QStringLiteral("无");
}

// EN 1264-3: the design of the manifold above its loops.
void addDesign(PagedReport& report, const project::ManifoldResult& r,
               std::span<const LoopInput> loops, double designDrop) {
    report.heading(QStringLiteral("二、EN 1264-3 设计"));
    if (!r.design || !r.design->designed()) {
        report.paragraph(QStringLiteral("没有能设计的环路（每个环路需输入热负荷）。"));
        return;
    }
    const en1264::ManifoldDesign& d = *r.design;
    const bool fixedPair = d.mode == en1264::DesignMode::FixedPair;
    const QString deciding = fixedPair ? QStringLiteral("固定供回水温度")
                                       : loopName(loops, d.designRoom.value_or(loops.size()));
    const QList<QStringList> rows{
        {QStringLiteral("设计供水温度 θ_V(℃)"), fixed(d.designSupplyTemp, 2),
         QStringLiteral("决定供水温度的环路"), deciding},
        {QStringLiteral("设计温差 σ_des(K)"), fixedPair ? QStringLiteral("—") : general(designDrop),
         QStringLiteral("混合回水温度(℃)"), fixed(d.totals.mixedReturnTemp, 2)},
        {QStringLiteral("散热量(W)"), fixed(r.totals.output, 0),
         QStringLiteral("含向下热损失的供热量(W)"), fixed(r.totals.waterOutput, 0)},
        {QStringLiteral("辅助散热(W)"), fixed(r.totals.supplementaryHeat, 0),
         QStringLiteral("总流量(kg/h)"), fixed(r.totals.flowKgh, 1)},
    };
    report.table({QStringLiteral("项目"), QStringLiteral("数值"), QStringLiteral("项目"),
                  QStringLiteral("数值")},
                 rows, {1, 3});
    report.paragraph(QStringLiteral(
        "依据：EN 1264-2 附录 A（A 型）特性曲线与极限曲线；EN 1264-3 设计供水温度、各环路温差 σ、"
        "含向下热损失的设计流量和辅助散热；水阻力按达西公式（Re < 2300 为层流），水的物性取环路"
        "平均水温（docs/en1264-design.md）。"));
}

bool addStandardLoops(PagedReport& report, const project::ManifoldResult& r,
                      std::span<const LoopInput> loops, ReportProgress& progress) {
    report.heading(QStringLiteral("三、环路计算（EN 1264-2）与平衡"));
    const QStringList header{QStringLiteral("序号"),        QStringLiteral("环路名称"),
                             QStringLiteral("室内温度(℃)"), QStringLiteral("管间距(mm)"),
                             QStringLiteral("环路长度(m)"), QStringLiteral("热负荷(W)"),
                             QStringLiteral("面积(m²)"),    QStringLiteral("q(W/m²)"),
                             QStringLiteral("q_u(W/m²)"),   QStringLiteral("θ_F,m(℃)"),
                             QStringLiteral("q_G(W/m²)"),   QStringLiteral("σ(K)"),
                             QStringLiteral("回水温度(℃)"), QStringLiteral("流量(kg/h)"),
                             QStringLiteral("流量(l/min)"), QStringLiteral("流速(m/s)"),
                             QStringLiteral("阻力(kPa)"),   QStringLiteral("校核"),
                             QStringLiteral("辅助散热(W)"), QStringLiteral("阀门压降(kPa)")};
    QList<int> numbers{0};
    for (int c = 2; c < header.size(); ++c)
        if (c != 17)
            numbers << c;
    QList<QStringList> rows;
    rows.reserve(qsizetype(loops.size()));
    for (std::size_t i = 0; i < loops.size(); ++i) {
        const LoopInput& in = loops[i];
        QStringList row{QString::number(i + 1), QString::fromStdString(in.name),
                        general(in.roomTemp),   general(in.spacingMm),
                        general(in.lengthM),    in.loadW ? general(*in.loadW) : QString()};
        const project::ProjectLoop* l = i < r.loops.size() ? &r.loops[i] : nullptr;
        if (l && l->computed) {
            const project::LoopFigures& f = l->figures;
            row << fixed(f.area, 2) << fixed(f.heatOutput, 1)
                << (f.downwardOutput ? fixed(*f.downwardOutput, 1) : QStringLiteral("—"))
                << fixed(f.floorTempMean, 1) << fixed(f.limitOutput, 1) << fixed(f.drop, 2)
                << fixed(f.returnTemp, 2) << fixed(f.flowKgh, 1) << fixed(f.flowLpm, 2)
                << fixed(f.velocity, 2) << fixed(f.pressureDrop, 2)
                << loopVerdictText(f) + (l->indexLoop ? QStringLiteral("，最不利") : QString())
                << fixed(f.supplementaryHeat, 0)
                << (l->valveKpa ? fixed(*l->valveKpa, 2) : QString());
        } else {
            for (int c = 6; c < header.size(); ++c)
                row << (c == 17 ? QStringLiteral("未设计") : QString());
        }
        rows << row;
        if ((i + 1) % kRowsPerStep == 0 && !progress.advance(double(i + 1) / double(loops.size())))
            return false;
    }
    report.table(header, std::move(rows), numbers, 6);
    return true;
}

void addTotals(PagedReport& report, const ManifoldTotals& t, std::span<const LoopInput> loops,
               const QString& heading) {
    report.heading(heading);
    const QString index = loopName(loops, t.indexLoop.value_or(loops.size()));
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
           ReportProgress* progress, const ManifoldReportMethod& method) {
    const QString name = QString::fromUtf8(method::methodName(method.method));
    report.title(QStringLiteral("分集水器环路计算书"));
    report.caption(QStringLiteral("计算方法：%1　日期：%2")
                       .arg(name, when.toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
    report.footnote(QStringLiteral("计算方法：%1").arg(name));
    addManifold(report, manifold);
    ProgressPart rows(progress, 0, kRowsShare);
    if (method.method == method::Method::En1264) {
        const project::ManifoldResult none;
        const project::ManifoldResult& r = method.standard ? *method.standard : none;
        addDesign(report, r, loops, method.designDrop);
        if (!addStandardLoops(report, r, loops, rows))
            return false;
        addTotals(report, totals, loops, QStringLiteral("四、合计"));
        return true;
    }
    if (!addLoops(report, manifold, loops, results, rows))
        return false;
    addTotals(report, totals, loops, QStringLiteral("三、合计"));
    return true;
}

} // namespace

QByteArray manifoldReportPdf(const ManifoldInput& manifold, std::span<const LoopInput> loops,
                             std::span<const LoopResult> results, const ManifoldTotals& totals,
                             const QDateTime& when, ReportProgress* progress,
                             const ManifoldReportMethod& method) {
    PagedReport report;
    if (!build(report, manifold, loops, results, totals, when, progress, method))
        return {};
    ProgressPart pages(progress, kRowsShare, 1 - kRowsShare);
    return pagedReportPdf(report, QStringLiteral("Zorva 分集水器计算书"), QPageLayout::Landscape,
                          &pages);
}

bool printManifoldReport(const ManifoldInput& manifold, std::span<const LoopInput> loops,
                         std::span<const LoopResult> results, const ManifoldTotals& totals,
                         QPagedPaintDevice& device, const QDateTime& when,
                         const ManifoldReportMethod& method) {
    PagedReport report;
    build(report, manifold, loops, results, totals, when, nullptr, method);
    return report.paint(device, QPageLayout::Landscape);
}

} // namespace zorva::ui
