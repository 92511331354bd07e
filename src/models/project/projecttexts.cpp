// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/project/projecttexts.h"

#include "core/method/method.h"

#include <cmath>

namespace zorva::models {

QString fixed(double value, int decimals) {
    if (!std::isfinite(value))
        return QStringLiteral("—");
    QString text = QString::number(value, 'f', decimals);
    // No "-0.0" for a value that rounds to zero.
    if (text.startsWith(u'-') && text.toDouble() == 0)
        text.remove(0, 1);
    return text;
}

QString fixed(const std::optional<double>& value, int decimals) {
    return value ? fixed(*value, decimals) : QString();
}

std::optional<double> cellNumber(const QString& text) {
    QString plain;
    for (QChar c : text.trimmed()) {
        const char16_t u = c.unicode();
        if (u >= 0xFF10 && u <= 0xFF19)
            plain += QChar(u'0' + (u - 0xFF10));
        else if (u == 0xFF0E || u == u',' || u == 0xFF0C)
            plain += u'.';
        else if (u == 0xFF0D || u == 0x2212)
            plain += u'-';
        else
            plain += c;
    }
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString loadMethodText(project::LoadMethod method) {
    switch (method) {
    case project::LoadMethod::Typed:
        return QStringLiteral("输入热负荷");
    case project::LoadMethod::Gb50736:
        return QStringLiteral("GB 50736-2012 §5.2");
    case project::LoadMethod::En12831:
        break;
    }
    return QStringLiteral("EN 12831-1:2017");
}

QString elementKindText(heatload::ElementKind kind) {
    switch (kind) {
    case heatload::ElementKind::OuterWall:
        return QStringLiteral("外墙");
    case heatload::ElementKind::Window:
        return QStringLiteral("外窗");
    case heatload::ElementKind::Door:
        return QStringLiteral("外门");
    case heatload::ElementKind::Roof:
        return QStringLiteral("屋顶");
    case heatload::ElementKind::Floor:
        return QStringLiteral("地面、楼板");
    case heatload::ElementKind::Partition:
        break;
    }
    return QStringLiteral("内墙、隔墙");
}

QString orientationText(heatload::Orientation orientation) {
    static const char16_t* const names[] = {u"—",  u"北",   u"东北", u"东",  u"东南",
                                            u"南", u"西南", u"西",   u"西北"};
    return QString::fromUtf16(names[int(orientation)]);
}

QString boundaryText(heatload::Boundary boundary) {
    switch (boundary) {
    case heatload::Boundary::Outdoors:
        return QStringLiteral("室外");
    case heatload::Boundary::UnheatedSpace:
        return QStringLiteral("不供暖空间");
    case heatload::Boundary::Ground:
        return QStringLiteral("土壤");
    case heatload::Boundary::KnownTemperature:
        return QStringLiteral("已知温度的空间");
    case heatload::Boundary::HeatedNeighbour:
        break;
    }
    return QStringLiteral("供暖的相邻房间");
}

QString methodLine(method::Method method) {
    return QStringLiteral("%1：%2").arg(QString::fromUtf8(method::methodName(method)),
                                        QString::fromUtf8(method::methodClause(method)));
}

QString designLine(const project::Project& project, const project::ProjectResult& result,
                   std::size_t manifold) {
    if (manifold >= result.manifolds.size())
        return methodLine(result.method);
    const project::ManifoldResult& m = result.manifolds[manifold];
    if (!m.design || !m.design->designed())
        return methodLine(result.method);
    const en1264::ManifoldDesign& d = *m.design;
    QString room;
    for (std::size_t r = 0; r < result.rooms.size() && r < project.rooms.size(); ++r)
        if (result.rooms[r].manifold == manifold && d.designRoom &&
            result.rooms[r].standardRoom == d.designRoom)
            room = QString::fromStdString(project.rooms[r].name);
    QString line = QStringLiteral("%1：设计供水温度 θ_V = %2 ℃，Δθ_V,des = %3 K")
                       .arg(QString::fromUtf8(*d.clause != 0 ? d.clause : d.method),
                            fixed(d.designSupplyTemp, 1), fixed(d.designSupplyExcess, 2));
    if (!room.isEmpty())
        line += QStringLiteral("，由“%1”决定").arg(room);
    if (m.designAboveSupply)
        line += QStringLiteral("；高于分集水器的供水温度，房间的环路按分集水器的供水温度布置");
    return line;
}

QString manifoldTotalsText(const project::ProjectResult& result, std::size_t manifold) {
    if (manifold >= result.manifolds.size())
        return {};
    const project::ManifoldTotals& t = result.manifolds[manifold].totals;
    return QStringLiteral("合计（%1）：环路 %2 个（已计算 %3），供水 %4 ℃，面积 %5 m²，"
                          "散热量 %6 W，流量 %7 kg/h（%8 L/min），混合回水 %9 ℃，"
                          "辅助散热 %10 W，最大压降 %11 kPa，所需扬程 %12 kPa")
        .arg(QString::fromUtf8(method::methodName(result.method)))
        .arg(t.loops)
        .arg(t.computed)
        .arg(fixed(t.supplyTemp, 1), fixed(t.area, 2), fixed(t.output, 0), fixed(t.flowKgh, 1),
             fixed(t.flowLpm, 2), fixed(t.mixedReturnTemp, 1), fixed(t.supplementaryHeat, 0),
             fixed(t.maxPressureDrop, 2), fixed(t.pumpHeadKpa, 2));
}

QString projectTotalsText(const project::ProjectResult& result) {
    const project::ProjectTotals& t = result.totals;
    return QStringLiteral("项目合计：房间 %1 个（已设计 %2），热负荷 %3 W（%4），环路 %5 个，"
                          "散热量 %6 W（%7），流量 %8 kg/h，辅助散热 %9 W")
        .arg(t.rooms)
        .arg(t.roomsDesigned)
        .arg(fixed(t.heatLoad, 0), loadMethodText(result.loadMethod))
        .arg(t.loops)
        .arg(fixed(t.output, 0), QString::fromUtf8(method::methodName(result.method)),
             fixed(t.flowKgh, 1), fixed(t.supplementaryHeat, 0));
}

} // namespace zorva::models
