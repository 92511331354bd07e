// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/report/designreport.h"

#include "core/engine/calculate.h"
#include "core/engine/curves.h"
#include "core/engine/designreview.h"
#include "core/method/methodreview.h"
#include "core/wording/checkwording.h"
#include "core/wording/designwording.h"
#include "models/check/checktexts.h"
#include "models/check/coolingcheckmodel.h"
#include "models/check/crosscheckmodel.h"
#include "models/check/ruletablemodel.h"
#include "widgets/common/zorvaresources.h"
#include "widgets/curves/curvechart.h"
#include "widgets/report/reportdocument.h"

#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPainter>

#include <cmath>
#include <memory>

namespace zorva::ui {

namespace {

// The chart's size on screen, in pixels, and on paper, in millimetres.
constexpr QSize kChartPixels(900, 560);
constexpr double kChartWidthMm = 170;
constexpr double kDiagramWidthMm = 100;
// Percent of the text width for the short tables of inputs and results.
constexpr double kNarrowTable = 60;

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

// The header and rows of a table model as the window shows them.
QList<QStringList> modelRows(const QAbstractItemModel& model, QStringList& header) {
    header.clear();
    for (int c = 0; c < model.columnCount(); ++c)
        header << model.headerData(c, Qt::Horizontal).toString();
    QList<QStringList> rows;
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < model.columnCount(); ++c)
            row << model.data(model.index(r, c)).toString();
        rows << row;
    }
    return rows;
}

void addInputs(ReportBuilder& report, const FieldRecord& fields) {
    report.heading(QStringLiteral("一、设计参数"));
    QList<QStringList> rows;
    for (int i = 0; i < static_cast<int>(fields.design.size()); ++i)
        rows << QStringList{fieldCaption(i), fromStd(fields.design[std::size_t(i)]), fieldUnit(i)};
    report.table({QStringLiteral("项目"), QStringLiteral("数值"), QStringLiteral("单位")}, rows,
                 {1}, 9, kNarrowTable);

    report.heading(QStringLiteral("二、地板构造"));
    rows.clear();
    for (int row = 0; row < kConstructionRows; ++row)
        rows << QStringList{constructionRowCaption(ConstructionRow(row)),
                            fromStd(fields.thickness[std::size_t(row)]),
                            fromStd(fields.conductivity[std::size_t(row)])};
    rows << QStringList{elbowsCaption(), fromStd(fields.elbows), QString()};
    report.table(
        {QStringLiteral("构造层"), QStringLiteral("厚度 (mm)"), QStringLiteral("导热系数 (W/m/℃)")},
        rows, {1, 2}, 9, kNarrowTable);
}

void addResults(ReportBuilder& report, const Evaluation& run) {
    report.heading(QStringLiteral("三、计算结果"));
    const ResultTexts texts = resultTexts(run);
    QList<QStringList> rows;
    for (int k = 0; k < kResultCount; ++k)
        rows << QStringList{resultCaption(k), QString::fromUtf8(texts[std::size_t(k)].view()),
                            resultUnit(k)};
    report.table({QStringLiteral("项目"), QStringLiteral("结果"), QStringLiteral("单位")}, rows,
                 {1}, 9, kNarrowTable);
}

void addMethod(ReportBuilder& report, method::Method method,
               const std::optional<method::MethodLoopResult>& loop) {
    report.paragraph(QStringLiteral("计算方法：%1（%2）。")
                         .arg(QString::fromUtf8(method::methodName(method)),
                              QString::fromUtf8(method::methodClause(method))));
    if (!loop)
        return;
    if (!loop->computed()) {
        report.paragraph(QStringLiteral("EN 1264-2 不能计算本设计，校核表中散热量、地面平均温度、"
                                        "流速和阻力未校核。"));
        return;
    }
    report.paragraph(
        QStringLiteral("按 EN 1264-2 的设计数值：单位面积散热量 q = %1 W/m²，地面平均温度 "
                       "θ_F,m = %2 ℃，θ_F,max = %3 ℃ 时的极限散热量 q_G = %4 W/m²，"
                       "流量 %5 kg/h，流速 %6 m/s，环路阻力 %7 kPa。")
            .arg(models::fixedText(loop->heatOutput, 1), models::fixedText(loop->floorTempMean, 1),
                 models::fixedText(loop->floorLimit, 1), models::fixedText(loop->limitOutput, 1),
                 models::fixedText(loop->flowKgh, 1), models::fixedText(loop->velocity, 2),
                 models::fixedText(loop->pressureDrop, 1)));
}

void addCooling(ReportBuilder& report, const FieldRecord& fields,
                const models::CoolingSettings& cooling) {
    report.heading(QStringLiteral("八、供冷校核"));
    QString state =
        QStringLiteral("室内设计温度 %1 ℃，相对湿度 %2 %，供冷供回水温度 %3/%4 ℃，"
                       "防结露安全余量 %5 K")
            .arg(numberText(cooling.roomTemp, -1), numberText(cooling.humidity * 100, -1),
                 numberText(cooling.supplyTemp, -1), numberText(cooling.returnTemp, -1),
                 numberText(cooling.dewMargin, -1));
    if (cooling.loadPerArea)
        state += QStringLiteral("，显热冷负荷 %1 W/m²").arg(numberText(*cooling.loadPerArea, -1));
    report.paragraph(state + QStringLiteral("；管间距、环路长度和地板构造取自主窗口和构造窗口。"));
    const models::CoolingCheck check = models::coolingCheck(fields, cooling);
    report.paragraph(models::coolingSummary(check));
    if (!check.loop.applicable())
        return;
    models::CoolingCheckModel model;
    model.setCheck(check);
    QStringList header;
    const QList<QStringList> rows = modelRows(model, header);
    report.table(header, rows, {}, 8.5);
    if (!check.loop.belowCounted)
        report.caption(QStringLiteral("未计下层传热。"));
}

void addCheck(ReportBuilder& report, const DesignReview& review, const CheckLimits& limits) {
    report.heading(QStringLiteral("四、设计校核"));
    report.paragraph(QStringLiteral("房间类别：%1。校核结论：%2。")
                         .arg(categoryText(limits.category), verdictText(review.overall)));
    models::RuleTableModel rules;
    rules.setChecks(review.checks, limits.category, limits.loadPerArea.has_value());
    QStringList header;
    const QList<QStringList> rows = modelRows(rules, header);
    report.table(header, rows, {}, 8.5);
    report.paragraph(
        QStringLiteral("地面温度限值下的最大散热量：%1。").arg(maxOutputAdvice(review, limits)));
    if (limits.loadPerArea) {
        report.paragraph(QStringLiteral("所需供水温度：%1。").arg(supplyAdvice(review, limits)));
        report.paragraph(
            QStringLiteral("由其它采暖方式补充：%1。").arg(shortfallAdvice(review, limits)));
    }
}

void addCrossCheck(ReportBuilder& report, const DesignReview& review) {
    report.heading(QStringLiteral("五、与 EN 1264-2（A 型）对比"));
    if (!review.en.applicable()) {
        report.paragraph(enApplicabilityText(review.en.applicability));
        return;
    }
    const QStringList flags = enFlagTexts(review.en.flags);
    if (!flags.isEmpty())
        report.paragraph(QStringLiteral("以下 EN 1264-2 数值超出其适用范围，仅供参考：") +
                         flags.join(QString()));
    models::CrossCheckModel model;
    model.setReview(review);
    QStringList header;
    const QList<QStringList> rows = modelRows(model, header);
    report.table(header, rows, {}, 8.5);
    if (review.difference) {
        const MethodDifference& d = *review.difference;
        report.paragraph(QStringLiteral("EN 1264-2 − 本程序方法：散热量 %1 W/m²（%2 %），"
                                        "地面平均温度 %3 ℃。")
                             .arg(models::signedText(d.heatFlux, 1),
                                  models::signedText(d.percent, 1),
                                  models::signedText(d.floorTemp, 1)));
    }
}

// The spacing family's chart, built once and drawn whenever the page with it
// is painted; the curves it shows live as long as it does.
struct SpacingChart {
    CurveSet curves;
    CurveChart view{CurveFamily::Spacing};
};

void addChart(ReportBuilder& report, const DesignReportData& data, const FieldRecord& fields) {
    report.heading(QStringLiteral("六、特性曲线：不同管间距的散热量"));
    auto chart = std::make_shared<SpacingChart>();
    chart->curves = computeCurves(fields);
    chart->view.chart()->setAnimationOptions(QChart::NoAnimation);
    chart->view.setCurves(chart->curves.spacing, chart->curves.grid);
    CurveOverlays overlays;
    if (data.calculation && data.calculation->run.converged()) {
        const Evaluation& run = data.calculation->run;
        overlays.design = CurveOverlays::DesignPoint{
            (run.supplyTemp + run.returnTemp) / 2 - run.roomTemp, run.heatOutput, run.surfaceTemp,
            data.editedSinceCalculation};
    }
    const FloorOutputLimit floor = floorOutputLimit(fields, data.limits.category);
    overlays.floorLimit = floor.floorLimit;
    overlays.limitCurve = floor.basis == FloorOutputLimit::Basis::LimitCurve;
    if (std::isfinite(floor.output))
        overlays.limitOutput = floor.output;
    if (data.limits.loadPerArea && std::isfinite(*data.limits.loadPerArea) &&
        *data.limits.loadPerArea > 0)
        overlays.load = data.limits.loadPerArea;
    chart->view.setOverlays(overlays);
    chart->view.resize(kChartPixels);
    chart->view.chart()->resize(kChartPixels);
    const double heightMm = kChartWidthMm * kChartPixels.height() / kChartPixels.width();
    report.drawing(
        [chart](QPainter& painter, const QRectF& rect) {
            // Through the scene, so that the chart stays lines and text on
            // every device (a widget renders itself onto a printer as a
            // bitmap).
            QChart& c = *chart->view.chart();
            if (QGraphicsLayout* layout = c.layout())
                layout->activate();
            chart->view.scene()->render(&painter, rect, QRectF(QPointF(0, 0), kChartPixels));
        },
        kChartWidthMm, heightMm);
}

void addDiagram(ReportBuilder& report) {
    report.heading(QStringLiteral("七、计算原理图"));
    report.picture(QImage(diagramResource()), kDiagramWidthMm);
    report.caption(principleCaption());
}

} // namespace

DesignReportData designReportData(const models::DesignSession& session, const QDateTime& when) {
    DesignReportData data;
    data.fields = session.currentFields();
    data.calculation = session.lastCalculation();
    data.editedSinceCalculation = session.editedSinceCalculation();
    data.limits = session.limits();
    data.method = session.method();
    data.season = session.season();
    data.cooling = session.cooling();
    data.when = when;
    return data;
}

namespace {

void build(ReportBuilder& report, const DesignReportData& data) {
    report.title(QStringLiteral("低温热水地板辐射采暖设计计算书"));
    report.caption(QStringLiteral("日期：%1　计算方法：%2%3")
                       .arg(data.when.toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                            QString::fromUtf8(method::methodName(data.method)),
                            data.season == models::Season::Cooling ? QStringLiteral("　季节：供冷")
                                                                   : QString()));

    const bool calculated = data.calculation && data.calculation->run.converged();
    // The inputs shown are those the results belong to.
    const FieldRecord& fields = calculated ? data.calculation->fields : data.fields;
    if (calculated && data.editedSinceCalculation)
        report.paragraph(
            QStringLiteral("注意：计算后输入已修改。本报告的输入和结果均为上次计算时的。"));
    addInputs(report, fields);
    if (!calculated) {
        report.heading(QStringLiteral("三、计算结果"));
        report.paragraph(QStringLiteral("尚无计算结果：当前输入还没有收敛的计算。请在主窗口按"
                                        "“计算”，得到结果后再生成报告。"));
    } else {
        addResults(report, data.calculation->run);
        DesignReview review =
            reviewDesign(data.calculation->fields, data.calculation->run, data.limits);
        const auto loop =
            method::reviewByMethod(review, data.calculation->fields, data.limits, data.method);
        addCheck(report, review, data.limits);
        addMethod(report, data.method, loop);
        addCrossCheck(report, review);
    }
    report.pageBreak();
    addChart(report, data, fields);
    addDiagram(report);
    if (data.season == models::Season::Cooling) {
        report.pageBreak();
        addCooling(report, fields, data.cooling);
    }
}

QString reportTitle() {
    return QStringLiteral("Zorva 设计计算书");
}

} // namespace

QByteArray designReportPdf(const DesignReportData& data) {
    ReportBuilder report;
    build(report, data);
    return reportPdf(report, reportTitle());
}

bool printDesignReport(const DesignReportData& data, QPagedPaintDevice& device) {
    ReportBuilder report;
    build(report, data);
    return printReport(report, device);
}

} // namespace zorva::ui
