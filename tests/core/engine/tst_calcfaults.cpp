// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/engine/calculate.h"
#include "core/engine/checked.h"

#include <QTest>

using namespace zorva;

Q_DECLARE_METATYPE(zorva::Fault)

class CalcFaultsTest : public QObject {
    Q_OBJECT

private slots:
    void faultingInputs_data();
    void faultingInputs();
    void faultKeepsEarlierValues();
    void checkedOperations();
};

void CalcFaultsTest::faultingInputs_data() {
    // Field 0..6 design, 10+i thickness i, 20+i conductivity i.
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Fault>("fault");

    QTest::newRow("supply equals return") << int(ReturnTempField) << "50" << Fault::DivisionByZero;
    QTest::newRow("supply below return") << int(ReturnTempField) << "55" << Fault::InvalidPower;
    QTest::newRow("mean water below room") << int(RoomTempField) << "50" << Fault::InvalidPower;
    QTest::newRow("mean water equal to room")
        << int(RoomTempField) << "45" << Fault::DivisionByZero;
    QTest::newRow("zero spacing") << int(SpacingField) << "0" << Fault::DivisionByZero;
    QTest::newRow("zero diameter") << int(DiameterField) << "0" << Fault::DivisionByZero;
    QTest::newRow("negative diameter") << int(DiameterField) << "-20" << Fault::InvalidLogarithm;
    QTest::newRow("zero loop length") << int(LoopLengthField) << "0" << Fault::DivisionByZero;
    QTest::newRow("loop beyond double range") << int(LoopLengthField) << "1e400" << Fault::Overflow;
    // 125 mm and 250 mm are exact in binary, so the inner diameter is 0.
    QTest::newRow("wall half the diameter") << 13 << "125,5=250" << Fault::DivisionByZero;
    QTest::newRow("wall beyond half the diameter") << 13 << "12" << Fault::InvalidLogarithm;
    QTest::newRow("wall beyond float range") << 13 << "1e39" << Fault::Overflow;
    QTest::newRow("zero surface conductivity") << 20 << "0" << Fault::DivisionByZero;
    QTest::newRow("zero levelling conductivity") << 21 << "0" << Fault::DivisionByZero;
    QTest::newRow("zero filling conductivity") << 22 << "0" << Fault::DivisionByZero;
    QTest::newRow("zero pipe conductivity") << 23 << "0" << Fault::DivisionByZero;
    QTest::newRow("huge filling layer") << 12 << "1e307" << Fault::Overflow;
}

void CalcFaultsTest::faultingInputs() {
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(Fault, fault);

    FieldRecord f = FieldRecord::defaults();
    // "value" or "value,field=value" for a second change.
    const QStringList parts = text.split(u',');
    auto set = [&f](int index, const QString& value) {
        const std::string s = value.toStdString();
        if (index < 10)
            f.design[index] = s;
        else if (index < 20)
            f.thickness[index - 10] = s;
        else
            f.conductivity[index - 20] = s;
    };
    set(field, parts.at(0));
    if (parts.size() > 1)
        set(parts.at(1).section(u'=', 0, 0).toInt(), parts.at(1).section(u'=', 1));

    WorkingVars v;
    try {
        calculate(v, f);
        QFAIL("the run ended without an arithmetic error");
    } catch (const ArithmeticError& e) {
        QCOMPARE(e.fault(), fault);
    }
}

void CalcFaultsTest::faultKeepsEarlierValues() {
    WorkingVars v;
    FieldRecord f = FieldRecord::defaults();
    calculate(v, f);
    const double flow = v.waterFlow;
    const float shape = v.shapeFactor;

    f.design[SupplyTempField] = "45";
    f.design[ReturnTempField] = "45";
    f.design[RoomTempField] = "10";
    QVERIFY_THROWS_EXCEPTION(ArithmeticError, calculate(v, f));
    // Set before the faulting step (the first pipe-surface evaluation).
    QCOMPARE(v.supplyTemp, 45.0);
    QCOMPARE(v.roomTemp, 10.0);
    QCOMPARE(v.shapeFactor, shape);
    QVERIFY(v.heatOutput > 0); // the initial estimate
    // Not reached.
    QCOMPARE(v.waterFlow, flow);
}

void CalcFaultsTest::checkedOperations() {
    using namespace checked;
    QVERIFY_THROWS_EXCEPTION(ArithmeticError, div(0.0, 0.0));
    QVERIFY_THROWS_EXCEPTION(ArithmeticError, mul(1e300, 1e300));
    QVERIFY_THROWS_EXCEPTION(ArithmeticError, toFloat(3.5e38));
    QCOMPARE(toFloat(3.4e38), 3.4e38f);
    QVERIFY_THROWS_EXCEPTION(ArithmeticError, power(-8.0, 1.0 / 3));
    QCOMPARE(power(-2.0, 2.0), 4.0);
    QVERIFY_THROWS_EXCEPTION(ArithmeticError, power(0.0, -1.0));
    QVERIFY_THROWS_EXCEPTION(ArithmeticError, checked::log(0.0));
    QVERIFY_THROWS_EXCEPTION(ArithmeticError, divf(1.0f, 0.0f));
    try {
        div(1.0, 0.0);
    } catch (const ArithmeticError& e) {
        QCOMPARE(e.fault(), Fault::DivisionByZero);
        QCOMPARE(QByteArray(e.what()), QByteArray("division by zero"));
    }
}

QTEST_APPLESS_MAIN(CalcFaultsTest)
#include "tst_calcfaults.moc"
