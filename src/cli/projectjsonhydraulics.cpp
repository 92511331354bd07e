// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/projectjsonhydraulics.h"

#include "core/io/materialscsv.h"

#include <QJsonArray>

#include <cmath>

namespace zorva::cli {

namespace {

using namespace project;

QJsonValue num(double v) {
    return std::isfinite(v) ? QJsonValue(v) : QJsonValue();
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

const char* rangeKey(hydraulics::SettingRange r) {
    switch (r) {
    case hydraulics::SettingRange::Inside:
        return "inside";
    case hydraulics::SettingRange::FullyOpen:
        return "fullyOpen";
    case hydraulics::SettingRange::BelowTable:
        return "belowTable";
    }
    return "";
}

const char* valveProblemKey(ValveProblem p) {
    switch (p) {
    case ValveProblem::None:
        return "none";
    case ValveProblem::FileNotRead:
        return "fileNotRead";
    case ValveProblem::TableInvalid:
        return "tableInvalid";
    }
    return "";
}

QJsonArray loopWarnings(unsigned flags) {
    QJsonArray w;
    if (flags & LoopNoise)
        w.append(QStringLiteral("NOISE"));
    if (flags & LoopBelowTable)
        w.append(QStringLiteral("KV_RANGE"));
    if (flags & LoopPoorAuthority)
        w.append(QStringLiteral("AUTHORITY"));
    if (flags & LoopMeterRange)
        w.append(QStringLiteral("METER_RANGE"));
    return w;
}

void addLoop(const ManifoldHydraulicsResult& h, std::size_t i, QJsonObject& loop) {
    const hydraulics::LoopPresetting* p = h.presetting(i);
    if (!p) {
        for (const char* key : {"valveSetting", "kv", "extraPressureDrop", "flowMeter"})
            loop.insert(QLatin1String(key), QJsonValue());
        return;
    }
    loop.insert(QStringLiteral("valveSetting"), num(p->dialSetting));
    loop.insert(QStringLiteral("valveSettingExact"), num(p->setting));
    loop.insert(QStringLiteral("valveRange"), QLatin1String(rangeKey(p->range)));
    loop.insert(QStringLiteral("kv"), num(p->kv));
    loop.insert(QStringLiteral("extraPressureDrop"), num(p->extraPressureDropKpa));
    loop.insert(QStringLiteral("valvePressureDrop"), num(p->valveDropKpa));
    loop.insert(QStringLiteral("flowMeter"), num(h.flowMeterLpm(i).value_or(NAN)));
    loop.insert(QStringLiteral("flowDeviationAtDial"), num(p->dialFlowDeviation));
    loop.insert(QStringLiteral("valveIndexLoop"), p->indexLoop);
    loop.insert(QStringLiteral("warnings"), loopWarnings(h.flags(i)));
}

void addManifold(const ManifoldHydraulicsResult& r, QJsonObject& m) {
    const hydraulics::ManifoldHydraulics& h = r.hydraulics;
    m.insert(QStringLiteral("valve"), text(r.valveName));
    m.insert(QStringLiteral("valveGeneric"), r.valveGeneric);
    m.insert(QStringLiteral("valveProblem"), QLatin1String(valveProblemKey(r.valveProblem)));
    const bool pump = r.computed && h.pump.ok();
    m.insert(QStringLiteral("pumpMethod"), QString::fromUtf8(h.pump.method));
    m.insert(QStringLiteral("branchPressure"),
             r.computed ? num(h.presetting.branchPressureKpa) : QJsonValue());
    m.insert(QStringLiteral("pumpFlow"), pump ? num(h.pump.flowM3h) : QJsonValue());
    m.insert(QStringLiteral("pumpFlowLh"), pump ? num(h.pump.flowLh) : QJsonValue());
    m.insert(QStringLiteral("pumpHead"), pump ? num(h.pump.headKpa) : QJsonValue());
    m.insert(QStringLiteral("pumpHeadM"), pump ? num(h.pump.headM) : QJsonValue());
    m.insert(QStringLiteral("bodyPressureDrop"), pump ? num(h.pump.bodyDropKpa) : QJsonValue());
    m.insert(QStringLiteral("connectionPressureDrop"), num(h.connectionDropKpa));
    m.insert(QStringLiteral("barVelocity"), pump ? num(h.pump.barVelocity) : QJsonValue());
    const bool mixed = r.computed && h.mixedReturn.ok();
    m.insert(QStringLiteral("mixedReturnTemp"),
             mixed ? num(h.mixedReturn.mixedReturnTemp) : QJsonValue());
    m.insert(QStringLiteral("systemTempDiff"),
             mixed ? num(h.mixedReturn.systemDifference) : QJsonValue());
    m.insert(QStringLiteral("heatDelivered"), mixed ? num(h.mixedReturn.heatW) : QJsonValue());
    if (h.mixing && h.mixing->ok()) {
        const hydraulics::MixingStation& s = *h.mixing;
        m.insert(QStringLiteral("mixing"), QJsonObject{{"primaryFlow", num(s.primaryFlowKgh)},
                                                       {"primaryFlowM3h", num(s.primaryFlowM3h)},
                                                       {"bypassFlow", num(s.bypassFlowKgh)},
                                                       {"kvsCalc", num(s.kvsCalc)},
                                                       {"kvs", num(s.kvs)},
                                                       {"valvePressureDrop", num(s.valveDropKpa)},
                                                       {"authority", num(s.authority)}});
    }
    if (h.operating && h.operating->fault == hydraulics::PumpCurveFault::None) {
        const hydraulics::OperatingPoint& o = *h.operating;
        const bool inside = o.found == hydraulics::OperatingFound::Inside;
        m.insert(QStringLiteral("operatingPoint"),
                 QJsonObject{{"flow", inside ? num(o.flowM3h) : QJsonValue()},
                             {"head", inside ? num(o.headKpa) : QJsonValue()},
                             {"suffices", o.suffices}});
    }
    QJsonArray warnings;
    if (pump && h.pump.barTooFast)
        warnings.append(QStringLiteral("V_BAR"));
    if (mixed && h.mixedReturn.differenceOutsideRange)
        warnings.append(QStringLiteral("DT_SYS"));
    if (r.computed && h.pressureControlAdvised)
        warnings.append(QStringLiteral("DP_CONTROL"));
    m.insert(QStringLiteral("hydraulicsWarnings"), warnings);
}

} // namespace

void addHydraulicsJson(const Project& project, const ProjectResult& result, QJsonObject& root) {
    (void)project;
    QJsonArray manifolds = root.value(QStringLiteral("manifolds")).toArray();
    for (qsizetype i = 0; i < manifolds.size() && std::size_t(i) < result.manifolds.size(); ++i) {
        const ManifoldHydraulicsResult& h = result.manifolds[std::size_t(i)].hydraulics;
        QJsonObject m = manifolds[i].toObject();
        QJsonArray loops = m.value(QStringLiteral("loops")).toArray();
        for (qsizetype j = 0; j < loops.size(); ++j) {
            QJsonObject loop = loops[j].toObject();
            addLoop(h, std::size_t(j), loop);
            loops[j] = loop;
        }
        m.insert(QStringLiteral("loops"), loops);
        addManifold(h, m);
        manifolds[i] = m;
    }
    root.insert(QStringLiteral("manifolds"), manifolds);

    const MaterialsResult& mat = result.materials;
    QJsonArray items;
    QJsonArray plans;
    for (const materials::MaterialItem& item : mat.bill.items) {
        QJsonObject o{{"item", QLatin1String(materials::materialKey(item.kind))},
                      {"quantity", num(item.quantity)},
                      {"unit", QLatin1String(materials::unitKey(item.unit))}};
        if (!item.pipe.empty())
            o.insert(QStringLiteral("pipe"), text(item.pipe));
        if (item.size > 0)
            o.insert(QStringLiteral("size"), num(item.size));
        items.append(o);
    }
    for (const materials::PipePlan& plan : mat.bill.pipes) {
        const auto name = [&](std::size_t i) {
            return i < plan.loops.size() && plan.loops[i] < mat.loopNames.size()
                       ? text(mat.loopNames[plan.loops[i]])
                       : QString();
        };
        QJsonArray rolls;
        for (const materials::RollCut& roll : plan.cutting.rolls) {
            QJsonArray names;
            for (std::size_t i : roll.loops)
                names.append(name(i));
            rolls.append(QJsonObject{{"length", num(double(roll.rollMm) / 1000)},
                                     {"loops", names},
                                     {"offcut", num(double(roll.offcutMm()) / 1000)}});
        }
        QJsonArray unplaced;
        for (std::size_t i : plan.cutting.unplaced)
            unplaced.append(name(i));
        plans.append(QJsonObject{{"pipe", text(plan.pipe)},
                                 {"rolls", rolls},
                                 {"unplaced", unplaced},
                                 {"purchased", num(plan.cutting.purchasedM)},
                                 {"offcut", num(plan.cutting.offcutM)},
                                 {"lowerBound", num(plan.cutting.lowerBoundM)},
                                 {"ratio", num(plan.cutting.ratio)}});
    }
    root.insert(QStringLiteral("materials"), items);
    root.insert(QStringLiteral("cuttingPlan"), plans);
    root.insert(QStringLiteral("materialsMethod"), QString::fromUtf8(mat.bill.method));
}

QList<QStringList> materialsCsvRows(const ProjectResult& result) {
    return io::materialsCsvRows(result.materials);
}

} // namespace zorva::cli
