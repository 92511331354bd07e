// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/methoddesign.h"

#include "cli/methodloop.h"
#include "core/cooling/limits.h"
#include "core/engine/numtext.h"
#include "core/wording/advicewording.h"
#include "core/wording/checkwording.h"
#include "core/wording/projectwording.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

namespace zorva::cli {

namespace {

QString fixed(double value, int decimals) {
    return std::isfinite(value) ? QString::fromUtf8(patternText(value, decimals).view())
                                : QStringLiteral("—");
}

QString utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString line(const QString& caption, const QString& value, const QString& unit = {}) {
    return QStringLiteral("%1：%2%3\n").arg(caption, value, unit.isEmpty() ? unit : u' ' + unit);
}

// The filling layer raised to the pipe diameter, as the main window does.
QString clampNote(const FieldRecord& fields) {
    if (const std::optional<ClampWrite> clamp = clampFillingLayer(fields))
        return QStringLiteral("注：盘管外径大于填充层厚度，填充层厚度按 %1 mm、"
                              "盘管埋深按 %2 mm 计算（与主窗口相同）。")
            .arg(QString::fromUtf8(clamp->fill.view()), QString::fromUtf8(clamp->depth.view()));
    return {};
}

QString heatingText(const method::MethodLoopResult& r) {
    QString out = line(QStringLiteral("计算方法"), QString::fromUtf8(r.methodName));
    out += line(QStringLiteral("依据"), QString::fromUtf8(r.clause));
    if (!r.computed()) {
        QString why = loopProblemText(r.problem);
        if (r.problem == method::LoopProblem::MethodNotApplicable)
            why = enApplicabilityText(r.applicability);
        return out + line(QStringLiteral("没有结果"), why);
    }
    const int d = r.standard ? enFluxDecimals(*r.standard) : 1;
    const int flux = d < 0 ? 4 : d;
    out +=
        line(QStringLiteral("单位面积散热量 q"), fixed(r.heatOutput, flux), QStringLiteral("W/m²"));
    out += line(QStringLiteral("地表面平均温度 θF,m"), fixed(r.floorTempMean, 1),
                QStringLiteral("℃（基本特性曲线）"));
    out +=
        line(QStringLiteral("地表面温度上限 θF,max"), fixed(r.floorLimit, 1), QStringLiteral("℃"));
    out += line(QStringLiteral("极限曲线散热量 q_G"), fixed(r.limitOutput, flux),
                QStringLiteral("W/m²"));
    out += line(QStringLiteral("基本特性曲线最大散热量 q_G,max"), fixed(r.limitOutputMax, flux),
                QStringLiteral("W/m²"));
    out += line(QStringLiteral("向下热损失 q_u"),
                r.downwardOutput ? fixed(*r.downwardOutput, 1) + QStringLiteral(" W/m²")
                                 : QStringLiteral("未计（下层未知）"));
    out += line(QStringLiteral("环路面积"), fixed(r.area, 2), QStringLiteral("m²"));
    out += line(QStringLiteral("环路散热量"), fixed(r.loopOutput, 0), QStringLiteral("W"));
    out += line(QStringLiteral("流量"), fixed(r.flowKgh, 1),
                QStringLiteral("kg/h（%1 l/min，EN 1264-3）").arg(fixed(r.flowLpm, 2)));
    out += line(QStringLiteral("流速"), fixed(r.velocity, 3), QStringLiteral("m/s"));
    out +=
        line(QStringLiteral("阻力"), fixed(r.pressureDrop, 2), QStringLiteral("kPa（达西公式）"));
    out += line(QStringLiteral("校核 q ≤ q_G 且 q ≤ q_G,max"),
                r.standard ? enLimitVerdictText(*r.standard) : passText(r.withinLimit));
    out += line(QStringLiteral("结论"), passText(r.withinLimit));
    for (const QString& flag : enFlagTexts(r.en1264Flags))
        out += QStringLiteral("注：") + flag + u'\n';
    return out;
}

// The decimals (2 to 6) at which a lower-limit check reads as its verdict:
// a supply of 16.769 ℃ against 16.77001 ℃ shows as 16.769 < 16.770.
int checkDecimals(const cooling::Check& c) {
    int d = 2;
    for (; d < 6; ++d) {
        const double value = fixed(c.value, d).toDouble();
        const double limit = fixed(c.limit, d).toDouble();
        if (c.passed ? value >= limit : value < limit)
            break;
    }
    return d;
}

QString checkLine(const cooling::Check& c, const cooling::LoopResult& r) {
    const int d = checkDecimals(c);
    const QString clause = utf8(cooling::checkClause(c.id, r.room.occupancy));
    const QString verdict = !c.checked ? QStringLiteral("不校核")
                            : c.passed ? QStringLiteral("合格")
                            : cooling::checkKind(c.id) == cooling::CheckKind::Required
                                ? QStringLiteral("不合格")
                                : QStringLiteral("不在建议范围内");
    switch (c.id) {
    case cooling::CheckId::SupplyDew:
        return QStringLiteral("供水温度 %1 ℃，要求 ≥ 露点温度 + 余量 = %2 ℃，依据 %3，%4%5\n")
            .arg(fixed(c.value, d), fixed(c.limit, d), clause, verdict,
                 c.belowDewPoint ? QStringLiteral("（低于露点，供水管会结露）") : QString());
    case cooling::CheckId::FloorDew:
        return QStringLiteral("地表面平均温度 %1 ℃，要求 ≥ 露点温度 + 余量 = %2 ℃，依据 %3，%4\n")
            .arg(fixed(c.value, d), fixed(c.limit, d), clause, verdict);
    case cooling::CheckId::InletDew:
        return QStringLiteral("进水端地表面温度 %1 ℃，要求 ≥ 露点温度 + 余量 = %2 ℃，依据 %3，%4\n")
            .arg(fixed(c.value, d), fixed(c.limit, d), clause, verdict);
    case cooling::CheckId::FloorComfort:
        return QStringLiteral("地表面平均温度 %1 ℃，要求 ≥ %2 ℃（舒适下限），依据 %3，%4\n")
            .arg(fixed(c.value, d), fixed(c.limit, d), clause, verdict);
    case cooling::CheckId::Rise:
        return QStringLiteral("供回水温差 %1 K，宜 %2~%3 K，依据 %4，%5\n")
            .arg(fixed(c.value, 2), fixed(c.limit, 0), fixed(c.upperLimit, 0), clause, verdict);
    case cooling::CheckId::Load:
        break;
    }
    return {};
}

QString coolingText(const cooling::LoopResult& r) {
    QString out =
        line(QStringLiteral("计算方法"), QStringLiteral("EN 1264-5 供冷（由 EN 1264-2 A 型换算）"));
    out += line(QStringLiteral("依据"), utf8(r.method));
    out += QStringLiteral("室内温度：%1 ℃，相对湿度：%2 %，供水温度：%3 ℃，回水温度：%4 ℃\n")
               .arg(QString::fromUtf8(generalText(r.room.temp).view()),
                    QString::fromUtf8(generalText(r.room.humidity * 100).view()),
                    QString::fromUtf8(generalText(r.supplyTemp).view()),
                    QString::fromUtf8(generalText(r.returnTemp).view()));
    if (!r.applicable())
        return out + line(QStringLiteral("没有结果"), coolingProblemText(r));
    const cooling::Characteristic& c = r.characteristic;
    out +=
        line(QStringLiteral("供冷特性系数 K_C"), fixed(c.cooling, 4), QStringLiteral("W/(m²·K)"));
    out += line(QStringLiteral("对数平均温差 Δθ_C"), fixed(r.underTemp, 2),
                QStringLiteral("K，依据 %1").arg(utf8(cooling::clause::kLogMean)));
    out += line(QStringLiteral("单位面积供冷量 q_C"), fixed(r.coolingOutput, 2),
                QStringLiteral("W/m²"));
    out += line(QStringLiteral("地表面平均温度 θF,m"), fixed(r.floorTempMean, 2),
                QStringLiteral("℃，依据 %1").arg(utf8(cooling::clause::kBasicCharacteristic)));
    out += line(QStringLiteral("进水端地表面温度 θF,V"), fixed(r.floorTempInlet, 2),
                QStringLiteral("℃"));
    out += line(QStringLiteral("露点温度"), fixed(r.dewPoint, 2),
                QStringLiteral("℃，依据 %1").arg(utf8(cooling::clause::kDewPoint)));
    out += line(QStringLiteral("允许最低供水温度"), fixed(r.minSupplyTemp, 2),
                QStringLiteral("℃（露点 + %1 K，%2）")
                    .arg(QString::fromUtf8(generalText(r.room.dewMargin).view()),
                         utf8(cooling::clause::kDewMargin)));
    out += line(QStringLiteral("地表面温度下限"), fixed(r.floorTempLowest, 2),
                QStringLiteral("℃（舒适下限与露点 + 余量中的较高者）"));
    out += line(QStringLiteral("不超限的最大供冷量"), fixed(r.maxAdmissibleOutput, 2),
                r.admissible.limit == cooling::Limit::FloorTemp
                    ? QStringLiteral("W/m²（地面温度下限决定）")
                    : QStringLiteral("W/m²（露点决定）"));
    out += line(QStringLiteral("环路面积"), fixed(r.area, 2), QStringLiteral("m²"));
    out += line(QStringLiteral("环路供冷量"), fixed(r.loopOutput, 0), QStringLiteral("W"));
    out +=
        line(QStringLiteral("流量"), r.flow ? fixed(*r.flow, 1) : QStringLiteral("—"),
             QStringLiteral("kg/h，依据 %1，未计下层传热").arg(utf8(cooling::clause::kDesignFlow)));
    out += line(QStringLiteral("流速"), r.velocity ? fixed(*r.velocity, 3) : QStringLiteral("—"),
                QStringLiteral("m/s"));
    if (c.extrapolated)
        out += QStringLiteral("注：面层热阻较大，供冷量为外推值。\n");
    for (const QString& flag : enFlagTexts(c.heatingFlags))
        out += QStringLiteral("注：") + flag + u'\n';
    out += QStringLiteral("\n校核：\n");
    for (const cooling::Check& check : r.checks)
        out += checkLine(check, r);
    out += line(QStringLiteral("供水温度结论"), passText(supplyPasses(r)));
    out += line(QStringLiteral("地表面温度结论"), passText(surfacePasses(r)));
    return out;
}

} // namespace

DesignReport runMethodDesign(const FieldRecord& fields, const CheckLimits& limits,
                             const CalcMode& mode, bool json, const QStringList& notes) {
    DesignReport report;
    QStringList allNotes = notes;
    if (const QString clamp = clampNote(fields); !clamp.isEmpty())
        allNotes << clamp;
    ManifoldInput manifold = manifoldFromFields(fields);
    const LoopInput loop = loopFromFields(fields);
    QJsonObject object;
    if (mode.cooling) {
        // The design's return lies above its supply: the water's rise.
        manifold.tempDiff = -manifold.tempDiff;
        const cooling::LoopResult r = coolingLoopOf(manifold, loop, mode);
        if (!r.applicable()) {
            report.status = InputError;
            report.message =
                QStringLiteral("--design 的设计不能按供冷计算：%1").arg(coolingProblemText(r));
        } else {
            report.overall = supplyPasses(r) && surfacePasses(r) ? Verdict::Pass : Verdict::Fail;
        }
        if (!r.applicable())
            return report; // an input error: the message says why
        if (json)
            object = coolingJson(r);
        else
            report.text = coolingText(r);
    } else {
        const method::MethodLoopResult r =
            heatingLoop(mode.method, manifold, loop, limits.category);
        if (!r.computed()) {
            report.status = SomeNotComputed;
            report.message = QStringLiteral("没有结果：%1")
                                 .arg(r.problem == method::LoopProblem::MethodNotApplicable
                                          ? enApplicabilityText(r.applicability)
                                          : loopProblemText(r.problem));
        } else {
            report.overall = r.withinLimit ? Verdict::Pass : Verdict::Fail;
        }
        if (json)
            object = heatingJson(r);
        else
            report.text = heatingText(r);
    }
    if (json) {
        object.insert("inputNotes", QJsonArray::fromStringList(allNotes));
        report.text = QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented));
    } else if (!allNotes.isEmpty()) {
        report.text.prepend(allNotes.join(u'\n') + u'\n');
    }
    return report;
}

} // namespace zorva::cli
