#include "messages.h"

#include "dialogseam.h"

QString messageTitle() {
    return QStringLiteral("Zorva");
}

QString arithmeticErrorText(zorva::Fault fault) {
    QString what;
    switch (fault) {
    case zorva::Fault::DivisionByZero:
        what = QStringLiteral("除数为零");
        break;
    case zorva::Fault::Overflow:
        what = QStringLiteral("数值溢出");
        break;
    case zorva::Fault::InvalidPower:
        what = QStringLiteral("乘方运算没有实数结果");
        break;
    case zorva::Fault::InvalidLogarithm:
        what = QStringLiteral("对数运算的真数不是正数");
        break;
    }
    return QStringLiteral("发生算术运算错误：%1。\r\n计算已中止，请检查输入的数据。").arg(what);
}

QString notConvergedText() {
    return QStringLiteral("计算未能收敛：迭代500次后仍未达到精度要求。\r\n"
                          "结果栏中显示的不是当前输入数据的计算结果。");
}

void showArithmeticFault(DialogSeam& dialogs, QWidget* parent, zorva::Fault fault) {
    dialogs.message(parent, QMessageBox::Critical, messageTitle(), arithmeticErrorText(fault));
}

void showNotConverged(DialogSeam& dialogs, QWidget* parent) {
    dialogs.message(parent, QMessageBox::Warning, messageTitle(), notConvergedText());
}

void showFileWarning(DialogSeam& dialogs, QWidget* parent, const QString& text) {
    dialogs.message(parent, QMessageBox::Warning, messageTitle(), text);
}
