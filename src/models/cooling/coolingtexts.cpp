// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/cooling/coolingtexts.h"

#include "core/cooling/limits.h"
#include "core/wording/projectwording.h"
#include "models/check/coolingcheckmodel.h"
#include "models/project/projecttexts.h"

#include <QStringList>

#include <string_view>

namespace zorva::models {

namespace {

QString utf8(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

QString checkName(cooling::CheckId id) {
    switch (id) {
    case cooling::CheckId::SupplyDew:
        return QStringLiteral("供水温度低于露点温度加安全余量");
    case cooling::CheckId::FloorDew:
        return QStringLiteral("地表面平均温度低于露点温度加安全余量");
    case cooling::CheckId::InletDew:
        return QStringLiteral("进水端地表面温度低于露点温度加安全余量");
    case cooling::CheckId::FloorComfort:
        return QStringLiteral("地表面平均温度低于舒适下限");
    case cooling::CheckId::Rise:
        return QStringLiteral("供回水温差不在 2～5 K 范围内");
    case cooling::CheckId::Load:
        break;
    }
    return QStringLiteral("供冷量不足");
}

bool required(const cooling::Check& c) {
    return c.checked && cooling::checkKind(c.id) == cooling::CheckKind::Required;
}

} // namespace

QString shortfallReasonText(cooling::Shortfall reason) {
    return QString::fromUtf8(coolingShortfallText(reason));
}

QString coolingRoomProblemText(const project::CoolingRoomResult& room) {
    switch (room.problem) {
    case project::CoolingRoomProblem::None:
        return {};
    case project::CoolingRoomProblem::NotLaid:
        return QStringLiteral("房间没有环路（见房间表），无供冷结果");
    case project::CoolingRoomProblem::NoNumbers:
        break;
    }
    switch (room.room.applicability) {
    case cooling::RoomApplicability::LoopNotApplicable:
        return QStringLiteral("环路不能供冷：须供水温度 ≤ 回水温度 < 室内温度，供水温度高于 4 ℃，"
                              "相对湿度大于 0");
    case cooling::RoomApplicability::Load:
        return QStringLiteral("显热冷负荷无效");
    default:
        break;
    }
    return QStringLiteral("环路无供冷结果");
}

QString failedChecksText(const cooling::LoopResult& loop) {
    QStringList failed;
    for (const cooling::Check& c : loop.checks)
        if (required(c) && !c.passed)
            failed << utf8(cooling::checkCode(c.id)) + QStringLiteral(" ") + checkName(c.id);
    return failed.join(QStringLiteral("、"));
}

QString checksBasisText(const cooling::LoopResult& loop) {
    QStringList failing, all;
    for (const cooling::Check& c : loop.checks) {
        if (!required(c))
            continue;
        const QString clause = utf8(cooling::checkClause(c.id, loop.room.occupancy));
        if (!all.contains(clause))
            all << clause;
        if (!c.passed && !failing.contains(clause))
            failing << clause;
    }
    return (failing.isEmpty() ? all : failing).join(QStringLiteral("；"));
}

QString loadShortfallText(const cooling::RoomResult& room) {
    QString text =
        QStringLiteral("供冷量不足：显热冷负荷 %1 W，允许条件下最多供冷 %2 W，缺 %3 W（%4）。")
            .arg(fixed(room.sensibleLoad, 0),
                 numberBeside(room.admissibleOutput, room.sensibleLoad, 0),
                 numberBeside(room.shortfall, 0, 0), shortfallReasonText(room.reason));
    if (room.reason == cooling::Shortfall::SupplyTooWarm && room.proposedSupplyTemp)
        return text + QStringLiteral("供水温度降至 %1 ℃（不低于最低供水温度 %2 ℃）即可满足。")
                          .arg(numberBeside(*room.proposedSupplyTemp, room.minSupplyTemp, 1),
                               numberBeside(room.minSupplyTemp, *room.proposedSupplyTemp, 1));
    return text + QStringLiteral("需降低室内湿度、加密管间距、减小面层热阻或辅助供冷。");
}

QString neededSupplyText(const cooling::RoomResult& room) {
    if (room.loadMet && room.admissibleDesign)
        return QStringLiteral("设计供水温度已能满足显热冷负荷");
    if (!room.loadMet && room.reason != cooling::Shortfall::SupplyTooWarm)
        return QStringLiteral("满足负荷所需的供水温度 %1 ℃ 低于最低供水温度 %2 ℃，不能采用")
            .arg(fixed(room.supplyForLoad, 1), fixed(room.minSupplyTemp, 2));
    return QStringLiteral("在各项限值内满足负荷的供水温度，不低于露点温度加安全余量 %1 ℃")
        .arg(fixed(room.minSupplyTemp, 2));
}

QString coolingTotalsText(const project::CoolingResult& c) {
    const project::CoolingTotals& t = c.totals;
    QString text = QStringLiteral("供冷（%1）：防结露安全余量 %2 K（%3）。供冷量 %4 W，显热冷负荷 "
                                  "%5 W，允许供冷量 %6 W")
                       .arg(utf8(cooling::clause::kMethod), fixed(c.dewMargin, 1),
                            utf8(cooling::clause::kDewMargin), fixed(t.output, 0),
                            fixed(t.sensibleLoad, 0), fixed(t.admissibleOutput, 0));
    if (t.roomsNotMet > 0)
        return text + QStringLiteral("；%1 个房间供冷量不足，共缺 %2 W。")
                          .arg(t.roomsNotMet)
                          .arg(numberBeside(t.shortfall, 0, 0));
    return text + QStringLiteral("；有负荷的房间均能满足。");
}

} // namespace zorva::models
