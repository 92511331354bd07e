// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/hydraulics/commissioningsheet.h"

#include "core/io/projectmanifolds.h"
#include "models/hydraulics/hydraulicstexts.h"
#include "models/project/projecttexts.h"
#include "widgets/report/pagedreport.h"

namespace zorva::ui {

namespace {

using models::fixed;

const QString kTick = QStringLiteral("□");
const QString kBlank = QStringLiteral("________");

QString chineseNumber(std::size_t n) {
    static const QStringList digits{
        QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"), QStringLiteral("四"),
        QStringLiteral("五"), QStringLiteral("六"), QStringLiteral("七"), QStringLiteral("八"),
        QStringLiteral("九"), QStringLiteral("十")};
    return n >= 1 && n <= std::size_t(digits.size()) ? digits[qsizetype(n - 1)]
                                                     : QString::number(n);
}

void addLoops(PagedReport& report, const CommissioningManifold& m) {
    const QStringList header{QStringLiteral("已调"),
                             QStringLiteral("序号"),
                             QStringLiteral("环路"),
                             QStringLiteral("房间"),
                             QStringLiteral("长度(m)"),
                             QStringLiteral("阀门预设定值"),
                             QStringLiteral("流量计设定(l/min)"),
                             QStringLiteral("预计回水温度(℃)"),
                             QStringLiteral("实测流量(l/min)"),
                             QStringLiteral("实测回水温度(℃)")};
    QList<QStringList> rows;
    for (std::size_t i = 0; i < m.rows.size(); ++i) {
        const hydraulics::CommissioningRow& r = m.rows[i];
        rows << QStringList{kTick,
                            QString::number(i + 1),
                            QString::fromStdString(r.name),
                            QString::fromStdString(r.room),
                            fixed(r.lengthM, 1),
                            models::valveSettingText(r),
                            r.flowMeterLpm > 0 ? fixed(r.flowMeterLpm, 2) : QStringLiteral("—"),
                            fixed(r.returnTemp, 1),
                            QString(),
                            QString()};
    }
    report.table(header, std::move(rows), {1, 4, 5, 6, 7}, 8.5);
    report.paragraph(
        QStringLiteral("阀门：%1。预设定值由各环路与最不利环路（阀门全开）的压差求 kv = V/√Δp，"
                       "按阀门特性插值后取刻度（docs/hydraulics.md §3）；流量计装在供水分水器上，"
                       "设定值 = 环路流量 / 供水温度下的密度（docs/hydraulics.md §6）；"
                       "预计回水温度取环路设计。")
            .arg(m.valve));
    if (!m.valveNote.isEmpty())
        report.paragraph(m.valveNote);
}

void addDuty(PagedReport& report, const CommissioningManifold& m) {
    if (!m.computed || !m.pump.ok()) {
        report.paragraph(QStringLiteral("没有可平衡的环路：无循环泵工况。"));
        return;
    }
    const bool mixed = m.mixedReturn.ok();
    const QList<QStringList> rows{
        {QStringLiteral("设计供水温度(℃)"), fixed(m.supplyTemp, 1),
         QStringLiteral("混合回水温度(℃)"),
         mixed ? fixed(m.mixedReturn.mixedReturnTemp, 1) : QStringLiteral("—")},
        {QStringLiteral("循环泵流量(m³/h)"), fixed(m.pump.flowM3h, 3),
         QStringLiteral("循环泵流量(l/h)"), fixed(m.pump.flowLh, 0)},
        {QStringLiteral("循环泵扬程(kPa)"), fixed(m.pump.headKpa, 1),
         QStringLiteral("循环泵扬程(m)"), fixed(m.pump.headM, 2)},
    };
    report.table({QStringLiteral("项目"), QStringLiteral("数值"), QStringLiteral("项目"),
                  QStringLiteral("数值")},
                 rows, {1, 3});
    report.paragraph(QStringLiteral(
        "循环泵工况：最不利环路（阀门全开）+ 分集水器本体 + 连接管 + 混水阀（在泵回路中时），"
        "不加余量，扬程 H = Δp/(ρ·g)（docs/hydraulics.md §4）；混合回水温度按各环路流量加权"
        "（docs/hydraulics.md §5，GB 50736-2012 §5.4.1）。"));
}

void addSteps(PagedReport& report, const CommissioningManifold& m) {
    if (!m.plan.ok()) {
        report.paragraph(
            QStringLiteral("设计供水温度不在现场温度与 60 ℃ 之间（JGJ 142-2004 §3.1.1），"
                           "无法给出初始加热步骤。"));
        return;
    }
    QList<QStringList> rows;
    bool unchecked = false;
    for (std::size_t i = 0; i < m.plan.steps.size(); ++i) {
        const hydraulics::CommissioningStep& s = m.plan.steps[i];
        unchecked = unchecked || !s.clauseChecked;
        rows << QStringList{kTick,
                            QString::number(i + 1),
                            models::standardText(s.standard),
                            models::stepName(s),
                            models::stepRequirement(s),
                            QString::fromStdString(s.clause),
                            QString(),
                            QString()};
    }
    report.table({QStringLiteral("完成"), QStringLiteral("序号"), QStringLiteral("标准"),
                  QStringLiteral("步骤"), QStringLiteral("要求"), QStringLiteral("条文"),
                  QStringLiteral("实测值"), QStringLiteral("日期/签字")},
                 std::move(rows), {1}, 8.5);
    if (unchecked)
        report.paragraph(
            QStringLiteral("条文号为 JGJ 142-2004 与 EN 1264-4:2009 的编号，未按现行版本核对；"
                           "试验压力、养护天数与升温步骤见 docs/hydraulics.md §6。"));
    if (m.plan.workingPressureHigh)
        report.paragraph(QStringLiteral("工作压力高于 0.8 MPa（JGJ 142-2004）。"));
}

} // namespace

CommissioningManifold commissioningManifold(
    const QString& name, std::span<const hydraulics::CommissioningLoopInput> loops,
    const hydraulics::ManifoldHydraulics& h, double supplyTemp, const CommissioningSite& site) {
    CommissioningManifold m;
    m.name = name;
    m.supplyTemp = supplyTemp;
    m.rows = hydraulics::commissioningRows(loops, h);
    m.computed = !loops.empty();
    m.pump = h.pump;
    m.mixedReturn = h.mixedReturn;
    hydraulics::CommissioningInput in;
    in.workingPressureMPa = site.workingPressureMPa;
    in.surroundingTemp = site.surroundingTemp;
    in.screed = site.screed;
    in.designSupplyTemp = supplyTemp;
    m.plan = hydraulics::commissioningPlan(in);
    return m;
}

CommissioningSheet commissioningSheet(const project::Project& project,
                                      const project::ProjectResult& result, const QString& title,
                                      const CommissioningSite& site) {
    CommissioningSheet sheet;
    sheet.title = title;
    sheet.method = QString::fromUtf8(method::methodName(result.method));
    sheet.site = site;
    for (std::size_t mi = 0; mi < result.manifolds.size() && mi < project.manifolds.size(); ++mi) {
        const project::ManifoldResult& r = result.manifolds[mi];
        const project::ManifoldHydraulicsResult& h = r.hydraulics;
        std::vector<hydraulics::CommissioningLoopInput> loops;
        for (std::size_t loop : h.loopOfBranch) {
            if (loop >= r.loops.size())
                continue;
            const project::ProjectLoop& l = r.loops[loop];
            std::string room = "—";
            if (l.origin == project::LoopOrigin::Room && l.source < project.rooms.size())
                room = project.rooms[l.source].name;
            loops.push_back({l.name, room, l.figures.length, l.figures.returnTemp});
        }
        // The loops' rows are those of the balanced branches only.
        if (loops.size() != h.loopOfBranch.size())
            loops.clear();
        CommissioningManifold m =
            commissioningManifold(io::manifoldLabel(mi, project.manifolds[mi].name), loops,
                                  h.hydraulics, r.totals.supplyTemp, site);
        m.valve = QString::fromStdString(h.valveName);
        if (h.valveProblem == project::ValveProblem::FileNotRead)
            m.valveNote = QStringLiteral("阀门文件无法读取：各环路没有预设定值。");
        else if (h.valveProblem == project::ValveProblem::TableInvalid)
            m.valveNote = QStringLiteral("阀门特性表不合规则：各环路没有预设定值。");
        const std::size_t unbalanced = r.loops.size() - h.loopOfBranch.size();
        if (unbalanced > 0)
            m.valveNote += QStringLiteral("另有 %1 个环路没有计算结果，未列入。").arg(unbalanced);
        sheet.manifolds.push_back(std::move(m));
    }
    return sheet;
}

void buildCommissioningReport(PagedReport& report, const CommissioningSheet& sheet,
                              const QDateTime& when) {
    report.title(QStringLiteral("地面辐射供暖调试单"));
    report.caption(
        QStringLiteral("项目：%1　计算方法：%2　日期：%3")
            .arg(sheet.title, sheet.method, when.toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
    report.footnote(QStringLiteral("调试单　计算方法：%1").arg(sheet.method));
    report.paragraph(QStringLiteral("工作压力按 %1 MPa，初始加热时现场温度按 %2 ℃，填充层为%3。")
                         .arg(models::settingNumber(sheet.site.workingPressureMPa),
                              models::settingNumber(sheet.site.surroundingTemp),
                              sheet.site.screed == hydraulics::ScreedKind::Cement
                                  ? QStringLiteral("水泥砂浆")
                                  : QStringLiteral("硫酸钙")));
    if (sheet.manifolds.empty())
        report.paragraph(QStringLiteral("项目中没有分集水器。"));
    for (std::size_t i = 0; i < sheet.manifolds.size(); ++i) {
        const CommissioningManifold& m = sheet.manifolds[i];
        report.heading(QStringLiteral("%1、%2").arg(chineseNumber(i + 1), m.name));
        addLoops(report, m);
        addDuty(report, m);
        addSteps(report, m);
        report.paragraph(QStringLiteral("安装单位：%1　调试人（签字）：%1　日期：%1").arg(kBlank));
    }
}

QByteArray commissioningSheetPdf(const CommissioningSheet& sheet, const QDateTime& when,
                                 ReportProgress* progress) {
    PagedReport report;
    buildCommissioningReport(report, sheet, when);
    return pagedReportPdf(report, QStringLiteral("Zorva 调试单"), QPageLayout::Landscape, progress);
}

bool printCommissioningSheet(const CommissioningSheet& sheet, QPagedPaintDevice& device,
                             const QDateTime& when) {
    PagedReport report;
    buildCommissioningReport(report, sheet, when);
    return report.paint(device, QPageLayout::Landscape);
}

} // namespace zorva::ui
