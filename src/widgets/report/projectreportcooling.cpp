// SPDX-License-Identifier: GPL-3.0-or-later
// The project report's cooling page: per room the cooling capacity against
// the sensible load, the dew point, the lowest allowed supply temperature,
// the floor surface temperature and the verdicts with their clauses; per
// loop the cooling figures beside the heating ones.
#include "core/cooling/limits.h"
#include "core/cooling/loop.h"
#include "models/cooling/seasonstablemodel.h"
#include "widgets/report/pagedreport.h"
#include "widgets/report/projectreportparts.h"

#include <algorithm>

namespace zorva::ui::projectreport {

namespace {

QString utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString checkText(cooling::CheckId id) {
    switch (id) {
    case cooling::CheckId::SupplyDew:
        return QStringLiteral("供水温度低于露点加余量");
    case cooling::CheckId::FloorDew:
        return QStringLiteral("地表面平均温度低于露点加余量");
    case cooling::CheckId::InletDew:
        return QStringLiteral("供水口处地表面温度低于露点加余量");
    case cooling::CheckId::FloorComfort:
        return QStringLiteral("地表面温度低于舒适下限");
    case cooling::CheckId::Rise:
        return QStringLiteral("供回水温差不在 2–5 K");
    case cooling::CheckId::Load:
        break;
    }
    return QStringLiteral("供冷量不足");
}

QString shortfallText(cooling::Shortfall reason) {
    switch (reason) {
    case cooling::Shortfall::SupplyTooWarm:
        return QStringLiteral("供水温度偏高");
    case cooling::Shortfall::DewPoint:
        return QStringLiteral("露点限制");
    case cooling::Shortfall::FloorTemp:
        return QStringLiteral("地面温度下限");
    case cooling::Shortfall::LowestWater:
        return QStringLiteral("最低供水温度限制");
    case cooling::Shortfall::None:
        break;
    }
    return {};
}

// The room's loops as the cooling results hold them.
std::vector<const cooling::LoopResult*> roomLoops(const project::ProjectResult& r,
                                                  std::size_t room) {
    std::vector<const cooling::LoopResult*> out;
    const project::RoomResult& h = r.rooms[room];
    if (h.manifold >= r.cooling.manifolds.size())
        return out;
    const auto& loops = r.cooling.manifolds[h.manifold].loops;
    for (std::size_t i : h.loops)
        if (i < loops.size() && loops[i].applicable())
            out.push_back(&loops[i]);
    return out;
}

QStringList roomRow(const project::Project& p, const project::ProjectResult& r, std::size_t i) {
    const project::Room& room = p.rooms[i];
    const project::CoolingRoomResult& c = r.cooling.rooms[i];
    QStringList row{QString::fromStdString(room.name), number(c.input.roomTemp, 1),
                    number(c.input.humidity * 100, 0), number(c.input.sensibleLoad, 0)};
    const std::vector<const cooling::LoopResult*> loops = roomLoops(r, i);
    if (!c.computed() || loops.empty()) {
        row << QString() << QString() << QString() << number(c.dewPoint, 1)
            << number(c.minSupplyTemp, 1) << QString() << QString()
            << QStringLiteral("无环路或无供冷结果");
        return row;
    }
    const cooling::RoomResult& room_ = c.room;
    const auto coldest = *std::min_element(loops.begin(), loops.end(), [](auto a, auto b) {
        return a->floorTempMean < b->floorTempMean;
    });
    row << number(room_.roomOutput, 0) << number(room_.admissibleOutput, 0)
        << (c.loadGiven ? number(room_.shortfall, 0) : QString()) << number(c.dewPoint, 1)
        << number(c.minSupplyTemp, 1) << number(coldest->floorTempMean, 1)
        << number(coldest->floorTempLowest, 1);
    QStringList verdicts;
    std::vector<cooling::CheckId> failed;
    for (const cooling::LoopResult* loop : loops)
        for (const cooling::Check& check : loop->checks)
            if (check.checked && !check.passed &&
                cooling::checkKind(check.id) == cooling::CheckKind::Required &&
                std::find(failed.begin(), failed.end(), check.id) == failed.end())
                failed.push_back(check.id);
    for (cooling::CheckId id : failed)
        verdicts << QStringLiteral("不合格：%1 %2（%3）")
                        .arg(utf8(cooling::checkCode(id)), checkText(id),
                             utf8(cooling::checkClause(id, room.cooling.occupancy)));
    if (c.loadGiven && !room_.loadMet)
        verdicts << QStringLiteral("L1 供冷量不足 %1 W（%2；%3）")
                        .arg(number(room_.shortfall, 0), shortfallText(room_.reason),
                             utf8(cooling::clause::kSensibleLoad));
    if (failed.empty())
        verdicts.prepend(QStringLiteral("合格（D1–D3、F1）"));
    row << verdicts.join(QStringLiteral("；"));
    return row;
}

} // namespace

void addCooling(PagedReport& report, const ProjectReportData& data) {
    const project::Project& p = data.project;
    const project::ProjectResult& r = data.result;
    report.heading(QStringLiteral("五、供冷"));
    QList<QStringList> rows;
    const std::size_t count = std::min({p.rooms.size(), r.rooms.size(), r.cooling.rooms.size()});
    for (std::size_t i = 0; i < count; ++i)
        rows << roomRow(p, r, i);
    report.table({QStringLiteral("房间"), QStringLiteral("室温(℃)"), QStringLiteral("相对湿度(%)"),
                  QStringLiteral("显热冷负荷(W)"), QStringLiteral("供冷量(W)"),
                  QStringLiteral("允许供冷量(W)"), QStringLiteral("不足(W)"),
                  QStringLiteral("露点(℃)"), QStringLiteral("最低供水温度(℃)"),
                  QStringLiteral("地表面温度(℃)"), QStringLiteral("地表面温度下限(℃)"),
                  QStringLiteral("校核")},
                 rows, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 7);
    report.paragraph(
        QStringLiteral("依据：供冷量按 %1；露点按 %2；最低供水温度 = 露点 + 安全余量 %3 K（%4）；"
                       "地表面温度为房间各环路中最低的地表面平均温度 θ_F,m = θ_i − q_C/7，"
                       "下限取舒适下限（%5；以坐姿为主 %6）与露点加余量中的较高者；"
                       "显热冷负荷（%7）。")
            .arg(utf8(cooling::clause::kMethod), utf8(cooling::clause::kDewPoint),
                 number(r.cooling.dewMargin, 1), utf8(cooling::clause::kDewMargin),
                 utf8(cooling::clause::kFloorStanding), utf8(cooling::clause::kFloorSeated),
                 utf8(cooling::clause::kSensibleLoad)));

    const bool both = r.cooling.season == project::Season::Both;
    report.heading(both ? QStringLiteral("各环路的供暖和供冷") : QStringLiteral("各环路的供冷"));
    models::SeasonsTableModel model(models::SeasonsTableModel::Kind::Loops);
    model.setProject(p, r);
    QStringList header;
    // Each source once, after the columns it gives.
    QStringList sources;
    QList<QStringList> columns;
    for (int c = 0; c < model.columnCount(); ++c) {
        header << model.headerData(c, Qt::Horizontal).toString();
        QString tip = model.headerData(c, Qt::Horizontal, Qt::ToolTipRole).toString();
        tip.remove(QStringLiteral("依据："));
        if (tip.isEmpty())
            continue;
        const qsizetype at = sources.indexOf(tip);
        if (at < 0) {
            sources << tip;
            columns << QStringList{header.last()};
        } else {
            columns[at] << header.last();
        }
    }
    QStringList basis;
    for (qsizetype i = 0; i < sources.size(); ++i)
        basis << QStringLiteral("%1：%2").arg(columns[i].join(u'、'), sources[i]);
    QList<QStringList> loops;
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (int c = 0; c < model.columnCount(); ++c)
            cells << model.data(model.index(row, c)).toString();
        loops << cells;
    }
    report.table(header, std::move(loops), {2, 3, 4, 5, 6, 7, 8, 9}, 7);
    report.paragraph(
        QStringLiteral("依据：") + basis.join(QStringLiteral("；")) +
        (both ? QStringLiteral("。水泵和阀门按两季中较大的流量选择。") : QStringLiteral("。")));
}

} // namespace zorva::ui::projectreport
