// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/engine/numparse.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <string>

class NumParseTest : public QObject {
    Q_OBJECT

private slots:
    void leadingNumber_data();
    void leadingNumber();
    void readsUtf16FieldText();
    void longDigitStringsRoundCorrectly();
};

void NumParseTest::leadingNumber_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("expected");

    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("plain integer") << QByteArray("300") << 300.0;
    QTest::newRow("unit after number") << QByteArray("25mm") << 25.0;
    QTest::newRow("letters only") << QByteArray("abc") << 0.0;
    QTest::newRow("empty") << QByteArray("") << 0.0;
    QTest::newRow("blanks inside digits") << QByteArray(" 1 2\t3") << 123.0;
    QTest::newRow("line feed after sign") << QByteArray("-\n5") << -5.0;
    QTest::newRow("carriage return is no blank") << QByteArray("\r5") << 0.0;
    QTest::newRow("plus sign") << QByteArray("+7") << 7.0;
    QTest::newRow("sign alone") << QByteArray("-") << 0.0;
    QTest::newRow("point alone") << QByteArray(".") << 0.0;
    QTest::newRow("leading point") << QByteArray(".5") << 0.5;
    QTest::newRow("second point stops") << QByteArray("1.5.3") << 1.5;
    QTest::newRow("comma is no decimal separator") << QByteArray("12,5") << 12.0;
    QTest::newRow("decimal") << QByteArray("2.91") << 2.91;
    QTest::newRow("exponent E") << QByteArray("1E3") << 1000.0;
    QTest::newRow("exponent d") << QByteArray("1d2") << 100.0;
    QTest::newRow("negative exponent") << QByteArray("2e-2x") << 0.02;
    QTest::newRow("exponent with blanks") << QByteArray("1 e 5") << 1e5;
    QTest::newRow("exponent without digits") << QByteArray("1e") << 1.0;
    QTest::newRow("exponent sign without digits") << QByteArray("7E+") << 7.0;
    QTest::newRow("exponent alone") << QByteArray("e5") << 0.0;
    QTest::newRow("general text exponent form") << QByteArray("1.5E-20") << 1.5e-20;
    QTest::newRow("leading zeros") << QByteArray("00095") << 95.0;
    QTest::newRow("zeros after point") << QByteArray("0.000123") << 0.000123;
    QTest::newRow("fifteen digits") << QByteArray("123456789012345") << 123456789012345.0;
    QTest::newRow("beyond 2^53 rounds to even")
        << QByteArray("9007199254740993") << 9007199254740992.0;
    QTest::newRow("largest exact power of ten") << QByteArray("1e22") << 1e22;
    QTest::newRow("first inexact power of ten") << QByteArray("1e23") << 1e23;
    QTest::newRow("small with many places") << QByteArray("0.000000000000000000000123") << 1.23e-22;
    QTest::newRow("many digits") << QByteArray("0.1000000000000000055511151231257827") << 0.1;
    QTest::newRow("largest double")
        << QByteArray("1.7976931348623157e308") << std::numeric_limits<double>::max();
    QTest::newRow("beyond double range") << QByteArray("1e400") << inf;
    QTest::newRow("negative beyond range") << QByteArray("-1e400") << -inf;
    QTest::newRow("huge exponent digits") << QByteArray("1e99999999999999999999") << inf;
    QTest::newRow("below double range") << QByteArray("1e-400") << 0.0;
    QTest::newRow("smallest subnormal")
        << QByteArray("4.9406564584124654e-324") << std::numeric_limits<double>::denorm_min();
}

void NumParseTest::leadingNumber() {
    QFETCH(QByteArray, text);
    QFETCH(double, expected);
    const double got = zorva::parseLeadingNumber(std::string_view(text.data(), text.size()));
    QCOMPARE(got, expected);
}

void NumParseTest::readsUtf16FieldText() {
    QCOMPARE(zorva::parseLeadingNumber(std::u16string_view(u"20.5毫米")), 20.5);
    // Full-width digits are not digits of a number.
    QCOMPARE(zorva::parseLeadingNumber(std::u16string_view(u"１２")), 0.0);
    QCOMPARE(zorva::parseLeadingNumber(std::u16string_view(u" -3 1")), -31.0);
}

void NumParseTest::longDigitStringsRoundCorrectly() {
    // Halfway between 1 and the next double, then a tiny bit more: the tail
    // far beyond the kept digits must still round upwards.
    std::string text = "1.00000000000000011102230246251565404236316680908203125";
    text += std::string(900, '0');
    QCOMPARE(zorva::parseLeadingNumber(text), 1.0); // exact tie rounds to even
    text += "1";
    QCOMPARE(zorva::parseLeadingNumber(text), std::nextafter(1.0, 2.0));
    // A thousand integer digits overflow to infinity.
    QVERIFY(std::isinf(zorva::parseLeadingNumber(std::string(1000, '9'))));
}

QTEST_APPLESS_MAIN(NumParseTest)
#include "tst_numparse.moc"
