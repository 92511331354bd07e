// SPDX-License-Identifier: GPL-3.0-or-later
// The project report's room schedule: per room its heat load with the
// breakdown by kind in W and W/m², the heated area, the spacing, the loops
// with their lengths, the supplementary heat and the values the user
// overrode.
#include "core/rooms/roomdesign.h"
#include "core/wording/projectwording.h"
#include "models/project/projecttexts.h"
#include "widgets/report/pagedreport.h"
#include "widgets/report/projectreportparts.h"

#include <algorithm>

namespace zorva::ui::projectreport {

namespace {

constexpr int kRowsPerStep = 64;

QString overridesText(const project::Room& room, const project::RoomResult& result) {
    QStringList marks;
    if (room.overrides.spacing)
        marks << QStringLiteral("间距");
    if (room.overrides.loopCount)
        marks << QStringLiteral("环路数");
    for (const auto& length : room.overrides.loopLengths)
        if (length) {
            marks << QStringLiteral("长度");
            break;
        }
    if ((result.design.marks & rooms::BreaksLimits) != 0)
        marks << QStringLiteral("超出限值");
    return marks.isEmpty() ? QString() : QStringLiteral("用户修改：") + marks.join(u'、');
}

QString sourceText(const project::RoomResult& r) {
    if (!r.load.ok())
        return loadProblemText(r.load.problem);
    if (!r.load.computed)
        return QStringLiteral("输入值");
    return r.load.computed->method == heatload::Method::Gb50736 ? QStringLiteral("GB 50736")
                                                                : QStringLiteral("EN 12831");
}

QString loopsText(const project::RoomResult& r) {
    QStringList loops;
    for (const rooms::RoomLoop& loop : r.design.loops)
        loops << QStringLiteral("%1 %2 m").arg(QString::fromStdString(loop.name),
                                               number(loop.length, 1));
    return loops.join(QStringLiteral("；"));
}

QString lengthSource(const project::RoomResult& r) {
    if (!r.designed())
        return QString();
    return r.plan.routed() && r.plan.lengthsUsed ? QStringLiteral("平面布管")
                                                 : QStringLiteral("估算");
}

} // namespace

bool addRoomSchedule(PagedReport& report, const ProjectReportData& data, ReportProgress& progress) {
    const project::Project& p = data.project;
    const project::ProjectResult& result = data.result;
    report.heading(QStringLiteral("二、房间表"));
    const QStringList header{QStringLiteral("房间"),         QStringLiteral("负荷来源"),
                             QStringLiteral("室内温度(℃)"),  QStringLiteral("热负荷(W)"),
                             QStringLiteral("基本传热(W)"),  QStringLiteral("渗透/通风(W)"),
                             QStringLiteral("附加(W)"),      QStringLiteral("热负荷(W/m²)"),
                             QStringLiteral("地面面积(m²)"), QStringLiteral("供暖面积(m²)"),
                             QStringLiteral("间距(mm)"),     QStringLiteral("环路及长度"),
                             QStringLiteral("长度"),         QStringLiteral("辅助散热(W)"),
                             QStringLiteral("说明")};
    QList<QStringList> rows;
    const std::size_t count = std::min(p.rooms.size(), result.rooms.size());
    for (std::size_t i = 0; i < count; ++i) {
        const project::Room& room = p.rooms[i];
        const project::RoomResult& r = result.rooms[i];
        QStringList row{QString::fromStdString(room.name), sourceText(r),
                        number(room.indoorTemp, 1)};
        if (r.load.ok()) {
            row << number(r.load.heatLoad, 1);
            if (r.load.computed)
                row << number(r.load.computed->transmission, 1)
                    << number(r.load.computed->infiltration, 1)
                    << number(r.load.computed->additions, 1);
            else
                row << QStringLiteral("—") << QStringLiteral("—") << QStringLiteral("—");
            row << (room.floorArea > 0 ? number(r.load.heatLoad / room.floorArea, 2)
                                       : QStringLiteral("—"));
        } else {
            for (int c = 0; c < 5; ++c)
                row << QStringLiteral("—");
        }
        row << number(room.floorArea, 2) << number(room.heatedArea, 2);
        QStringList notes;
        if (r.designed()) {
            row << number(r.design.spacing * 1000, 0) << loopsText(r) << lengthSource(r)
                << number(r.supplementaryHeat, 0);
        } else {
            row << QString() << QString() << QString() << QString();
            notes << roomProblemText(room, r);
        }
        if (const QString marks = overridesText(room, r); !marks.isEmpty())
            notes << marks;
        row << notes.join(QStringLiteral("；"));
        rows << row;
        if ((i + 1) % kRowsPerStep == 0 && !progress.advance(double(i + 1) / double(count)))
            return false;
    }
    report.table(header, std::move(rows), {2, 3, 4, 5, 6, 7, 8, 9, 10, 13}, 7);
    QString basis =
        QStringLiteral(
            "热负荷及其分项（基本传热、冷风渗透或通风、附加）按%1；W/m² 为热负荷除以地面面积。")
            .arg(models::loadMethodText(result.loadMethod));
    if (result.loadMethod == project::LoadMethod::Typed)
        basis = QStringLiteral("热负荷为输入值，无分项；W/m² 为热负荷除以地面面积。");
    report.paragraph(
        basis +
        QStringLiteral("间距和环路按%1选择和划分：环路长度 = 供暖面积/间距 + 2×连接管长度，"
                       "不超过 %2 m（JGJ 142-2012 §3.5），压降不超过 %3 kPa；“平面布管”的长度为"
                       "平面图上布管的实际长度。辅助散热为地面在表面温度限值内不能提供的热量"
                       "（docs/heat-load.md §6）。")
            .arg(models::methodLine(result.method), number(p.settings.conditions.maxLoopLength, 0),
                 number(p.settings.conditions.maxPressureDrop, 0)));
    return progress.advance(1);
}

} // namespace zorva::ui::projectreport
