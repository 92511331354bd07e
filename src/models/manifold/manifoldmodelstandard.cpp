// SPDX-License-Identifier: GPL-3.0-or-later
// The manifold sheet by EN 1264-2: every row a loop of the EN 1264-3 design
// of the whole manifold (docs/en1264-design.md), its cells, their sources
// and the design's summary above the table.

#include "core/engine/numtext.h"
#include "core/io/manifoldfields.h"
#include "core/wording/projectwording.h"
#include "models/manifold/manifoldmodel.h"

#include <cmath>

namespace zorva::models {

namespace {

QString fixed(double value, int decimals) {
    return std::isfinite(value) ? QString::fromUtf8(patternText(value, decimals).view())
                                : QString();
}

// Decimals of the result columns, from Area on.
constexpr int kDecimals[] = {2, 1, 1, 0, 1, 2, 2, 2, 0, 0, 2, 2, 2, 2, 1, 1, 0};

int decimalsOf(int column) {
    return kDecimals[column - ManifoldModel::kInputColumns];
}

enum VerdictCode { Pass = 0, NeedsMore = 1, Fail = 2 };

int verdictCode(const project::LoopFigures& f) {
    if (!f.withinLimit)
        return Fail;
    return f.supplementaryHeat > 0 ? NeedsMore : Pass;
}

} // namespace

ManifoldModel::StandardJob ManifoldModel::standardJob() const {
    StandardJob job;
    job.generation = generation_;
    job.project = basis_;
    job.project.settings.method = method::Method::En1264;
    project::Manifold& m = job.project.manifolds[0];
    m.input = manifold_;
    m.loops.clear();
    m.loops.reserve(loops_.size());
    for (const LoopInput& loop : loops_)
        m.loops.push_back({loop, {}});
    return job;
}

bool ManifoldModel::applyStandard(std::uint64_t generation, project::ManifoldResult result) {
    if (!byStandard() || generation != generation_ || result.loops.size() != loops_.size())
        return false;
    standard_ = std::move(result);
    std::fill(fresh_.begin(), fresh_.end(), char{1});
    staleCount_ = 0;
    rebalance();
    if (!loops_.empty())
        emit dataChanged(index(0, Area), index(rowCount() - 1, ColumnCount - 1));
    return true;
}

ManifoldTotals ManifoldModel::standardTotals() const {
    ManifoldTotals t;
    t.loops = loops_.size();
    if (!standard_)
        return t;
    const project::ManifoldTotals& s = standard_->totals;
    t.computed = s.computed;
    t.area = s.area;
    t.output = s.output;
    t.flowKgh = s.flowKgh;
    t.flowLpm = s.flowLpm;
    t.indexLoop = s.indexLoop;
    t.maxResistance = s.maxPressureDrop;
    t.pumpHeadKpa = s.pumpHeadKpa;
    t.pumpHeadM = s.pumpHeadM;
    return t;
}

QVariant ManifoldModel::standardRaw(int row, int column) const {
    if (!standard_)
        return {};
    const project::ProjectLoop& l = standard_->loops[static_cast<std::size_t>(row)];
    if (!l.computed)
        return {};
    const project::LoopFigures& f = l.figures;
    switch (column) {
    case Area:
        return f.area;
    case HeatOutput:
        return f.heatOutput;
    case FloorTemp:
        return f.floorTempMean;
    case LoopOutput:
        return f.loopOutput;
    case FlowKgh:
        return f.flowKgh;
    case FlowLpm:
        return f.flowLpm;
    case Velocity:
        return f.velocity;
    case Resistance:
        return f.pressureDrop;
    case Verdict:
        return verdictCode(f);
    case IndexLoop:
        return l.indexLoop ? 1 : 0;
    case Valve:
        return l.valveKpa ? QVariant(*l.valveKpa) : QVariant();
    case Meter:
        return l.meterLpm ? QVariant(*l.meterLpm) : QVariant();
    case Drop:
        return f.drop;
    case ReturnTemp:
        return f.returnTemp;
    case DownwardOutput:
        return f.downwardOutput ? QVariant(*f.downwardOutput) : QVariant();
    case LimitOutput:
        return f.limitOutput;
    case Supplementary:
        return f.supplementaryHeat;
    default:
        return {};
    }
}

QVariant ManifoldModel::standardDisplay(int row, int column) const {
    if (!standard_)
        return QStringLiteral("…");
    const project::ProjectLoop& l = standard_->loops[static_cast<std::size_t>(row)];
    if (!l.computed) {
        if (column != Verdict)
            return QString();
        const en1264::ManifoldDesign& d = *standard_->design;
        const en1264::LoopDesign& ld = d.loops[static_cast<std::size_t>(row)];
        if (ld.room < d.rooms.size() && !d.rooms[ld.room].designed())
            return designRoomProblemText(d.rooms[ld.room].problem);
        return QStringLiteral("输入值无效");
    }
    if (column == Verdict)
        return loopVerdictText(l.figures);
    if (column == IndexLoop)
        return l.indexLoop ? QStringLiteral("是") : QString();
    if (column == DownwardOutput && !l.figures.downwardOutput)
        return QStringLiteral("—");
    const QVariant v = standardRaw(row, column);
    return v.isValid() ? fixed(v.toDouble(), decimalsOf(column)) : QString();
}

QVariant ManifoldModel::standardToolTip(int row, int column) const {
    if (!standard_)
        return {};
    const project::ProjectLoop& l = standard_->loops[static_cast<std::size_t>(row)];
    if (!l.computed)
        return column == Verdict ? standardDisplay(row, column) : QVariant();
    const project::LoopFigures& f = l.figures;
    switch (column) {
    case Area:
        return QStringLiteral("A = 环路长度 × 管间距");
    case HeatOutput:
    case LoopOutput:
        return QStringLiteral("q = K_H·Δθ_H（EN 1264-2 附录 A）；负荷超过极限曲线时取 q_G"
                              "（EN 1264-3）");
    case FloorTemp:
        return QStringLiteral("θ_F,m = θ_i + (q/8.92)^(1/1.1)（EN 1264-2 基本特性曲线）");
    case FlowKgh:
    case FlowLpm:
    case Meter:
        return QStringLiteral("ṁ = A·(q + q_u)/(c_W·σ)（EN 1264-3，含向下热损失）；"
                              "l/min 按供水温度下的密度");
    case Velocity:
    case Resistance:
    case Valve:
        return QStringLiteral("达西公式，Re < 2300 时 λ = 64/Re（层流），"
                              "水的物性取环路平均水温");
    case Verdict:
        return QStringLiteral("q = %1 W/m²，极限曲线 q_G = %2 W/m²（θ_F,max = %3 ℃，"
                              "EN 1264-2）；辅助散热 %4 W（EN 1264-3）")
            .arg(fixed(f.heatOutput, 1), fixed(f.limitOutput, 1), fixed(f.floorLimit, 1),
                 fixed(f.supplementaryHeat, 0));
    case Drop:
    case ReturnTemp:
        return QStringLiteral("σ 按 EN 1264-3：决定供水温度的环路取 σ_des，"
                              "其余环路由同一供水温度求得");
    case DownwardOutput:
        return f.downwardOutput ? QStringLiteral("q_u = (R_o·q + θ_i − θ_u)/R_u（EN 1264-2）")
                                : QStringLiteral("楼板下方未知，向下热损失未计入");
    case LimitOutput:
        return QStringLiteral("EN 1264-2 极限曲线在 θ_F,max = %1 ℃ 时的散热量")
            .arg(fixed(f.floorLimit, 1));
    case Supplementary:
        return QStringLiteral("负荷超过极限曲线散热量时所需的辅助散热（EN 1264-3）");
    default:
        return {};
    }
}

QVariant ManifoldModel::notGivenToolTip(int column) const {
    switch (column) {
    case DownwardOutput:
        return QStringLiteral("本程序方法不计算向下热损失；请选择 EN 1264-2");
    case LimitOutput:
        return QStringLiteral("本程序方法按平均地面温度校核，没有极限曲线；请选择 EN 1264-2");
    case Supplementary:
        return QStringLiteral("本程序方法不求辅助散热；请选择 EN 1264-2");
    default:
        return {};
    }
}

QString ManifoldModel::designSummary() const {
    const QString method = QString::fromUtf8(method::methodName(this->method()));
    if (!byStandard())
        return QStringLiteral("计算方法：%1（%2）")
            .arg(method, QString::fromUtf8(method::methodClause(this->method())));
    QString text = QStringLiteral("计算方法：%1，EN 1264-3 设计").arg(method);
    const bool fixedPair = basis_.settings.standard.mode == en1264::DesignMode::FixedPair;
    if (fixedPair)
        text += QStringLiteral("（固定供回水温度 %1/%2 ℃）")
                    .arg(fixed(manifold_.supplyTemp, 1),
                         fixed(manifold_.supplyTemp - manifold_.tempDiff, 1));
    if (!standard_ || !standard_->design)
        return text + QStringLiteral("：计算中…");
    const en1264::ManifoldDesign& d = *standard_->design;
    if (!d.designed())
        return text + QStringLiteral("：没有能设计的环路（每个环路需输入热负荷）");
    text += QStringLiteral("：设计供水温度 %1 ℃").arg(fixed(d.designSupplyTemp, 2));
    if (!fixedPair && d.designRoom && *d.designRoom < loops_.size())
        text += QStringLiteral("，由%1决定")
                    .arg(io::loopLabel(int(*d.designRoom) + 1,
                                       QString::fromStdString(loops_[*d.designRoom].name)));
    if (!fixedPair)
        text += QStringLiteral("；σ_des = %1 K").arg(fixed(basis_.settings.standard.designDrop, 1));
    text +=
        QStringLiteral("；混合回水温度 %1 ℃；辅助散热 %2 W")
            .arg(fixed(d.totals.mixedReturnTemp, 2), fixed(standard_->totals.supplementaryHeat, 0));
    if (!fixedPair)
        text += QStringLiteral("（分集水器的供水温度和温差不参与）");
    return text;
}

} // namespace zorva::models
