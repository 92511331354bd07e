// SPDX-License-Identifier: GPL-3.0-or-later
// The project report's bill of materials: the list to order and, per kind
// of pipe, the cutting plan that assigns every loop whole to a roll.
#include "core/materials/bill.h"
#include "widgets/report/pagedreport.h"
#include "widgets/report/projectreportparts.h"

namespace zorva::ui::projectreport {

namespace {

QString itemName(materials::MaterialKind kind) {
    switch (kind) {
    case materials::MaterialKind::Pipe:
        return QStringLiteral("加热管");
    case materials::MaterialKind::PipeRoll:
        return QStringLiteral("加热管整卷");
    case materials::MaterialKind::Manifold:
        return QStringLiteral("分集水器");
    case materials::MaterialKind::InsulationBoard:
        return QStringLiteral("绝热板");
    case materials::MaterialKind::EdgeStrip:
        return QStringLiteral("边界保温带");
    case materials::MaterialKind::PipeClip:
        return QStringLiteral("管卡");
    case materials::MaterialKind::Screed:
        return QStringLiteral("填充层");
    case materials::MaterialKind::Actuator:
        return QStringLiteral("电热执行器");
    case materials::MaterialKind::Thermostat:
        break;
    }
    return QStringLiteral("房间温控器");
}

QString unitText(materials::MaterialUnit unit) {
    switch (unit) {
    case materials::MaterialUnit::Metre:
        return QStringLiteral("m");
    case materials::MaterialUnit::SquareMetre:
        return QStringLiteral("m²");
    case materials::MaterialUnit::CubicMetre:
        return QStringLiteral("m³");
    case materials::MaterialUnit::Roll:
        return QStringLiteral("卷");
    case materials::MaterialUnit::Board:
        return QStringLiteral("块");
    case materials::MaterialUnit::Piece:
        break;
    }
    return QStringLiteral("个");
}

int decimals(materials::MaterialUnit unit) {
    switch (unit) {
    case materials::MaterialUnit::Metre:
        return 1;
    case materials::MaterialUnit::SquareMetre:
        return 2;
    case materials::MaterialUnit::CubicMetre:
        return 3;
    default:
        return 0;
    }
}

QString sizeText(const materials::MaterialItem& item) {
    QStringList parts;
    if (!item.pipe.empty())
        parts << QString::fromStdString(item.pipe);
    if (item.kind == materials::MaterialKind::PipeRoll)
        parts << QStringLiteral("每卷 %1 m").arg(number(item.size, 0));
    else if (item.kind == materials::MaterialKind::Manifold)
        parts << QStringLiteral("%1 路").arg(number(item.size, 0));
    return parts.join(QStringLiteral("，"));
}

QString faultText(const materials::Bill& bill) {
    switch (bill.fault) {
    case materials::BillFault::LoopInvalid:
        return QStringLiteral("第 %1 个环路的长度、房间或分集水器有误").arg(bill.faultIndex + 1);
    case materials::BillFault::RoomInvalid:
        return QStringLiteral("第 %1 个房间的面积、周长或填充层厚度有误").arg(bill.faultIndex + 1);
    case materials::BillFault::OptionsInvalid:
        return QStringLiteral("材料选项（损耗率、规格或分集水器路数）有误");
    case materials::BillFault::CuttingInvalid:
        return QStringLiteral("管卷长度有误");
    case materials::BillFault::None:
        break;
    }
    return {};
}

void addCutting(PagedReport& report, const project::MaterialsResult& mat,
                const materials::PipePlan& plan) {
    const materials::CuttingPlan& c = plan.cutting;
    const auto loopText = [&](std::size_t i) {
        const std::size_t bill = i < plan.loops.size() ? plan.loops[i] : mat.loopNames.size();
        return bill < mat.loopNames.size() ? QString::fromStdString(mat.loopNames[bill])
                                           : QStringLiteral("?");
    };
    report.heading(QStringLiteral("下料方案：%1").arg(QString::fromStdString(plan.pipe)));
    if (!c.ok()) {
        report.paragraph(QStringLiteral("管卷长度有误，无法排料。"));
        return;
    }
    QList<QStringList> rows;
    int n = 0;
    for (const materials::RollCut& roll : c.rolls) {
        QStringList loops;
        for (std::size_t i : roll.loops)
            loops << loopText(i);
        rows << QStringList{QString::number(++n), number(double(roll.rollMm) / 1000, 0),
                            loops.join(QStringLiteral("、")), number(double(roll.usedMm) / 1000, 1),
                            number(double(roll.offcutMm()) / 1000, 1)};
    }
    report.table({QStringLiteral("管卷"), QStringLiteral("卷长(m)"), QStringLiteral("环路"),
                  QStringLiteral("用量(m)"), QStringLiteral("余料(m)")},
                 rows, {0, 1, 3, 4}, 8);
    QString line = QStringLiteral("管长合计 %1 m（含每环路的连接余量），购买 %2 m，余料 %3 m；"
                                  "下限 %4 m，购买量与下限之比 %5。环路整根下料、不接头，"
                                  "每卷所截之和不超过卷长（docs/materials.md §2）。")
                       .arg(number(c.piecesM, 1), number(c.purchasedM, 0), number(c.offcutM, 1),
                            number(c.lowerBoundM, 0), number(c.ratio, 3));
    if (!c.unplaced.empty()) {
        QStringList names;
        for (std::size_t i : c.unplaced)
            names << loopText(i);
        line += QStringLiteral("长于任何一卷、未能排料的环路：%1。").arg(names.join(u'、'));
    }
    report.paragraph(line);
}

} // namespace

void addMaterials(PagedReport& report, const ProjectReportData& data) {
    const project::MaterialsResult& mat = data.result.materials;
    report.heading(QStringLiteral("四、材料表"));
    if (!mat.computed) {
        report.paragraph(QStringLiteral("没有已设计的环路，未计算材料。"));
        return;
    }
    const materials::Bill& bill = mat.bill;
    if (!bill.ok()) {
        report.paragraph(QStringLiteral("无法计算材料：%1。").arg(faultText(bill)));
        return;
    }
    QList<QStringList> rows;
    for (const materials::MaterialItem& item : bill.items)
        rows << QStringList{itemName(item.kind), sizeText(item),
                            number(item.quantity, decimals(item.unit)), unitText(item.unit)};
    report.table({QStringLiteral("材料"), QStringLiteral("规格"), QStringLiteral("数量"),
                  QStringLiteral("单位")},
                 rows, {2}, 9);
    QStringList notes{QStringLiteral(
        "数量按设计计算（docs/materials.md §3）：管长为各环路长度之和；绝热板按地面面积、边界"
        "保温带按房间周长、填充层按面积乘厚度，另加所输入的损耗率；管卡按每米管的个数；每个环路"
        "一个电热执行器，每个需要的房间一个温控器。")};
    bool estimated = false;
    for (bool e : mat.perimeterEstimated)
        estimated = estimated || e;
    if (estimated)
        notes << QStringLiteral("未输入周长的房间按 4·√A 估算周长。");
    if (bill.anyOversize)
        notes << QStringLiteral("有分集水器的环路数超过最大路数。");
    report.paragraph(notes.join(QString()));
    for (const materials::PipePlan& plan : bill.pipes)
        addCutting(report, mat, plan);
}

} // namespace zorva::ui::projectreport
