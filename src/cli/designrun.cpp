// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/designrun.h"

#include "core/engine/calculate.h"
#include "core/engine/checked.h"
#include "core/engine/designreview.h"
#include "core/engine/evaluation.h"
#include "core/engine/numtext.h"
#include "core/wording/advicewording.h"
#include "core/wording/checkwording.h"
#include "core/wording/designwording.h"

namespace zorva::cli {

namespace {

QString text(const NumberText& number) {
    return QString::fromUtf8(number.view());
}

// One rule: "盘管水流速：0.2498 m/s，要求 ≥ 0.25 m/s，依据 说明 第3条；…，不合格".
QString checkLine(const RuleCheck& check, bool converged, bool loadEntered) {
    const QString value = check.verdict == Verdict::NotChecked && !converged
                              ? QStringLiteral("—")
                              : ruleValueText(check) + u' ' + ruleUnit(check);
    const QString limit = check.rule == Rule::HeatOutput && !loadEntered
                              ? QStringLiteral("未输入热负荷")
                              : QStringLiteral("要求 %1，依据 %2")
                                    .arg(ruleLimitText(check, loadEntered), ruleSource(check));
    return QStringLiteral("%1：%2，%3，%4\n")
        .arg(ruleName(check), value, limit, verdictWithAdvice(check));
}

QString checkText(const DesignReview& review, const CheckLimits& limits) {
    const bool loadEntered = limits.loadPerArea.has_value();
    QString out = QStringLiteral("校核（房间类别：%1，%2）：\n")
                      .arg(categoryName(limits.category), categoryLimitText(limits.category));
    for (const RuleCheck& check : review.checks)
        out += checkLine(check, review.run.converged(), loadEntered);
    out += QStringLiteral("结论：%1\n").arg(verdictText(review.overall));
    out += QStringLiteral("\n调整建议：\n");
    out += QStringLiteral("地面温度限值下的最大散热量：%1\n").arg(maxOutputAdvice(review, limits));
    out += QStringLiteral("所需供水温度：%1\n").arg(supplyAdvice(review, limits));
    out += QStringLiteral("由其它采暖方式补充：%1\n").arg(shortfallAdvice(review, limits));
    out += QStringLiteral("\n与 EN 1264-2（A 型，盘管埋在找平层内）对比：\n");
    for (const QString& line : crossCheckLines(review))
        out += line + u'\n';
    return out;
}

} // namespace

DesignReport runDesign(const FieldRecord& fields, const CheckLimits& limits,
                       const QStringList& notes) {
    DesignReport report;
    for (const QString& note : notes)
        report.text += note + u'\n';
    FieldRecord record = fields;
    if (const std::optional<ClampWrite> clamp = clampFillingLayer(fields))
        report.text += QStringLiteral("注：盘管外径大于填充层厚度，填充层厚度按 %1 mm、"
                                      "盘管埋深按 %2 mm 计算（与主窗口相同）。\n")
                           .arg(text(clamp->fill), text(clamp->depth));
    WorkingVars vars;
    Evaluation run;
    try {
        const RunReport result = calculate(vars, record);
        run = evaluationOf(vars, result);
        if (result.outcome == Outcome::Converged) {
            const ResultTexts results = resultTexts(vars, result);
            for (std::size_t i = 0; i < results.size(); ++i)
                report.text +=
                    QStringLiteral("%1：%2 %3\n")
                        .arg(resultCaption(int(i)), text(results[i]), resultUnit(int(i)));
        } else {
            report.status = SomeNotComputed;
            report.message =
                QStringLiteral("计算未能收敛：迭代500次后仍未达到精度要求，没有结果。");
        }
    } catch (const ArithmeticError& error) {
        run = Evaluation{};
        run.status = RunStatus::Faulted;
        run.fault = error.fault();
        report.status = SomeNotComputed;
        report.message = QStringLiteral("发生算术运算错误：%1。计算已中止，请检查输入的数据。")
                             .arg(faultName(error.fault()));
    }
    if (!report.text.isEmpty())
        report.text += u'\n';
    const DesignReview review = reviewDesign(record, run, limits);
    report.overall = review.overall;
    report.text += checkText(review, limits);
    return report;
}

} // namespace zorva::cli
