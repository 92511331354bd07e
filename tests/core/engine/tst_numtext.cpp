// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/engine/numparse.h"
#include "core/engine/numtext.h"

#include <QTest>

#include <cmath>
#include <limits>

class NumTextTest : public QObject {
    Q_OBJECT

private slots:
    void generalText_data();
    void generalText();
    void generalTextReadsBack_data();
    void generalTextReadsBack();
    void patternText_data();
    void patternText();
};

void NumTextTest::generalText_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("integer") << 50.0 << "50";
    QTest::newRow("one decimal") << 90.6 << "90.6";
    QTest::newRow("negative") << -31.0 << "-31";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("sum of layers") << 20.1 + 20.2 + 50.3 << "90.6";
    QTest::newRow("binary noise rounded away") << 0.1 + 0.2 << "0.3";
    QTest::newRow("third") << 1.0 / 3 << "0.333333333333333";
    QTest::newRow("two thirds") << 2.0 / 3 << "0.666666666666667";
    QTest::newRow("fifteen digits fixed") << 123456789012345.0 << "123456789012345";
    QTest::newRow("largest whole fixed") << 999999999999999.0 << "999999999999999";
    QTest::newRow("negative fifteen digits") << -123456789012345.0 << "-123456789012345";
    QTest::newRow("sixteen digits exponent") << 1e15 << "1E+15";
    QTest::newRow("negative sixteen digits") << -1e15 << "-1E+15";
    QTest::newRow("large") << 1e20 << "1E+20";
    QTest::newRow("large with decimals") << -1.25e20 << "-1.25E+20";
    QTest::newRow("rounded to fifteen") << 1234567890123456.0 << "1.23456789012346E+15";
    QTest::newRow("small fixed") << 0.00001 << "0.00001";
    QTest::newRow("smallest fixed") << 1e-15 << "0.000000000000001";
    QTest::newRow("small exponent") << 1e-16 << "1E-16";
    QTest::newRow("small with decimals") << 1.5e-20 << "1.5E-20";
    QTest::newRow("three digit exponent") << 1e300 << "1E+300";
    // The sixteenth digit a 5 whose exact value lies below it.
    QTest::newRow("just below a midpoint") << 0.1234567890123445 << "0.123456789012344";
    QTest::newRow("nines carry to a new digit") << 9.999999999999998 << "10";
    QTest::newRow("below the sixteenth digit") << 999999999999999.4 << "999999999999999";
    QTest::newRow("carry into the sixteenth digit") << 999999999999999.6 << "1E+15";
    QTest::newRow("product just below a whole") << 4.35 * 100 << "435";
    QTest::newRow("small just below") << 1.4999999999999999e-5 << "0.000015";
    // Rounded to fifteen digits this lies beyond the double range, so it
    // reads back as an infinity: the one place where the text does not.
    QTest::newRow("largest double")
        << std::numeric_limits<double>::max() << "1.79769313486232E+308";
}

void NumTextTest::generalText() {
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(zorva::generalText(value).str()), expected);
}

void NumTextTest::generalTextReadsBack_data() {
    QTest::addColumn<double>("value");
    QTest::newRow("decimal") << 82.5;
    QTest::newRow("long fraction") << 1.0 / 7;
    QTest::newRow("large") << 6.02214076e23;
    QTest::newRow("tiny") << -1.602176634e-19;
    QTest::newRow("subnormal") << 5e-320;
    QTest::newRow("near the top of the range") << 1.7976931348623e308;
}

void NumTextTest::generalTextReadsBack() {
    QFETCH(double, value);
    const double back = zorva::parseLeadingNumber(zorva::generalText(value).view());
    // Equal at fifteen significant digits.
    QCOMPARE(QString::number(back, 'g', 15), QString::number(value, 'g', 15));
}

void NumTextTest::patternText_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("expected");

    QTest::newRow("half rounds up") << 18.25 << 1 << "18.3";
    QTest::newRow("decimal half, binary below") << 2.675 << 2 << "2.68";
    QTest::newRow("decimal half 1.005") << 1.005 << 2 << "1.01";
    QTest::newRow("whole number one decimal") << 18.0 << 1 << "18.0";
    QTest::newRow("negative") << -5.0 << 1 << "-5.0";
    QTest::newRow("negative half away from zero") << -0.5 << 0 << "-1";
    QTest::newRow("zero") << 0.0 << 1 << "0.0";
    QTest::newRow("leading zero kept") << 0.4 << 2 << "0.40";
    QTest::newRow("small rounds down") << 0.04 << 1 << "0.0";
    QTest::newRow("small rounds up") << 0.05 << 1 << "0.1";
    QTest::newRow("tiny") << 1e-9 << 2 << "0.00";
    QTest::newRow("negative rounding to zero keeps sign") << -0.04 << 1 << "-0.0";
    QTest::newRow("carry into new digit") << 99.95 << 1 << "100.0";
    QTest::newRow("carry at units") << 9.5 << 0 << "10";
    QTest::newRow("half to whole") << 0.5 << 0 << "1";
    QTest::newRow("flow") << 286.577 << 0 << "287";
    QTest::newRow("float value") << double(92.58041f) << 1 << "92.6";
    QTest::newRow("beyond fifteen digits") << 1e20 << 1 << "100000000000000000000.0";
    QTest::newRow("digits past fifteen are zeros")
        << 123456789012345678.0 << 0 << "123456789012346000";
}

void NumTextTest::patternText() {
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(zorva::patternText(value, decimals).str()), expected);
}

QTEST_APPLESS_MAIN(NumTextTest)
#include "tst_numtext.moc"
