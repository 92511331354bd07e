// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/heatload/en12831.h"

#include <QTest>

#include <cmath>

using namespace zorva::heatload;

Q_DECLARE_METATYPE(zorva::heatload::Fault)

namespace {

// The room of the heat-load worked example B: example A's bedroom with a
// side wall to an unheated stairwell.
RoomEnvelope roomB() {
    RoomEnvelope room;
    room.name = "卧室";
    room.indoorTemp = 20;
    room.floorArea = 20.0;
    room.height = 2.8;
    room.airChanges = 0.5;
    room.elements = {
        {.name = "外墙（北）", .area = 8.95, .u = 0.45},
        {.name = "外窗（北）", .kind = ElementKind::Window, .area = 2.25, .u = 2.0},
        {.name = "楼梯间隔墙",
         .kind = ElementKind::Partition,
         .boundary = Boundary::UnheatedSpace,
         .area = 5.0 * 2.8,
         .u = 1.0},
    };
    return room;
}

En12831Options central() {
    En12831Options options;
    options.outdoorTemp = -12;
    return options;
}

double quantity(const HeatLoadResult& r, const QString& name) {
    if (name.startsWith("H ") || name.startsWith("Phi ")) {
        const ElementLoad& row = r.elements.at(name.section(' ', 1).toInt());
        return name.startsWith("H ") ? row.conductance : row.total;
    }
    const QHash<QString, double> all = {
        {"HT", r.transmissionConductance},
        {"PhiT", r.transmission},
        {"HV", r.ventilationConductance},
        {"PhiV", r.infiltration},
        {"PhiHL", r.heatLoad},
        {"perArea", r.perArea},
        {"Phihu", r.additions},
        {"U+dU 0", r.elements.at(0).u},
    };
    return all.value(name, NAN);
}

double tolerance(const QString& printed) {
    const int point = printed.indexOf('.');
    const int decimals = point < 0 ? 0 : int(printed.size()) - point - 1;
    return 0.5 * std::pow(10.0, -decimals);
}

} // namespace

class En12831Test : public QObject {
    Q_OBJECT

private slots:
    void workedExample_data();
    void workedExample();
    void adjacentTemperature_data();
    void adjacentTemperature();
    void refusedInputs_data();
    void refusedInputs();
};

void En12831Test::workedExample_data() {
    QTest::addColumn<double>("heatingUp");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("printed");
    const std::pair<const char*, const char*> rows[] = {
        {"U+dU 0", "0.55"},   {"H 0", "4.9225"}, {"Phi 0", "157.52"}, {"H 1", "4.7250"},
        {"Phi 1", "151.20"},  {"H 2", "7.7000"}, {"Phi 2", "246.40"}, {"HT", "17.3475"},
        {"PhiT", "555.12"},   {"HV", "9.52"},    {"PhiV", "304.64"},  {"PhiHL", "859.76"},
        {"perArea", "42.99"}, {"Phihu", "0"},
    };
    for (const auto& [name, printed] : rows)
        QTest::newRow(name) << 0.0 << QString(name) << QString(printed);
    QTest::newRow("phi_hu 6: Phi_hu") << 6.0 << "Phihu"
                                      << "120";
    QTest::newRow("phi_hu 6: Phi_HL") << 6.0 << "PhiHL"
                                      << "979.76";
}

void En12831Test::workedExample() {
    QFETCH(double, heatingUp);
    QFETCH(QString, name);
    QFETCH(QString, printed);
    RoomEnvelope room = roomB();
    room.heatingUpFlux = heatingUp;
    const HeatLoadResult r = computeEn12831(room, central());
    QVERIFY(r.ok());
    QCOMPARE(r.transmission + r.additions + r.infiltration, r.heatLoad);
    const double got = quantity(r, name);
    QVERIFY2(std::fabs(got - printed.toDouble()) <= tolerance(printed),
             qPrintable(QString("%1 = %2, sheet %3").arg(name).arg(got, 0, 'f', 7).arg(printed)));
}

// f_x from the neighbour's temperature, (θ_int − θ_a)/(θ_int − θ_e); a
// warmer neighbour gives 0, a typed f_x wins.
void En12831Test::adjacentTemperature_data() {
    QTest::addColumn<int>("boundary");
    QTest::addColumn<double>("adjacent");
    QTest::addColumn<double>("typed");
    QTest::addColumn<double>("fx");
    QTest::addColumn<bool>("warned");
    QTest::newRow("space at 4 ℃") << int(Boundary::KnownTemperature) << 4.0 << -1.0 << 0.5 << false;
    QTest::newRow("neighbour at 20 ℃")
        << int(Boundary::HeatedNeighbour) << 20.0 << -1.0 << 0.0 << false;
    QTest::newRow("warmer neighbour")
        << int(Boundary::HeatedNeighbour) << 24.0 << -1.0 << 0.0 << true;
    QTest::newRow("ground") << int(Boundary::Ground) << 0.0 << -1.0 << 0.3 << false;
    QTest::newRow("typed 0.8") << int(Boundary::UnheatedSpace) << 0.0 << 0.8 << 0.8 << false;
}

void En12831Test::adjacentTemperature() {
    QFETCH(int, boundary);
    QFETCH(double, adjacent);
    QFETCH(double, typed);
    QFETCH(double, fx);
    QFETCH(bool, warned);
    RoomEnvelope room = roomB();
    room.elements[2].boundary = Boundary(boundary);
    room.elements[2].adjacentTemp = adjacent;
    if (typed >= 0)
        room.elements[2].fx = typed;
    const HeatLoadResult r = computeEn12831(room, central());
    QVERIFY(r.ok());
    QVERIFY(std::fabs(r.elements[2].factor - fx) < 1e-15);
    QVERIFY(std::fabs(r.elements[2].total - 14.0 * 1.1 * fx * 32) < 1e-9);
    QCOMPARE(!r.warnings.empty(), warned);
}

void En12831Test::refusedInputs_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<Fault>("fault");
    QTest::newRow("indoor below outdoor") << "outdoor 25" << Fault::IndoorNotAboveOutdoor;
    QTest::newRow("negative f_x") << "fx -0.1" << Fault::FxNegative;
    QTest::newRow("negative thermal bridge") << "dU -0.05" << Fault::ThermalBridgeNegative;
    QTest::newRow("negative heating-up") << "hu -1" << Fault::HeatingUpNegative;
    QTest::newRow("NaN outdoor") << "outdoor nan" << Fault::NotFinite;
    QTest::newRow("a load beyond a double") << "area 1e308" << Fault::NotFinite;
}

void En12831Test::refusedInputs() {
    QFETCH(QString, change);
    QFETCH(Fault, fault);
    RoomEnvelope room = roomB();
    En12831Options options = central();
    const QString what = change.section(' ', 0, 0);
    const double value = change.endsWith("nan") ? NAN : change.section(' ', 1).toDouble();
    if (what == "outdoor")
        options.outdoorTemp = value;
    else if (what == "fx")
        room.elements[0].fx = value;
    else if (what == "dU")
        options.thermalBridgeAddition = value;
    else if (what == "hu")
        room.heatingUpFlux = value;
    else if (what == "area")
        room.elements[0].area = value;
    const HeatLoadResult r = computeEn12831(room, options);
    QVERIFY(!r.ok());
    QCOMPARE(r.faults.front().fault, fault);
    QCOMPARE(r.heatLoad, 0.0);
}

QTEST_APPLESS_MAIN(En12831Test)
#include "tst_en12831.moc"
