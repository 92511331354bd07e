// SPDX-License-Identifier: GPL-3.0-or-later
// The project report's first page, the numbers its pages share, and the
// order of its parts.
#include "widgets/report/projectreport.h"

#include "core/method/method.h"
#include "models/project/projecttexts.h"
#include "widgets/report/pagedreport.h"
#include "widgets/report/projectreportparts.h"

namespace zorva::ui {

namespace projectreport {

QString number(double value, int decimals) {
    return models::fixed(value, decimals);
}

QString number(const std::optional<double>& value, int decimals) {
    return value ? number(*value, decimals) : QString();
}

void pairTable(PagedReport& report, const QList<QStringList>& pairs) {
    QList<QStringList> rows;
    for (qsizetype i = 0; i < pairs.size(); i += 2) {
        QStringList row = pairs[i];
        row << (i + 1 < pairs.size() ? pairs[i + 1] : QStringList{QString(), QString()});
        rows << row;
    }
    report.table({QStringLiteral("项目"), QStringLiteral("内容"), QStringLiteral("项目"),
                  QStringLiteral("内容")},
                 rows);
}

namespace {

QString allowanceText(const project::Settings& s) {
    if (s.heatLoad.method != project::LoadMethod::Gb50736)
        return QStringLiteral("—（只用于 GB 50736-2012 的负荷）");
    const heatload::Gb50736Options& gb = s.heatLoad.gb;
    switch (gb.allowance) {
    case heatload::FloorAllowance::LowerIndoorTemp:
        return QStringLiteral("室内设计温度降低 2 ℃（JGJ 142-2012 §3.3）");
    case heatload::FloorAllowance::ShareOfLoad:
        return QStringLiteral("取对流负荷的 %1（JGJ 142-2012 §3.3）")
            .arg(number(gb.allowanceShare, 2));
    case heatload::FloorAllowance::None:
        break;
    }
    return QStringLiteral("不折减（按对流供暖的负荷）");
}

QString placeText(const project::Settings& s) {
    const project::Climate& c = s.heatLoad.climate;
    if (c.outdoorTemp)
        return c.place.empty()
                   ? QStringLiteral("输入的室外温度")
                   : QStringLiteral("%1（输入的室外温度）").arg(QString::fromStdString(c.place));
    if (!c.stationId.empty())
        return QStringLiteral("%1（台站 %2，GB 50736-2012 附录 A）")
            .arg(QString::fromStdString(c.place), QString::fromStdString(c.stationId));
    return QStringLiteral("未选择");
}

QString outdoorText(const project::ProjectResult& r) {
    if (r.loadMethod == project::LoadMethod::Typed)
        return QStringLiteral("—（热负荷为输入值）");
    if (!r.outdoorTemp)
        return QStringLiteral("未给出");
    const QString name = r.loadMethod == project::LoadMethod::Gb50736
                             ? QStringLiteral("供暖室外计算温度 t_wn")
                             : QStringLiteral("室外设计温度 θ_e");
    return QStringLiteral("%1 = %2 ℃").arg(name, number(*r.outdoorTemp, 1));
}

} // namespace

void addSummary(PagedReport& report, const ProjectReportData& data) {
    const project::Project& p = data.project;
    const project::ProjectResult& r = data.result;
    report.heading(QStringLiteral("一、项目概况"));
    pairTable(report,
              {{QStringLiteral("项目"), data.title},
               {QStringLiteral("日期"), data.when.toString(QStringLiteral("yyyy-MM-dd HH:mm"))},
               {QStringLiteral("热负荷计算方法"), models::loadMethodText(r.loadMethod)},
               {QStringLiteral("地点"), placeText(p.settings)},
               {QStringLiteral("室外计算温度"), outdoorText(r)},
               {QStringLiteral("地面供暖的负荷折减"), allowanceText(p.settings)},
               {QStringLiteral("地面散热计算方法"), models::methodLine(r.method)},
               {QStringLiteral("设计季节"),
                QString::fromUtf8(project::seasonName(p.settings.cooling.season))},
               {QStringLiteral("房间数"), QString::number(r.totals.rooms)},
               {QStringLiteral("已设计的房间"), QString::number(r.totals.roomsDesigned)}});
    report.heading(QStringLiteral("合计"));
    for (std::size_t m = 0; m < r.manifolds.size() && m < p.manifolds.size(); ++m)
        report.paragraph(QStringLiteral("%1　%2").arg(QString::fromStdString(p.manifolds[m].name),
                                                      models::manifoldTotalsText(r, m)));
    report.paragraph(models::projectTotalsText(r));
    if (r.loadMethod == project::LoadMethod::Gb50736)
        report.paragraph(QStringLiteral(
            "热负荷按 GB 50736-2012 §5.2：围护结构基本耗热量 α·K·F·Δt、朝向、风力、外门和高度"
            "附加（§5.2.6–5.2.7），冷风渗透按换气次数（§5.2.10）；地面辐射供暖按 JGJ 142-2012 "
            "§3.3 折减（docs/heat-load.md）。"));
    else if (r.loadMethod == project::LoadMethod::En12831)
        report.paragraph(QStringLiteral(
            "热负荷按 EN 12831-1:2017 简化房间法：传热 Φ_T = Σ A·(U + ΔU_TB)·f_x·Δθ，通风 "
            "Φ_V = 0.34·n_min·V·Δθ（docs/heat-load.md）。"));
}

namespace {

// Shares of the work: the rows' texts, then laying out and painting.
constexpr double kRowsShare = 0.2;

} // namespace

} // namespace projectreport

using namespace projectreport;

bool buildProjectReport(PagedReport& report, const ProjectReportData& data,
                        ReportProgress* progress) {
    report.title(QStringLiteral("地面辐射供暖项目计算书"));
    report.caption(QStringLiteral("%1　计算方法：%2　日期：%3")
                       .arg(data.title, QString::fromUtf8(method::methodName(data.result.method)),
                            data.when.toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
    report.footnote(QStringLiteral("%1　热负荷：%2　地面散热：%3")
                        .arg(data.title, models::loadMethodText(data.result.loadMethod),
                             QString::fromUtf8(method::methodName(data.result.method))));
    addSummary(report, data);
    ProgressPart rooms(progress, 0, kRowsShare / 2);
    if (!addRoomSchedule(report, data, rooms))
        return false;
    ProgressPart loops(progress, kRowsShare / 2, kRowsShare / 2);
    if (!addManifoldLoops(report, data, loops))
        return false;
    addMaterials(report, data);
    if (data.result.cooling.computed)
        addCooling(report, data);
    return true;
}

QByteArray projectReportPdf(const ProjectReportData& data, ReportProgress* progress) {
    PagedReport report;
    if (!buildProjectReport(report, data, progress))
        return {};
    ProgressPart pages(progress, kRowsShare, 1 - kRowsShare);
    return pagedReportPdf(report, QStringLiteral("Zorva 项目计算书：%1").arg(data.title),
                          QPageLayout::Landscape, &pages);
}

bool printProjectReport(const ProjectReportData& data, QPagedPaintDevice& device) {
    PagedReport report;
    buildProjectReport(report, data);
    return report.paint(device, QPageLayout::Landscape);
}

} // namespace zorva::ui
