// SPDX-License-Identifier: GPL-3.0-or-later
// The project report's loops: per manifold its EN 1264-3 design line, each
// loop's figures by the project's method with its valve setting, kv, the
// extra pressure drop its valve must add and the flow-meter target, then
// the manifold's pump duty, mixed return temperature and totals.
#include "core/method/method.h"
#include "core/wording/projectwording.h"
#include "models/project/projecttexts.h"
#include "widgets/report/pagedreport.h"
#include "widgets/report/projectreportparts.h"

namespace zorva::ui::projectreport {

namespace {

constexpr int kRowsPerStep = 64;

QString origin(const project::Project& p, const project::ProjectLoop& loop) {
    if (loop.origin == project::LoopOrigin::Room && loop.source < p.rooms.size())
        return QString::fromStdString(p.rooms[loop.source].name);
    return QStringLiteral("手动输入");
}

QString warnings(unsigned flags) {
    QStringList out;
    if (flags & project::LoopNoise)
        out << QStringLiteral("阀门压降超过 20 kPa，可能有噪声");
    if (flags & project::LoopBelowTable)
        out << QStringLiteral("阀门无法节流到所需压降");
    if (flags & project::LoopPoorAuthority)
        out << QStringLiteral("阀权度低于 0.25");
    if (flags & project::LoopMeterRange)
        out << QStringLiteral("流量计目标超出量程");
    return out.join(QStringLiteral("；"));
}

QStringList loopRow(const project::Project& p, const project::ManifoldResult& m, std::size_t i) {
    const project::ProjectLoop& loop = m.loops[i];
    QStringList row{QString::fromStdString(loop.name), origin(p, loop),
                    number(loop.input.spacingMm, 0), number(loop.input.lengthM, 1)};
    if (!loop.computed) {
        for (int c = 0; c < 12; ++c)
            row << QString();
        row << loopProblemText(loop.sheet.problem);
        return row;
    }
    const project::LoopFigures& f = loop.figures;
    row << number(f.area, 2) << number(f.heatOutput, 1) << number(f.floorTempMean, 1)
        << number(f.drop, 2) << number(f.returnTemp, 2) << number(f.flowKgh, 1)
        << number(f.pressureDrop, 2);
    const hydraulics::LoopPresetting* preset = m.hydraulics.presetting(i);
    if (preset && preset->ok())
        row << number(preset->extraPressureDropKpa, 2) << number(preset->kv, 3)
            << number(preset->dialSetting, 2);
    else
        row << number(loop.valveKpa, 2) << QString() << QString();
    row << number(m.hydraulics.flowMeterLpm(i) ? m.hydraulics.flowMeterLpm(i) : loop.meterLpm, 2);
    QString verdict = loopVerdictText(f);
    if (loop.indexLoop)
        verdict += QStringLiteral("，最不利环路");
    if (const QString w = warnings(m.hydraulics.flags(i)); !w.isEmpty())
        verdict += QStringLiteral("；") + w;
    row << verdict;
    return row;
}

QString valveText(const project::ManifoldHydraulicsResult& h) {
    switch (h.valveProblem) {
    case project::ValveProblem::FileNotRead:
        return QStringLiteral("阀门特性文件无法读取，未计算阀门设定");
    case project::ValveProblem::TableInvalid:
        return QStringLiteral("阀门特性表有误，未计算阀门设定");
    case project::ValveProblem::None:
        break;
    }
    const QString name =
        h.valveName.empty() ? QStringLiteral("阀门") : QString::fromStdString(h.valveName);
    return h.valveGeneric && !name.contains(QStringLiteral("通用"))
               ? QStringLiteral("%1（通用特性，非某一产品的数据）").arg(name)
               : name;
}

void addHydraulics(PagedReport& report, const project::ManifoldResult& m) {
    const project::ManifoldHydraulicsResult& h = m.hydraulics;
    if (!h.computed) {
        report.paragraph(QStringLiteral("没有可平衡的环路，未计算阀门设定和水泵工作点。"));
        return;
    }
    const hydraulics::ManifoldHydraulics& x = h.hydraulics;
    QList<QStringList> pairs{{QStringLiteral("阀门特性"), valveText(h)}};
    if (x.pump.ok())
        pairs << QStringList{QStringLiteral("水泵流量"),
                             QStringLiteral("%1 m³/h（%2 l/h）")
                                 .arg(number(x.pump.flowM3h, 3), number(x.pump.flowLh, 0))}
              << QStringList{QStringLiteral("水泵扬程"),
                             QStringLiteral("%1 kPa（%2 m）")
                                 .arg(number(x.pump.headKpa, 2), number(x.pump.headM, 2))}
              << QStringList{QStringLiteral("分集水器本体压降"),
                             QStringLiteral("%1 kPa").arg(number(x.pump.bodyDropKpa, 2))}
              << QStringList{
                     QStringLiteral("最不利支路压降"),
                     QStringLiteral("%1 kPa").arg(number(x.presetting.branchPressureKpa, 2))};
    else
        pairs << QStringList{QStringLiteral("水泵工作点"), QStringLiteral("无法计算")};
    if (x.mixedReturn.ok())
        pairs << QStringList{QStringLiteral("混合回水温度"),
                             QStringLiteral("%1 ℃（供回水温差 %2 K）")
                                 .arg(number(x.mixedReturn.mixedReturnTemp, 2),
                                      number(x.mixedReturn.systemDifference, 2))};
    if (x.mixing && x.mixing->ok())
        pairs << QStringList{QStringLiteral("混水站"),
                             QStringLiteral("一次侧 %1 kg/h，旁通 %2 kg/h，kvs %3")
                                 .arg(number(x.mixing->primaryFlowKgh, 1),
                                      number(x.mixing->bypassFlowKgh, 1),
                                      number(x.mixing->kvs, 2))};
    if (x.operating && x.operating->fault == hydraulics::PumpCurveFault::None)
        pairs << QStringList{QStringLiteral("水泵曲线"), x.operating->suffices
                                                             ? QStringLiteral("满足工作点")
                                                             : QStringLiteral("不满足工作点")};
    pairTable(report, pairs);
    report.paragraph(QStringLiteral(
        "依据：阀门附加压降、kv = V̇/√Δp 和设定值按各支路与最不利环路平衡（docs/hydraulics.md §3）；"
        "流量计目标 = 质量流量/供水密度；水泵工作点 = 最不利支路 + 分集水器本体 + 连接管"
        "（docs/hydraulics.md §4）；混合回水温度按流量加权，供回水温差宜为 5–10 K"
        "（GB 50736-2012 §5.4.1，docs/hydraulics.md §5）。"));
}

} // namespace

bool addManifoldLoops(PagedReport& report, const ProjectReportData& data,
                      ReportProgress& progress) {
    const project::Project& p = data.project;
    const project::ProjectResult& r = data.result;
    const QStringList header{QStringLiteral("环路"),          QStringLiteral("房间"),
                             QStringLiteral("间距(mm)"),      QStringLiteral("长度(m)"),
                             QStringLiteral("面积(m²)"),      QStringLiteral("q(W/m²)"),
                             QStringLiteral("θ_F,m(℃)"),      QStringLiteral("σ(K)"),
                             QStringLiteral("回水(℃)"),       QStringLiteral("流量(kg/h)"),
                             QStringLiteral("阻力(kPa)"),     QStringLiteral("阀门附加压降(kPa)"),
                             QStringLiteral("kv(m³/h)"),      QStringLiteral("阀门设定"),
                             QStringLiteral("流量计(l/min)"), QStringLiteral("校核")};
    std::size_t total = 0;
    for (const project::ManifoldResult& m : r.manifolds)
        total += m.loops.size();
    std::size_t done = 0;
    const std::size_t count = std::min(p.manifolds.size(), r.manifolds.size());
    for (std::size_t mi = 0; mi < count; ++mi) {
        const project::ManifoldResult& m = r.manifolds[mi];
        report.heading(
            QStringLiteral("三、%1 的环路").arg(QString::fromStdString(p.manifolds[mi].name)));
        report.paragraph(models::designLine(p, r, mi));
        QList<QStringList> rows;
        for (std::size_t i = 0; i < m.loops.size(); ++i) {
            rows << loopRow(p, m, i);
            if (++done % kRowsPerStep == 0 && !progress.advance(double(done) / double(total)))
                return false;
        }
        if (rows.isEmpty())
            report.paragraph(QStringLiteral("没有环路。"));
        else
            report.table(header, std::move(rows), {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14},
                         6.5);
        report.paragraph(QStringLiteral("环路的散热量、地表面温度、温差、流量和阻力按%1。")
                             .arg(models::methodLine(r.method)));
        addHydraulics(report, m);
        report.paragraph(models::manifoldTotalsText(r, mi));
    }
    return progress.advance(1);
}

} // namespace zorva::ui::projectreport
