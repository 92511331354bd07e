// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/projectjsonrebalance.h"

#include <QJsonArray>

#include <cmath>

namespace zorva::cli {

namespace {

using namespace project;

QJsonValue num(double v) {
    return std::isfinite(v) ? QJsonValue(v) : QJsonValue();
}

QJsonValue num(const std::optional<double>& v) {
    return v ? num(*v) : QJsonValue();
}

const char* faultKey(hydraulics::RebalanceFault f) {
    using F = hydraulics::RebalanceFault;
    switch (f) {
    case F::None:
        return "none";
    case F::NotFinite:
        return "notFinite";
    case F::FlowNotPositive:
        return "flowNotPositive";
    case F::DensityNotPositive:
        return "densityNotPositive";
    case F::DesignOrder:
        return "designOrder";
    case F::MeasuredOrder:
        return "measuredOrder";
    case F::ExponentOutside:
        return "exponentOutside";
    case F::ValveInvalid:
        return "valveInvalid";
    }
    return "";
}

QJsonObject loopJson(const LoopRebalanceResult& r, const LoopMeasurement& m) {
    const hydraulics::LoopRebalance& b = r.rebalance;
    QJsonObject o{{"fault", QLatin1String(faultKey(b.fault))},
                  {"settingBefore", num(r.settingBefore)},
                  {"settingAfter", num(m.settingAfter)}};
    if (!b.ok())
        return o;
    QJsonArray warnings;
    if (b.flags & hydraulics::RebalanceSupplyTooLow)
        warnings.append(QStringLiteral("SUPPLY_LOW"));
    if (b.flags & hydraulics::RebalanceFullyOpenShort)
        warnings.append(QStringLiteral("FULLY_OPEN_SHORT"));
    if (b.flags & hydraulics::RebalanceBelowTable)
        warnings.append(QStringLiteral("KV_RANGE"));
    o.insert(QStringLiteral("actualFlow"), num(b.actualFlowKgh));
    o.insert(QStringLiteral("flowMeasured"), b.flowMeasured);
    o.insert(QStringLiteral("actualOutput"), num(b.actualOutputW));
    o.insert(QStringLiteral("designOutput"), num(b.designOutputW));
    o.insert(QStringLiteral("outputRatio"), num(b.outputRatio));
    o.insert(QStringLiteral("withinTolerance"), b.withinTolerance);
    o.insert(QStringLiteral("requiredFlow"),
             b.flags & hydraulics::RebalanceSupplyTooLow ? QJsonValue() : num(b.requiredFlowKgh));
    o.insert(QStringLiteral("proposedKv"), num(b.proposedKv));
    o.insert(QStringLiteral("proposedSetting"), num(b.proposedDial));
    o.insert(QStringLiteral("proposedSettingExact"), num(b.proposedSetting));
    o.insert(QStringLiteral("change"), b.change);
    o.insert(QStringLiteral("warnings"), warnings);
    o.insert(QStringLiteral("method"), QString::fromUtf8(b.method));
    return o;
}

} // namespace

void addRebalanceJson(const Project& project, const ProjectResult& result, QJsonObject& root) {
    QJsonArray manifolds = root.value(QStringLiteral("manifolds")).toArray();
    for (qsizetype i = 0; i < manifolds.size() && std::size_t(i) < result.manifolds.size() &&
                          std::size_t(i) < project.manifolds.size();
         ++i) {
        const RebalanceInputs& in = project.manifolds[std::size_t(i)].rebalance;
        const ManifoldRebalanceResult& r = result.manifolds[std::size_t(i)].rebalance;
        if (in.loops.empty())
            continue;
        QJsonObject m = manifolds[i].toObject();
        QJsonArray loops = m.value(QStringLiteral("loops")).toArray();
        for (qsizetype j = 0; j < loops.size() && std::size_t(j) < r.loops.size(); ++j) {
            const std::optional<LoopRebalanceResult>& loop = r.loops[std::size_t(j)];
            if (!loop || loop->measurement >= in.loops.size())
                continue;
            QJsonObject o = loops[j].toObject();
            o.insert(QStringLiteral("rebalance"), loopJson(*loop, in.loops[loop->measurement]));
            loops[j] = o;
        }
        m.insert(QStringLiteral("loops"), loops);
        QJsonArray unmatched;
        for (std::size_t k : r.unmatched)
            if (k < in.loops.size())
                unmatched.append(QString::fromStdString(in.loops[k].loop));
        if (!unmatched.isEmpty())
            m.insert(QStringLiteral("rebalanceUnmatched"), unmatched);
        manifolds[i] = m;
    }
    root.insert(QStringLiteral("manifolds"), manifolds);
}

} // namespace zorva::cli
