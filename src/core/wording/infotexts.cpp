// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/wording/infotexts.h"

#include <QStringList>

namespace zorva {

namespace {

// What a good floor-heating design balances ("说明").
const char16_t* const guidanceLines[] = {
    u"优秀的地板采暖设计宜兼顾以下几个方面：", u"1、单位面积散热量与热负荷指标相匹配；",
    u"2、地面平均温度低于最高限值；",          u"3、加热盘管内的水流速度大于0.25m/s；",
    u"4、单个环路水阻力不大于30kPa。",
};

// Behaviour of the heating system that the calculation brings out ("特性").
const char16_t* const characteristicsLines[] = {
    u"程序反映系统的部分特性：",
    u"1、辐射散热所占比重一般高于对流散热，"
    u"仅在地面平均温度达到43~54℃才会比重相当。室温越低散热量越大，"
    u"如果地板散热量小于建筑耗热量，室温会下降，导致耗热量减小而散热量增大，"
    u"最终室温稳定在低于设计温度的某点；反之室温会平衡在高于设计温度的某点。",
    u"2、地面平均温度若要求低于28℃，"
    u"室温18℃时单位面积散热量必须<101W/平米，20℃时须<80W/平米，"
    u"22℃时须<60W/平米。耗热量的不足部分由其它采暖方式补充。",
    u"3、在水阻力不超限的前提下，水流速度越大有利于水裹走气，"
    u"有利于减小传热热阻而增加散热量。在流速<0.6~1.5m/s时，"
    u"建议增加单个环路盘管长度，即增加单管供暖区域。关于单管长度对散热量的显著影响，"
    u"美国ASHRAE及国内机构没有进行分析，这里提请大家重视。",
    u"4、鉴于一个风盘末端供冷时水阻就有30~50kPa，"
    u"而且供冷管道比摩阻还较采暖管道大，"
    u"个人看法可将大系统水阻力提高到50kPa或以上，"
    u"以适当提高单管长度及水速保证足够的散热量。",
};

// The About box ("关于"). The contact line carries the project's own address.
const char16_t* const aboutLines[] = {
    u"设计参考 Tamsel",
    u"Norvane",
    u"e-mail:zorva@users.noreply.example",
    u"date:2005.11.22",
};

QString joinLines(const QStringList& lines) {
    return lines.join(QStringLiteral("\r\n"));
}

template <std::size_t N> QStringList toList(const char16_t* const (&lines)[N]) {
    QStringList list;
    list.reserve(qsizetype(N));
    for (const char16_t* line : lines)
        list << QString::fromUtf16(line);
    return list;
}

} // namespace

QString infoText(InfoText which) {
    switch (which) {
    case InfoText::Guidance:
        // The guidance ends with a line break of its own.
        return joinLines(toList(guidanceLines)) + QStringLiteral("\r\n");
    case InfoText::Characteristics:
        return joinLines(toList(characteristicsLines));
    case InfoText::About:
        return joinLines(toList(aboutLines));
    }
    return {};
}

QString infoLine(InfoText which, int index) {
    const QStringList lines = infoText(which).split(QStringLiteral("\r\n"));
    return index >= 0 && index < lines.size() ? lines.at(index) : QString();
}

} // namespace zorva
