#include "cli/designrun.h"

#include "cli/cliinput.h"
#include "core/engine/calculate.h"
#include "core/engine/checked.h"
#include "core/engine/evaluation.h"
#include "core/engine/numtext.h"
#include "core/wording/checkwording.h"
#include "core/wording/designwording.h"

#include <array>

namespace zorva::cli {

namespace {

QString text(const NumberText& number) {
    return QString::fromUtf8(number.view());
}

QString checkText(const Evaluation& run, const CheckLimits& limits) {
    const std::array<RuleCheck, kRuleCount> checks = checkDesign(run, limits);
    QString out = QStringLiteral("校核（房间类别：%1）：\n").arg(categoryName(limits.category));
    for (const RuleCheck& check : checks) {
        const QString value =
            check.verdict == Verdict::NotChecked && !run.converged()
                ? QStringLiteral("—")
                : ruleValueText(check.rule, check.value) + u' ' + ruleUnit(check.rule);
        const bool loadEntered = limits.loadPerArea.has_value();
        const QString limit = check.rule == Rule::HeatOutput && !loadEntered
                                  ? QStringLiteral("未输入热负荷")
                                  : QStringLiteral("要求 ") + ruleLimitText(check, loadEntered);
        out += QStringLiteral("%1：%2，%3，%4\n")
                   .arg(ruleName(check.rule), value, limit, verdictText(check.verdict));
    }
    out += QStringLiteral("结论：%1\n").arg(verdictText(worstVerdict(checks)));
    return out;
}

} // namespace

DesignReport runDesign(const FieldRecord& fields, const CheckLimits& limits) {
    DesignReport report;
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
    report.text += checkText(run, limits);
    return report;
}

} // namespace zorva::cli
