// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/wording/designwording.h"

#include <array>

namespace zorva {

namespace {

struct FieldWords {
    const char* caption;
    const char* unit;
};

// Txt(0) to Txt(6) are the design values, Txt(7) to Txt(13) the results in
// the order of ResultTexts.
constexpr std::array<FieldWords, 14> kFields = {{
    {"室内温度", "℃"},
    {"供水温度", "℃"},
    {"回水温度", "℃"},
    {"盘管间距", "mm"},
    {"盘管埋深", "mm"},
    {"盘管外径", "mm"},
    {"单管长度", "m"},
    {"散热量", "W/m²"},
    {"地面平均温度", "℃"},
    {"环路水阻力", "kPa"},
    {"对流散热量", "W/m²"},
    {"辐射散热量", "W/m²"},
    {"单管水流量", "kg/h"},
    {"盘管水流速", "m/s"},
}};

bool isField(int index) {
    return index >= 0 && index < static_cast<int>(kFields.size());
}

} // namespace

QString fieldCaption(int index) {
    return isField(index) ? QString::fromUtf8(kFields[std::size_t(index)].caption) : QString();
}

QString fieldUnit(int index) {
    return isField(index) ? QString::fromUtf8(kFields[std::size_t(index)].unit) : QString();
}

QString resultCaption(int k) {
    return k >= 0 ? fieldCaption(kFirstResultField + k) : QString();
}

QString resultUnit(int k) {
    return k >= 0 ? fieldUnit(kFirstResultField + k) : QString();
}

QString constructionRowCaption(ConstructionRow row) {
    static constexpr std::array<const char*, kConstructionRows> captions = {
        "1、地面层", "2、找平层", "3、填充层", "4、塑料管壁"};
    // A row number from outside the enumerators (a cast int) gets no caption.
    const int index = static_cast<int>(row);
    return index >= 0 && index < kConstructionRows ? QString::fromUtf8(captions[std::size_t(index)])
                                                   : QString();
}

QString elbowsCaption() {
    return QStringLiteral("90度弯头数");
}

QString principleCaption() {
    return QStringLiteral("1、计算原理图");
}

QString faultName(Fault fault) {
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

} // namespace zorva
