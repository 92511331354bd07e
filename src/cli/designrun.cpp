#include "designrun.h"

#include "calculate.h"
#include "checked.h"
#include "cliinput.h"
#include "evaluation.h"
#include "numtext.h"

#include <array>
#include <cmath>

namespace zorva::cli {

namespace {

struct ResultLine {
    const char* caption; // the main window's caption of the result field
    const char* unit;
};
const std::array<ResultLine, 7> kResultLines = {{
    {"散热量", "W/m²"},
    {"地面平均温度", "℃"},
    {"环路水阻力", "kPa"},
    {"对流散热量", "W/m²"},
    {"辐射散热量", "W/m²"},
    {"单管水流量", "kg/h"},
    {"盘管水流速", "m/s"},
}};

QString text(const NumberText& number) {
    return QString::fromUtf8(number.view());
}

QString faultText(Fault fault) {
    switch (fault) {
    case Fault::DivisionByZero:
        return QStringLiteral("除数为零");
    case Fault::Overflow:
        return QStringLiteral("数值溢出");
    case Fault::InvalidPower:
        return QStringLiteral("乘方运算没有实数结果");
    case Fault::InvalidLogarithm:
        break;
    }
    return QStringLiteral("对数运算的真数不是正数");
}

QString ruleName(Rule rule) {
    static const std::array<const char*, kRuleCount> names = {
        "单位面积散热量", "地面平均温度", "盘管水流速", "环路水阻力",
        "供水温度",       "供回水温差",   "单管长度"};
    return QString::fromUtf8(names[static_cast<std::size_t>(rule)]);
}

QString ruleUnit(Rule rule) {
    static const std::array<const char*, kRuleCount> units = {"W/m²", "℃", "m/s", "kPa",
                                                              "℃",    "℃", "m"};
    return QString::fromUtf8(units[static_cast<std::size_t>(rule)]);
}

QString number(double value, int decimals) {
    if (!std::isfinite(value))
        return QStringLiteral("—");
    return text(decimals < 0 ? generalText(value) : patternText(value, decimals));
}

QString limitText(const RuleCheck& check, bool loadEntered) {
    const QString limit = number(check.limit, -1) + u' ' + ruleUnit(check.rule);
    if (check.rule == Rule::HeatOutput)
        return loadEntered
                   ? QStringLiteral("≥ %1（> %2 为偏大）").arg(limit, number(check.highLimit, -1))
                   : QStringLiteral("未输入热负荷");
    switch (ruleComparison(check.rule)) {
    case Comparison::AtLeast:
        return QStringLiteral("≥ ") + limit;
    case Comparison::AtMost:
        return QStringLiteral("≤ ") + limit;
    case Comparison::AboveZeroAtMost:
        break;
    }
    return QStringLiteral("> 0 且 ≤ ") + limit;
}

QString verdictText(Verdict verdict) {
    switch (verdict) {
    case Verdict::Pass:
        return QStringLiteral("合格");
    case Verdict::Fail:
        return QStringLiteral("不合格");
    case Verdict::High:
        return QStringLiteral("偏大");
    case Verdict::NotChecked:
        break;
    }
    return QStringLiteral("未校核");
}

QString checkText(const Evaluation& run, const CheckLimits& limits) {
    const std::array<RuleCheck, kRuleCount> checks = checkDesign(run, limits);
    QString out = QStringLiteral("校核（房间类别：%1）：\n").arg(roomCategoryName(limits.category));
    for (const RuleCheck& check : checks) {
        const QString value =
            check.verdict == Verdict::NotChecked && !run.converged()
                ? QStringLiteral("—")
                : number(check.value, ruleDecimals(check.rule)) + u' ' + ruleUnit(check.rule);
        const bool loadEntered = limits.loadPerArea.has_value();
        const QString limit = check.rule == Rule::HeatOutput && !loadEntered
                                  ? QStringLiteral("未输入热负荷")
                                  : QStringLiteral("要求 ") + limitText(check, loadEntered);
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
                report.text += QStringLiteral("%1：%2 %3\n")
                                   .arg(QString::fromUtf8(kResultLines[i].caption),
                                        text(results[i]), QString::fromUtf8(kResultLines[i].unit));
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
                             .arg(faultText(error.fault()));
    }
    if (!report.text.isEmpty())
        report.text += u'\n';
    report.text += checkText(run, limits);
    return report;
}

} // namespace zorva::cli
