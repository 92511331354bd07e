// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/projectcsvcooling.h"

#include "core/engine/numtext.h"
#include "core/wording/projectwording.h"

#include <cmath>

namespace zorva::cli {

namespace {

using namespace project;

QString fixed(double value, int decimals) {
    return std::isfinite(value) ? QString::fromUtf8(patternText(value, decimals).view())
                                : QString();
}

QString fixed(const std::optional<double>& value, int decimals) {
    return value ? fixed(*value, decimals) : QString();
}

QString verdict(bool passed) {
    return passed ? QStringLiteral("合格") : QStringLiteral("不合格");
}

} // namespace

void appendCoolingRows(const Project& p, const ProjectResult& r, QList<QStringList>& rows) {
    const CoolingResult& c = r.cooling;
    if (!c.computed)
        return;
    rows << QStringList{};
    rows << QStringList{QStringLiteral("分集水器"),
                        QStringLiteral("环路"),
                        QStringLiteral("供暖单位面积散热量(W/m²)"),
                        QStringLiteral("供暖流量(kg/h)"),
                        QStringLiteral("供冷供水温度(℃)"),
                        QStringLiteral("供冷回水温度(℃)"),
                        QStringLiteral("单位面积供冷量(W/m²)"),
                        QStringLiteral("环路供冷量(W)"),
                        QStringLiteral("地表面平均温度(℃)"),
                        QStringLiteral("露点温度(℃)"),
                        QStringLiteral("允许最低供水温度(℃)"),
                        QStringLiteral("供冷流量(kg/h)"),
                        QStringLiteral("供冷校核")};
    for (std::size_t m = 0; m < c.manifolds.size() && m < r.manifolds.size(); ++m) {
        const CoolingManifoldResult& cm = c.manifolds[m];
        for (std::size_t i = 0; i < cm.loops.size() && i < r.manifolds[m].loops.size(); ++i) {
            const ProjectLoop& h = r.manifolds[m].loops[i];
            const cooling::LoopResult& l = cm.loops[i];
            const bool ok = l.applicable();
            rows << QStringList{QString::fromStdString(p.manifolds[m].name),
                                QString::fromStdString(h.name),
                                h.computed ? fixed(h.figures.heatOutput, 1) : QString(),
                                h.computed ? fixed(h.figures.flowKgh, 0) : QString(),
                                fixed(cm.water.supplyTemp, 1),
                                fixed(cm.water.returnTemp, 1),
                                ok ? fixed(l.coolingOutput, 1) : QString(),
                                ok ? fixed(l.loopOutput, 0) : QString(),
                                ok ? fixed(l.floorTempMean, 1) : QString(),
                                ok ? fixed(l.dewPoint, 1) : QString(),
                                ok ? fixed(l.minSupplyTemp, 1) : QString(),
                                ok ? fixed(l.flow, 0) : QString(),
                                ok ? verdict(l.admissibleDesign) : QStringLiteral("无结果")};
        }
    }
    rows << QStringList{};
    rows << QStringList{QStringLiteral("房间"),
                        QStringLiteral("供冷室内温度(℃)"),
                        QStringLiteral("相对湿度(%)"),
                        QStringLiteral("露点温度(℃)"),
                        QStringLiteral("允许最低供水温度(℃)"),
                        QStringLiteral("显热冷负荷(W)"),
                        QStringLiteral("供冷量(W)"),
                        QStringLiteral("允许供冷量(W)"),
                        QStringLiteral("不足(W)"),
                        QStringLiteral("原因"),
                        QStringLiteral("负荷所需供水温度(℃)")};
    for (std::size_t i = 0; i < c.rooms.size() && i < p.rooms.size(); ++i) {
        const CoolingRoomResult& room = c.rooms[i];
        const bool ok = room.computed();
        const bool load = ok && room.loadGiven;
        rows << QStringList{QString::fromStdString(p.rooms[i].name),
                            fixed(room.input.roomTemp, 1),
                            fixed(room.input.humidity * 100, 0),
                            fixed(room.dewPoint, 1),
                            fixed(room.minSupplyTemp, 1),
                            fixed(room.input.sensibleLoad, 0),
                            ok ? fixed(room.room.roomOutput, 0) : QString(),
                            ok ? fixed(room.room.admissibleOutput, 0) : QString(),
                            load ? fixed(room.room.shortfall, 0) : QString(),
                            load ? QString::fromUtf8(coolingShortfallText(room.room.reason))
                                 : QString(),
                            load ? fixed(room.room.proposedSupplyTemp, 1) : QString()};
    }
}

} // namespace zorva::cli
