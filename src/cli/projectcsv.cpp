// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/projectcsv.h"

#include "cli/projectcsvcooling.h"

#include "core/engine/numtext.h"
#include "core/wording/projectwording.h"

#include <cmath>

namespace zorva::cli {

namespace {

QString fixed(double value, int decimals) {
    return std::isfinite(value) ? QString::fromUtf8(patternText(value, decimals).view())
                                : QString();
}

QString fixed(const std::optional<double>& value, int decimals) {
    return value ? fixed(*value, decimals) : QString();
}

QString general(double value) {
    return QString::fromUtf8(generalText(value).view());
}

QStringList loopRow(const project::Project& p, const project::ManifoldResult& m,
                    const project::ProjectLoop& l, const QString& manifold) {
    using project::LoopOrigin;
    const project::LoopFigures& f = l.figures;
    QStringList row{manifold,
                    QString::fromStdString(l.name),
                    l.origin == LoopOrigin::Room ? QString::fromStdString(p.rooms[l.source].name)
                                                 : QString(),
                    general(l.input.roomTemp),
                    general(l.input.spacingMm),
                    fixed(l.input.lengthM, 1),
                    fixed(l.input.loadW, 0)};
    if (!l.computed) {
        QString status = loopProblemText(l.sheet.problem);
        if (m.design && l.standardLoop) {
            const en1264::LoopDesign& d = m.design->loops[*l.standardLoop];
            status = d.problem == en1264::LoopProblem::RoomProblem
                         ? designRoomProblemText(m.design->rooms[d.room].problem)
                         : QStringLiteral("该环路无法计算");
        }
        for (int i = 0; i < 19; ++i)
            row << QString();
        return row << status;
    }
    row << fixed(f.supplyTemp, 1) << fixed(f.drop, 2) << fixed(f.returnTemp, 1) << fixed(f.area, 2)
        << fixed(f.heatOutput, 1) << fixed(f.downwardOutput, 1) << fixed(f.floorTempMean, 1)
        << fixed(f.floorLimit, 1) << fixed(f.limitOutput, 1) << fixed(f.loopOutput, 0)
        << fixed(f.flowKgh, 1) << fixed(f.flowLpm, 2) << fixed(f.velocity, 2)
        << fixed(f.pressureDrop, 1) << fixed(f.supplementaryHeat, 0)
        << (l.indexLoop ? QStringLiteral("是") : QString()) << fixed(l.valveKpa, 1)
        << fixed(l.meterLpm, 2) << loopVerdictText(f) << QStringLiteral("已算出");
    return row;
}

QString loopsText(const project::RoomResult& r) {
    QStringList parts;
    for (const rooms::RoomLoop& l : r.design.loops)
        parts << QStringLiteral("%1 %2 m").arg(QString::fromStdString(l.name), fixed(l.length, 1));
    return parts.join(QStringLiteral("；"));
}

QString overridesText(const rooms::RoomDesign& d) {
    QStringList parts;
    if (d.marks & rooms::SpacingOverridden)
        parts << QStringLiteral("间距");
    if (d.marks & rooms::LoopCountOverridden)
        parts << QStringLiteral("环路数");
    if (d.marks & rooms::LengthOverridden)
        parts << QStringLiteral("长度");
    QString text = parts.join(QStringLiteral("、"));
    if (d.marks & rooms::BreaksLimits)
        text += QStringLiteral("（超出限值）");
    return text;
}

} // namespace

QList<QStringList> projectCsvRows(const project::Project& p, const project::ProjectResult& r) {
    QList<QStringList> rows;
    rows << QStringList{QStringLiteral("计算方法"), QString::fromUtf8(method::methodName(r.method)),
                        QString::fromUtf8(method::methodClause(r.method))};
    rows << QStringList{
        QStringLiteral("热负荷计算方法"), QString::fromUtf8(project::loadMethodName(r.loadMethod)),
        QString::fromStdString(p.settings.heatLoad.climate.place),
        r.outdoorTemp ? QStringLiteral("室外计算温度 %1 ℃").arg(general(*r.outdoorTemp))
                      : QString()};
    rows << QStringList{};
    rows << QStringList{QStringLiteral("分集水器"),
                        QStringLiteral("环路"),
                        QStringLiteral("房间"),
                        QStringLiteral("室内温度(℃)"),
                        QStringLiteral("盘管间距(mm)"),
                        QStringLiteral("单管长度(m)"),
                        QStringLiteral("热负荷(W)"),
                        QStringLiteral("供水温度(℃)"),
                        QStringLiteral("温降(K)"),
                        QStringLiteral("回水温度(℃)"),
                        QStringLiteral("面积(m²)"),
                        QStringLiteral("单位面积散热量(W/m²)"),
                        QStringLiteral("向下热损失(W/m²)"),
                        QStringLiteral("地面平均温度(℃)"),
                        QStringLiteral("地表面温度上限(℃)"),
                        QStringLiteral("界限散热量(W/m²)"),
                        QStringLiteral("环路散热量(W)"),
                        QStringLiteral("流量(kg/h)"),
                        QStringLiteral("流量(l/min)"),
                        QStringLiteral("流速(m/s)"),
                        QStringLiteral("阻力(kPa)"),
                        QStringLiteral("辅助散热(W)"),
                        QStringLiteral("最不利环路"),
                        QStringLiteral("阀门附加压力(kPa)"),
                        QStringLiteral("流量计设定(l/min)"),
                        QStringLiteral("校核结论"),
                        QStringLiteral("状态")};
    for (std::size_t i = 0; i < r.manifolds.size(); ++i) {
        const QString name = QString::fromStdString(p.manifolds[i].name);
        for (const project::ProjectLoop& l : r.manifolds[i].loops)
            rows << loopRow(p, r.manifolds[i], l, name);
    }
    rows << QStringList{};
    rows << QStringList{QStringLiteral("房间"),          QStringLiteral("分集水器"),
                        QStringLiteral("热负荷来源"),    QStringLiteral("热负荷(W)"),
                        QStringLiteral("基本耗热量(W)"), QStringLiteral("附加耗热量(W)"),
                        QStringLiteral("冷风渗透(W)"),   QStringLiteral("敷设面积(m²)"),
                        QStringLiteral("管间距(m)"),     QStringLiteral("环路数"),
                        QStringLiteral("环路与长度"),    QStringLiteral("辅助散热(W)"),
                        QStringLiteral("指定值"),        QStringLiteral("状态")};
    for (std::size_t i = 0; i < r.rooms.size(); ++i) {
        const project::Room& room = p.rooms[i];
        const project::RoomResult& rr = r.rooms[i];
        const bool breakdown = rr.load.computed && rr.load.computed->ok();
        const QString manifold = room.manifold < p.manifolds.size()
                                     ? QString::fromStdString(p.manifolds[room.manifold].name)
                                     : QString();
        rows << QStringList{
            QString::fromStdString(room.name),
            manifold,
            QString::fromUtf8(rr.load.source == rooms::LoadSource::Typed
                                  ? project::loadMethodName(project::LoadMethod::Typed)
                              : rr.load.source == rooms::LoadSource::Gb50736
                                  ? project::loadMethodName(project::LoadMethod::Gb50736)
                                  : project::loadMethodName(project::LoadMethod::En12831)),
            rr.load.ok() ? fixed(rr.load.heatLoad, 0) : QString(),
            breakdown ? fixed(rr.load.computed->transmission, 0) : QString(),
            breakdown ? fixed(rr.load.computed->additions, 0) : QString(),
            breakdown ? fixed(rr.load.computed->infiltration, 0) : QString(),
            general(room.heatedArea),
            rr.designed() ? general(rr.design.spacing) : QString(),
            rr.designed() ? QString::number(rr.design.loops.size()) : QString(),
            rr.designed() ? loopsText(rr) : QString(),
            rr.designed() ? fixed(rr.supplementaryHeat, 0) : QString(),
            overridesText(rr.design),
            rr.designed() ? QString() : roomProblemText(room, rr)};
    }
    rows << QStringList{};
    rows << QStringList{QStringLiteral("分集水器"),          QStringLiteral("环路数"),
                        QStringLiteral("有结果的环路数"),    QStringLiteral("供水温度(℃)"),
                        QStringLiteral("总面积(m²)"),        QStringLiteral("总散热量(W)"),
                        QStringLiteral("水带走的热量(W)"),   QStringLiteral("总流量(kg/h)"),
                        QStringLiteral("总流量(l/min)"),     QStringLiteral("混合回水温度(℃)"),
                        QStringLiteral("辅助散热(W)"),       QStringLiteral("最不利环路"),
                        QStringLiteral("最大环路阻力(kPa)"), QStringLiteral("水泵扬程(kPa)"),
                        QStringLiteral("水泵扬程(m)")};
    for (std::size_t i = 0; i < r.manifolds.size(); ++i) {
        const project::ManifoldTotals& t = r.manifolds[i].totals;
        rows << QStringList{QString::fromStdString(p.manifolds[i].name),
                            QString::number(t.loops),
                            QString::number(t.computed),
                            fixed(t.supplyTemp, 1),
                            fixed(t.area, 2),
                            fixed(t.output, 0),
                            fixed(t.waterOutput, 0),
                            fixed(t.flowKgh, 0),
                            fixed(t.flowLpm, 2),
                            t.flowKgh > 0 ? fixed(t.mixedReturnTemp, 1) : QString(),
                            fixed(t.supplementaryHeat, 0),
                            t.indexLoop
                                ? QString::fromStdString(r.manifolds[i].loops[*t.indexLoop].name)
                                : QString(),
                            fixed(t.maxPressureDrop, 1),
                            fixed(t.pumpHeadKpa, 1),
                            fixed(t.pumpHeadM, 2)};
    }
    appendCoolingRows(p, r, rows);
    return rows;
}

} // namespace zorva::cli
