// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/hydraulics/hydraulicstexts.h"

#include "models/project/projecttexts.h"

#include <cmath>

namespace zorva::models {

QString settingNumber(double setting) {
    if (!std::isfinite(setting))
        return QStringLiteral("—");
    QString text = QString::number(setting, 'f', 3);
    while (text.contains(u'.') && (text.endsWith(u'0') || text.endsWith(u'.')))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString valveSettingText(const hydraulics::CommissioningRow& row) {
    if (!row.preset)
        return QStringLiteral("—");
    const QString dial = settingNumber(row.dialSetting);
    if (row.fullyOpen)
        return QStringLiteral("%1（全开）").arg(dial);
    if (row.belowTable)
        return QStringLiteral("%1（无法节流到位）").arg(dial);
    return dial;
}

QString standardText(hydraulics::Standard standard) {
    return standard == hydraulics::Standard::Jgj142 ? QStringLiteral("JGJ 142")
                                                    : QStringLiteral("EN 1264-4");
}

QString stepName(const hydraulics::CommissioningStep& step) {
    using K = hydraulics::StepKind;
    switch (step.kind) {
    case K::PressureTest:
        return QStringLiteral("水压试验");
    case K::ScreedUnderPressure:
        return QStringLiteral("带压浇筑填充层");
    case K::WaitBeforeHeating:
        return QStringLiteral("填充层养护");
    case K::HeatingStart:
        return QStringLiteral("初始加热");
    case K::HeatingRaise:
        return QStringLiteral("逐日升温");
    case K::HeatingDesign:
        return QStringLiteral("设计供水温度运行");
    case K::Record:
        return QStringLiteral("记录");
    }
    return {};
}

namespace {

QString temps(const hydraulics::CommissioningStep& step) {
    if (step.supplyTempLow < step.supplyTemp)
        return QStringLiteral("%1–%2 ℃").arg(fixed(step.supplyTempLow, 0),
                                             fixed(step.supplyTemp, 0));
    return QStringLiteral("%1 ℃").arg(fixed(step.supplyTemp, 1));
}

QString hours(double h) {
    const QString text = QStringLiteral("%1 h").arg(settingNumber(h));
    return h >= 48 && std::fmod(h, 24) == 0
               ? text + QStringLiteral("（%1 天）").arg(settingNumber(h / 24))
               : text;
}

} // namespace

QString stepRequirement(const hydraulics::CommissioningStep& step) {
    using K = hydraulics::StepKind;
    const bool jgj = step.standard == hydraulics::Standard::Jgj142;
    switch (step.kind) {
    case K::PressureTest:
        return jgj ? QStringLiteral("试验压力 %1 MPa（工作压力的 1.5 倍，且不小于 0.6 MPa），"
                                    "稳压 %2，压降不大于 %3 MPa，不渗不漏")
                         .arg(settingNumber(step.pressureMPa), hours(step.holdHours),
                              settingNumber(step.maxDropMPa))
                   : QStringLiteral("试验压力 %1 MPa（工作压力的 2 倍，且不小于 0.6 MPa），"
                                    "记录密封性")
                         .arg(settingNumber(step.pressureMPa));
    case K::ScreedUnderPressure:
        return QStringLiteral("浇筑填充层期间加热管保持试验压力");
    case K::WaitBeforeHeating:
        return step.dependsOnMaker
                   ? QStringLiteral("硫酸钙填充层养护 %1 天后（或按产品说明）方可加热")
                         .arg(settingNumber(step.days))
                   : QStringLiteral("水泥砂浆填充层养护 %1 天后方可加热")
                         .arg(settingNumber(step.days));
    case K::HeatingStart:
        return QStringLiteral("供水温度 %1，连续运行 %2").arg(temps(step), hours(step.holdHours));
    case K::HeatingRaise:
        return QStringLiteral("供水温度升至 %1，运行 %2").arg(temps(step), hours(step.holdHours));
    case K::HeatingDesign:
        return QStringLiteral("设计供水温度 %1，运行 %2").arg(temps(step), hours(step.holdHours));
    case K::Record:
        return jgj ? QStringLiteral("记录试验压力、稳压时间、压降、日期，双方签字")
                   : QStringLiteral("试压报告与加热记录（每日供水温度）");
    }
    return {};
}

QString stepClause(const hydraulics::CommissioningStep& step) {
    const QString clause = QString::fromStdString(step.clause);
    return step.clauseChecked ? clause : clause + QStringLiteral("（条文号未按现行版本核对）");
}

QString materialUnit(materials::MaterialUnit unit) {
    using U = materials::MaterialUnit;
    switch (unit) {
    case U::Metre:
        return QStringLiteral("m");
    case U::SquareMetre:
        return QStringLiteral("m²");
    case U::CubicMetre:
        return QStringLiteral("m³");
    case U::Piece:
        return QStringLiteral("个");
    case U::Roll:
        return QStringLiteral("卷");
    case U::Board:
        return QStringLiteral("块");
    }
    return {};
}

QString materialBasis(const materials::MaterialItem& item, const materials::BillOptions& o) {
    using K = materials::MaterialKind;
    const QString page = QStringLiteral("（docs/materials.md §3）");
    const auto share = [](double s) { return settingNumber(s * 100) + QStringLiteral("%"); };
    switch (item.kind) {
    case K::Pipe:
        return QStringLiteral("各环路管长之和（含连接管）") + page;
    case K::PipeRoll:
        return QStringLiteral("裁管方案：每个环路整根裁出，不接管（docs/materials.md §2）");
    case K::Manifold:
        return QStringLiteral("按路数，%1～%2 路").arg(o.minOutlets).arg(o.maxOutlets) + page;
    case K::InsulationBoard:
        return QStringLiteral("地面面积 ×（1 + 损耗 %1）").arg(share(o.insulationWaste)) + page;
    case K::EdgeStrip:
        return QStringLiteral("房间周长 ×（1 + 损耗 %1）").arg(share(o.edgeStripWaste)) + page;
    case K::PipeClip:
        return QStringLiteral("管长 × 每米 %1 个").arg(settingNumber(o.clipsPerMetre)) + page;
    case K::Screed:
        return QStringLiteral("面积 × 填充层厚度 ×（1 + 损耗 %1）").arg(share(o.screedWaste)) +
               page;
    case K::Actuator:
        return QStringLiteral("每个环路一个") + page;
    case K::Thermostat:
        return QStringLiteral("每个有环路的房间一个") + page;
    }
    return {};
}

} // namespace zorva::models
