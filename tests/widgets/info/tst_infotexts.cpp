// SPDX-License-Identifier: GPL-3.0-or-later
// The Help menu's message texts, line by line and character by character,
// and how they are shown.

#include "support/fakedialogs.h"
#include "widgets/info/infobox.h"

#include <QTest>

using namespace zorva;
using namespace zorva::ui;

namespace {

QStringList linesOf(InfoText which) {
    return infoText(which).split(QStringLiteral("\r\n"));
}

} // namespace

class InfoTextsTest : public QObject {
    Q_OBJECT

private slots:
    void textHasItsLineCountAndEnding_data();
    void textHasItsLineCountAndEnding();
    void lineReadsExactly_data();
    void lineReadsExactly();
    void linesBreakOnlyWithCrLf_data();
    void linesBreakOnlyWithCrLf();
    void punctuationIsFullWidthWhereChinese_data();
    void punctuationIsFullWidthWhereChinese();
    void aboutContactLineCarriesAnAddress();
    void menuItemShowsItsTextInAQuestionBox_data();
    void menuItemShowsItsTextInAQuestionBox();
};

void InfoTextsTest::textHasItsLineCountAndEnding_data() {
    QTest::addColumn<InfoText>("which");
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("endsWithBreak");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("lastStart");

    // The guidance ends with a break, so splitting it leaves an empty sixth
    // line.
    QTest::newRow("guidance") << InfoText::Guidance << 6 << true
                              << QStringLiteral("优秀的地板采暖设计宜兼顾以下几个方面：")
                              << QString();
    QTest::newRow("characteristics")
        << InfoText::Characteristics << 5 << false << QStringLiteral("程序反映系统的部分特性：")
        << QStringLiteral("4、鉴于一个风盘末端供冷时水阻就有30~50kPa");
    QTest::newRow("about") << InfoText::About << 4 << false << QStringLiteral("设计参考 Tamsel")
                           << QStringLiteral("date:2005.11.22");
}

void InfoTextsTest::textHasItsLineCountAndEnding() {
    QFETCH(InfoText, which);
    QFETCH(int, lines);
    QFETCH(bool, endsWithBreak);
    QFETCH(QString, first);
    QFETCH(QString, lastStart);

    const QString text = infoText(which);
    const QStringList split = linesOf(which);
    QCOMPARE(split.size(), lines);
    QCOMPARE(split.first(), first);
    QCOMPARE(text.endsWith(QStringLiteral("\r\n")), endsWithBreak);
    QVERIFY(!text.endsWith(QStringLiteral("\r\n\r\n")));
    if (lastStart.isEmpty())
        QCOMPARE(split.last(), QString());
    else
        QVERIFY2(split.last().startsWith(lastStart), qPrintable(split.last()));
}

void InfoTextsTest::lineReadsExactly_data() {
    QTest::addColumn<InfoText>("which");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("expected");

    QTest::newRow("guidance 1") << InfoText::Guidance << 0
                                << QStringLiteral("优秀的地板采暖设计宜兼顾以下几个方面：");
    QTest::newRow("guidance 2") << InfoText::Guidance << 1
                                << QStringLiteral("1、单位面积散热量与热负荷指标相匹配；");
    QTest::newRow("guidance 3") << InfoText::Guidance << 2
                                << QStringLiteral("2、地面平均温度低于最高限值；");
    QTest::newRow("guidance 4") << InfoText::Guidance << 3
                                << QStringLiteral("3、加热盘管内的水流速度大于0.25m/s；");
    QTest::newRow("guidance 5") << InfoText::Guidance << 4
                                << QStringLiteral("4、单个环路水阻力不大于30kPa。");
    QTest::newRow("characteristics 1")
        << InfoText::Characteristics << 0 << QStringLiteral(u"程序反映系统的部分特性：");
    QTest::newRow("characteristics 2")
        << InfoText::Characteristics << 1
        << QStringLiteral(
               u"1、辐射散热所占比重一般高于对流散热，"
               u"仅在地面平均温度达到43~54℃才会比重相当。室温越低散热量越大，"
               u"如果地板散热量小于建筑耗热量，室温会下降，导致耗热量减小而散热量增大，"
               u"最终室温稳定在低于设计温度的某点；反之室温会平衡在高于设计温度的某点。");
    QTest::newRow("characteristics 3")
        << InfoText::Characteristics << 2
        << QStringLiteral(u"2、地面平均温度若要求低于28℃，"
                          u"室温18℃时单位面积散热量必须<101W/平米，20℃时须<80W/平米，"
                          u"22℃时须<60W/平米。耗热量的不足部分由其它采暖方式补充。");
    QTest::newRow("characteristics 4")
        << InfoText::Characteristics << 3
        << QStringLiteral(
               u"3、在水阻力不超限的前提下，水流速度越大有利于水裹走气，"
               u"有利于减小传热热阻而增加散热量。在流速<0.6~1.5m/s时，"
               u"建议增加单个环路盘管长度，即增加单管供暖区域。关于单管长度对散热量的显著影响，"
               u"美国ASHRAE及国内机构没有进行分析，这里提请大家重视。");
    QTest::newRow("characteristics 5")
        << InfoText::Characteristics << 4
        << QStringLiteral(u"4、鉴于一个风盘末端供冷时水阻就有30~50kPa，"
                          u"而且供冷管道比摩阻还较采暖管道大，"
                          u"个人看法可将大系统水阻力提高到50kPa或以上，"
                          u"以适当提高单管长度及水速保证足够的散热量。");
    QTest::newRow("about 1") << InfoText::About << 0 << QStringLiteral("设计参考 Tamsel");
    QTest::newRow("about 2") << InfoText::About << 1 << QStringLiteral("Norvane");
    QTest::newRow("about 4") << InfoText::About << 3 << QStringLiteral("date:2005.11.22");
}

void InfoTextsTest::lineReadsExactly() {
    QFETCH(InfoText, which);
    QFETCH(int, index);
    QFETCH(QString, expected);

    const QStringList lines = linesOf(which);
    QVERIFY(index < lines.size());
    QCOMPARE(lines.at(index), expected);
}

void InfoTextsTest::linesBreakOnlyWithCrLf_data() {
    QTest::addColumn<InfoText>("which");
    QTest::addColumn<int>("breaks");

    QTest::newRow("guidance") << InfoText::Guidance << 5;
    QTest::newRow("characteristics") << InfoText::Characteristics << 4;
    QTest::newRow("about") << InfoText::About << 3;
}

void InfoTextsTest::linesBreakOnlyWithCrLf() {
    QFETCH(InfoText, which);
    QFETCH(int, breaks);

    const QString text = infoText(which);
    QCOMPARE(text.count(QChar(13)), breaks);
    QCOMPARE(text.count(QChar(10)), breaks);
    QCOMPARE(text.count(QStringLiteral("\r\n")), breaks);
}

void InfoTextsTest::punctuationIsFullWidthWhereChinese_data() {
    QTest::addColumn<InfoText>("which");
    QTest::addColumn<int>("codePoint");
    QTest::addColumn<int>("count");

    // Counted by code point, so a mangled source encoding cannot hide.
    QTest::newRow("guidance full-width colon") << InfoText::Guidance << 0xFF1A << 1;
    QTest::newRow("guidance ideographic comma") << InfoText::Guidance << 0x3001 << 4;
    QTest::newRow("guidance full-width semicolon") << InfoText::Guidance << 0xFF1B << 3;
    QTest::newRow("guidance ideographic full stop") << InfoText::Guidance << 0x3002 << 1;
    QTest::newRow("guidance no ASCII colon") << InfoText::Guidance << 0x3A << 0;
    QTest::newRow("characteristics degree Celsius") << InfoText::Characteristics << 0x2103 << 5;
    QTest::newRow("characteristics no degree sign") << InfoText::Characteristics << 0xB0 << 0;
    QTest::newRow("characteristics ASCII tilde") << InfoText::Characteristics << 0x7E << 3;
    QTest::newRow("characteristics no full-width tilde")
        << InfoText::Characteristics << 0xFF5E << 0;
    QTest::newRow("characteristics ASCII less-than") << InfoText::Characteristics << 0x3C << 4;
    QTest::newRow("characteristics full-width comma") << InfoText::Characteristics << 0xFF0C << 17;
    QTest::newRow("characteristics ideographic full stop")
        << InfoText::Characteristics << 0x3002 << 8;
    QTest::newRow("about one ASCII space") << InfoText::About << 0x20 << 1;
    QTest::newRow("about no ideographic space") << InfoText::About << 0x3000 << 0;
}

void InfoTextsTest::punctuationIsFullWidthWhereChinese() {
    QFETCH(InfoText, which);
    QFETCH(int, codePoint);
    QFETCH(int, count);

    QCOMPARE(infoText(which).count(QChar(codePoint)), count);
}

void InfoTextsTest::aboutContactLineCarriesAnAddress() {
    const QString line = linesOf(InfoText::About).at(2);
    QVERIFY(line.startsWith(QStringLiteral("e-mail:")));
    const QString address = line.mid(7);
    QVERIFY2(address.count(u'@') == 1, qPrintable(address));
    QVERIFY(!address.startsWith(u'@') && !address.endsWith(u'@'));
    QVERIFY(!address.contains(u' '));
}

void InfoTextsTest::menuItemShowsItsTextInAQuestionBox_data() {
    QTest::addColumn<InfoText>("which");

    QTest::newRow("说明") << InfoText::Guidance;
    QTest::newRow("特性") << InfoText::Characteristics;
    QTest::newRow("关于") << InfoText::About;
}

void InfoTextsTest::menuItemShowsItsTextInAQuestionBox() {
    QFETCH(InfoText, which);

    // Records message boxes; a file dialog here is a fault.
    FakeDialogs seam(FakeDialogs::Mode::Tolerant);
    showInfo(seam, nullptr, which);
    QCOMPARE(seam.messages().size(), 1);
    QCOMPARE(seam.messages()[0].icon, QMessageBox::Question);
    QCOMPARE(seam.messages()[0].title, QStringLiteral("Zorva"));
    QCOMPARE(seam.messages()[0].text, infoText(which));
}

QTEST_GUILESS_MAIN(InfoTextsTest)
#include "tst_infotexts.moc"
