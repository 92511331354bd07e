// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/dialogs/messages.h"

#include "core/wording/designwording.h"
#include "widgets/dialogs/dialogseam.h"

namespace zorva::ui {

QString messageTitle() {
    return QStringLiteral("Zorva");
}

QString arithmeticErrorText(zorva::Fault fault, FaultSite site, bool resultsKept) {
    const QString what = zorva::faultName(fault);
    switch (site) {
    case FaultSite::Calculation:
        return QStringLiteral("计算时发生算术运算错误：%1。\r\n计算已中止，请检查输入的数据。")
                   .arg(what) +
               (resultsKept ? QStringLiteral("\r\n结果栏中仍是上一次成功计算的结果。") : QString());
    case FaultSite::DepthFromLayers:
        return QStringLiteral("按各层厚度计算埋深时发生算术运算错误：%1。\r\n"
                              "埋深未更新，请检查各层厚度。")
            .arg(what);
    case FaultSite::FillFromDepth:
        return QStringLiteral("按埋深计算填充层厚度时发生算术运算错误：%1。\r\n"
                              "填充层厚度未更新，请检查埋深和各层厚度。")
            .arg(what);
    case FaultSite::ConstructionLoad:
        break;
    }
    return QStringLiteral("读取设置窗口的构造数据时发生算术运算错误：%1。\r\n"
                          "请检查设置窗口中输入的数据。")
        .arg(what);
}

QString notConvergedText() {
    return QStringLiteral("计算未能收敛：迭代500次后仍未达到精度要求。\r\n"
                          "结果栏中显示的不是当前输入数据的计算结果。");
}

void showArithmeticFault(DialogSeam& dialogs, QWidget* parent, zorva::Fault fault, FaultSite site,
                         bool resultsKept) {
    dialogs.message(parent, QMessageBox::Critical, messageTitle(),
                    arithmeticErrorText(fault, site, resultsKept));
}

void showNotConverged(DialogSeam& dialogs, QWidget* parent) {
    dialogs.message(parent, QMessageBox::Warning, messageTitle(), notConvergedText());
}

void showFileWarning(DialogSeam& dialogs, QWidget* parent, const QString& text) {
    dialogs.message(parent, QMessageBox::Warning, messageTitle(), text);
}

} // namespace zorva::ui
