// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/heatload/gb50736.h"
#include "core/heatload/gbrates.h"
#include "core/heatload/messages.h"

#include <QTest>

#include <cmath>

using namespace zorva::heatload;

Q_DECLARE_METATYPE(zorva::heatload::Fault)

namespace {

// The bedroom in Beijing of the heat-load worked example A.
RoomEnvelope bedroomA() {
    RoomEnvelope room;
    room.name = "卧室";
    room.indoorTemp = 18;
    room.floorArea = 20.0;
    room.height = 2.8;
    room.airChanges = 0.5;
    EnvelopeElement wall{.name = "外墙（北）", .area = 8.95, .u = 0.45};
    wall.orientation = Orientation::N;
    EnvelopeElement window{
        .name = "外窗（北）", .kind = ElementKind::Window, .area = 2.25, .u = 2.0};
    window.orientation = Orientation::N;
    EnvelopeElement floor{
        .name = "地面（敷设加热管）", .kind = ElementKind::Floor, .area = 20, .u = 0.5};
    floor.heatedFloor = true;
    room.elements = {wall, window, floor};
    return room;
}

Gb50736Options beijing(FloorAllowance allowance) {
    Gb50736Options options;
    options.outdoorTemp = -7.6;
    options.winterSunshine = 64;
    options.allowance = allowance;
    return options;
}

// The double-height living room in Shenyang of check case C.
RoomEnvelope livingC() {
    RoomEnvelope room;
    room.name = "客厅";
    room.indoorTemp = 18;
    room.floorArea = 30.0;
    room.height = 6.0;
    room.airChanges = 0.5;
    const auto sw = [](const char* name, ElementKind kind, double area, double u) {
        EnvelopeElement e{.name = name, .kind = kind, .area = area, .u = u};
        e.orientation = Orientation::SW;
        return e;
    };
    EnvelopeElement door = sw("入户门", ElementKind::Door, 2.1, 2.5);
    door.entrance = DoorEntrance::OneDoor;
    EnvelopeElement roof{.name = "屋顶", .kind = ElementKind::Roof, .area = 30.0, .u = 0.35};
    EnvelopeElement garage{.name = "车库隔墙",
                           .kind = ElementKind::Partition,
                           .boundary = Boundary::UnheatedSpace,
                           .area = 30.0,
                           .u = 1.2,
                           .alpha = 0.7};
    EnvelopeElement slab{.name = "地面", .kind = ElementKind::Floor, .area = 30.0, .u = 0.3};
    slab.heatedFloor = true;
    room.elements = {sw("外墙", ElementKind::OuterWall, 27.9, 0.40),
                     sw("外窗", ElementKind::Window, 6.0, 2.0),
                     door,
                     roof,
                     garage,
                     slab};
    return room;
}

Gb50736Options shenyang() {
    Gb50736Options options;
    options.outdoorTemp = -16.9;
    options.winterSunshine = 56;
    options.windRate = 0.05;
    options.storeys = 2;
    return options;
}

double quantity(const HeatLoadResult& r, const QString& name) {
    if (name.startsWith("basic ") || name.startsWith("Qe ")) {
        const int i = name.section(' ', 1).toInt();
        return name.startsWith("basic") ? r.elements.at(i).basic : r.elements.at(i).total;
    }
    const QHash<QString, double> all = {
        {"sumQj", r.transmission},
        {"additions", r.additions},
        {"QT", r.transmission + r.additions},
        {"Qinf", r.infiltration},
        {"Q", r.heatLoad},
        {"perArea", r.perArea},
        {"rho", r.airDensity},
        {"L", r.airFlow},
        {"convective", r.convectiveLoad},
        {"beta_h", r.heightRate},
        {"forLoops", r.loadForLoops},
        {"interDwelling", r.interDwelling},
    };
    return all.value(name, NAN);
}

// Half a unit of the last printed digit.
double tolerance(const QString& printed) {
    const int point = printed.indexOf('.');
    const int decimals = point < 0 ? 0 : int(printed.size()) - point - 1;
    return 0.5 * std::pow(10.0, -decimals);
}

} // namespace

class Gb50736Test : public QObject {
    Q_OBJECT

private slots:
    void workedExamples_data();
    void workedExamples();
    void oneLineChecks_data();
    void oneLineChecks();
    void neighbours_data();
    void neighbours();
    void refusedInputs_data();
    void refusedInputs();
    void breakdownAddsUp();
    void interDwellingApart_data();
    void interDwellingApart();
    void warnings();
};

void Gb50736Test::workedExamples_data() {
    QTest::addColumn<QString>("example");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("printed");
    const auto rows = [](const char* ex,
                         std::initializer_list<std::pair<const char*, const char*>> qs) {
        for (const auto& [name, printed] : qs)
            QTest::addRow("%s %s", ex, name) << QString(ex) << QString(name) << QString(printed);
    };
    // Example A, step 1: the convective load at 18 ℃.
    rows("A1", {{"basic 0", "103.1040"},
                {"Qe 0", "113.4144"},
                {"basic 1", "115.2000"},
                {"Qe 1", "126.7200"},
                {"sumQj", "218.3040"},
                {"QT", "240.1344"},
                {"additions", "21.8304"},
                {"rho", "1.3300678"},
                {"L", "28.0"},
                {"Qinf", "266.9499"},
                {"Q", "507.0843"},
                {"perArea", "25.35"},
                {"basic 2", "0.0000"}});
    // Step 2: option A, every term at 16 ℃.
    rows("A2", {{"basic 0", "95.0490"},
                {"Qe 0", "104.5539"},
                {"basic 1", "106.2000"},
                {"Qe 1", "116.8200"},
                {"QT", "221.3739"},
                {"Qinf", "246.0945"},
                {"Q", "467.4684"},
                {"perArea", "23.37"},
                {"convective", "507.0843"},
                {"forLoops", "467.4684"}});
    // Option B for comparison.
    rows("B95", {{"Q", "481.7301"}});
    rows("B90", {{"Q", "456.3759"}});
    // Check case C with every addition.
    rows("C", {{"basic 0", "367.1640"},
               {"Qe 0", "355.7819"},
               {"basic 1", "394.8000"},
               {"Qe 1", "382.5612"},
               {"basic 2", "172.7250"},
               {"Qe 2", "396.4039"},
               {"basic 3", "345.4500"},
               {"Qe 3", "352.3590"},
               {"basic 4", "829.0800"},
               {"Qe 4", "845.6616"},
               {"QT", "2332.7676"},
               {"beta_h", "0.02"},
               {"rho", "1.3783678"},
               {"L", "90.0"},
               {"Qinf", "1142.7772"},
               {"Q", "3475.5448"},
               {"perArea", "115.85"},
               {"convective", "3686.8241"}});
}

void Gb50736Test::workedExamples() {
    QFETCH(QString, example);
    QFETCH(QString, name);
    QFETCH(QString, printed);
    HeatLoadResult r;
    if (example == "A1") {
        r = computeGb50736(bedroomA(), beijing(FloorAllowance::None));
    } else if (example == "A2") {
        r = computeGb50736(bedroomA(), beijing(FloorAllowance::LowerIndoorTemp));
    } else if (example.startsWith("B")) {
        Gb50736Options options = beijing(FloorAllowance::ShareOfLoad);
        options.allowanceShare = example.mid(1).toDouble() / 100;
        r = computeGb50736(bedroomA(), options);
        QVERIFY(r.warnings.empty()); // 0.90 and 0.95 are both inside the range
    } else {
        r = computeGb50736(livingC(), shenyang());
    }
    QVERIFY2(r.ok(), r.ok() ? "" : describe(bedroomA(), r.faults.front()).c_str());
    const double got = quantity(r, name);
    QVERIFY2(std::fabs(got - printed.toDouble()) <= tolerance(printed),
             qPrintable(QString("%1 = %2, sheet %3").arg(name).arg(got, 0, 'f', 7).arg(printed)));
}

void Gb50736Test::oneLineChecks_data() {
    QTest::addColumn<QString>("check");
    QTest::addColumn<double>("got");
    QTest::addColumn<double>("expected");
    QTest::newRow("partial 0.40") << "" << partialHeatingFactor(0.40) << 0.54;
    QTest::newRow("partial 0.50") << "" << partialHeatingFactor(0.50) << 0.54 + 0.10 / 0.15 * 0.175;
    QTest::newRow("partial 0.75 whole room") << "" << partialHeatingFactor(0.75) << 1.0;
    QTest::newRow("partial 0.20 end") << "" << partialHeatingFactor(0.20) << 0.30;
    QTest::newRow("partial 0.10 held") << "" << partialHeatingFactor(0.10) << 0.30;
    QTest::newRow("partial 0.55") << "" << partialHeatingFactor(0.55) << 0.715;
    QTest::newRow("height 13 m floor, cap")
        << "" << heightRate(13, HeatingSystem::Floor, false) << 0.08;
    QTest::newRow("height 6 m radiators")
        << "" << heightRate(6, HeatingSystem::Radiators, false) << 0.04;
    QTest::newRow("height 20 m radiators, cap")
        << "" << heightRate(20, HeatingSystem::Radiators, false) << 0.15;
    QTest::newRow("height 4 m") << "" << heightRate(4, HeatingSystem::Floor, false) << 0.0;
    QTest::newRow("height stairwell") << "" << heightRate(9, HeatingSystem::Floor, true) << 0.0;
    QTest::newRow("two doors, 6 storeys") << "" << doorRate(DoorEntrance::TwoDoors, 6) << 4.80;
    QTest::newRow("one door, 2 storeys") << "" << doorRate(DoorEntrance::OneDoor, 2) << 1.30;
    QTest::newRow("public main entrance") << "" << doorRate(DoorEntrance::PublicMain, 9) << 5.0;
    QTest::newRow("balcony door") << "" << doorRate(DoorEntrance::None, 9) << 0.0;
    QTest::newRow("S, sunshine 17 %") << "" << orientationRange(Orientation::S, 17).preset << 0.0;
    QTest::newRow("S, sunshine 64 %") << "" << orientationRange(Orientation::S, 64).preset << -0.15;
    QTest::newRow("S, sunshine 64 %, low end")
        << "" << orientationRange(Orientation::S, 64).low << -0.30;
    QTest::newRow("E, sunshine 34.9 %")
        << "" << orientationRange(Orientation::E, 34.9).preset << 0.0;
    QTest::newRow("E, sunshine 35 %") << "" << orientationRange(Orientation::E, 35).preset << -0.05;
    QTest::newRow("NW") << "" << orientationRange(Orientation::NW, {}).preset << 0.10;
    QTest::newRow("SE, sunshine 20 %, low end")
        << "" << orientationRange(Orientation::SE, 20).low << -0.10;
    QTest::newRow("density at -7.6") << "" << airDensity(-7.6) << 353 / 265.4;
}

void Gb50736Test::oneLineChecks() {
    QFETCH(double, got);
    QFETCH(double, expected);
    QVERIFY2(std::fabs(got - expected) < 1e-12, qPrintable(QString::number(got, 'g', 17)));
}

// A partition to a heated neighbour counts from 5 K of difference, or when
// its flow passes 10 % of the room's load (§5.2.5); a warmer neighbour gives
// no gain.
void Gb50736Test::neighbours_data() {
    QTest::addColumn<int>("allowance");
    QTest::addColumn<double>("neighbourTemp");
    QTest::addColumn<double>("area");
    QTest::addColumn<bool>("counted");
    QTest::addColumn<double>("load");
    using A = FloorAllowance;
    // K 1.5: 1.5·10·6 = 90 W on top of 507.0843 W.
    QTest::newRow("6 K") << int(A::None) << 12.0 << 10.0 << true << 507.0843 + 90;
    QTest::newRow("5 K exactly") << int(A::None) << 13.0 << 10.0 << true << 507.0843 + 75;
    // 1.5·10·2 = 30 W is under 50.71 W, a tenth of the load.
    QTest::newRow("2 K, small flow") << int(A::None) << 16.0 << 10.0 << false << 507.0843;
    // 1.5·20·2 = 60 W is over it.
    QTest::newRow("2 K, large flow") << int(A::None) << 16.0 << 20.0 << true << 507.0843 + 60;
    QTest::newRow("warmer neighbour") << int(A::None) << 20.0 << 10.0 << false << 507.0843;
    // Option A: the 5 K test on the design temperatures, the flow at 16 ℃:
    // 1.5·10·4 = 60 W.
    QTest::newRow("option A, 6 K")
        << int(A::LowerIndoorTemp) << 12.0 << 10.0 << true << 467.4684 + 60;
}

void Gb50736Test::neighbours() {
    QFETCH(int, allowance);
    QFETCH(double, neighbourTemp);
    QFETCH(double, area);
    QFETCH(bool, counted);
    QFETCH(double, load);
    RoomEnvelope room = bedroomA();
    room.elements.push_back({.name = "隔墙",
                             .kind = ElementKind::Partition,
                             .boundary = Boundary::HeatedNeighbour,
                             .area = area,
                             .u = 1.5,
                             .adjacentTemp = neighbourTemp});
    const HeatLoadResult r = computeGb50736(room, beijing(FloorAllowance(allowance)));
    QVERIFY(r.ok());
    QCOMPARE(r.elements.back().counted, counted);
    QVERIFY2(std::fabs(r.heatLoad - load) < 0.5e-4,
             qPrintable(QString::number(r.heatLoad, 'f', 6)));
    const bool warned = std::any_of(r.warnings.begin(), r.warnings.end(), [&](const Notice& n) {
        return n.warning == Warning::NeighbourWarmer && n.element == 3;
    });
    QCOMPARE(warned, neighbourTemp > 18);
}

void Gb50736Test::refusedInputs_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("element");
    QTest::addColumn<Fault>("fault");
    QTest::newRow("indoor at outdoor") << "indoor -7.6" << -1 << Fault::IndoorNotAboveOutdoor;
    QTest::newRow("outdoor below absolute zero")
        << "outdoor -300" << -1 << Fault::OutdoorImpossible;
    QTest::newRow("no floor area") << "floorArea 0" << -1 << Fault::FloorAreaNotPositive;
    QTest::newRow("no height") << "height 0" << -1 << Fault::HeightNotPositive;
    QTest::newRow("negative volume") << "volume -1" << -1 << Fault::VolumeNegative;
    QTest::newRow("negative area") << "area -1" << 0 << Fault::AreaNegative;
    QTest::newRow("zero K") << "u 0" << 1 << Fault::UNotPositive;
    QTest::newRow("alpha above 1") << "alpha 1.2" << 0 << Fault::AlphaOutsideRange;
    QTest::newRow("negative air changes") << "airChanges -0.5" << -1 << Fault::AirChangesNegative;
    QTest::newRow("negative air flow") << "airFlow -1" << -1 << Fault::AirFlowNegative;
    QTest::newRow("NaN K") << "u nan" << 0 << Fault::NotFinite;
    QTest::newRow("infinite indoor") << "indoor inf" << -1 << Fault::NotFinite;
    QTest::newRow("negative wind") << "wind -0.05" << -1 << Fault::RateNegative;
    QTest::newRow("negative other rate") << "otherRate -0.1" << 1 << Fault::RateNegative;
    QTest::newRow("share above 1") << "share 1.5" << -1 << Fault::ShareOutsideRange;
    QTest::newRow("heated share 0") << "heatedShare 0" << -1 << Fault::ShareOutsideRange;
    QTest::newRow("outer door, no storeys") << "door 0" << 3 << Fault::StoreysNotPositive;
    QTest::newRow("a load beyond a double") << "area 1e308" << -1 << Fault::NotFinite;
}

void Gb50736Test::refusedInputs() {
    QFETCH(QString, change);
    QFETCH(int, element);
    QFETCH(Fault, fault);
    RoomEnvelope room = bedroomA();
    Gb50736Options options = beijing(FloorAllowance::LowerIndoorTemp);
    const QString what = change.section(' ', 0, 0);
    const double v = change.section(' ', 1).toDouble();
    const double value = change.endsWith("nan") ? NAN : change.endsWith("inf") ? INFINITY : v;
    if (what == "indoor")
        room.indoorTemp = value;
    else if (what == "outdoor")
        options.outdoorTemp = value;
    else if (what == "floorArea")
        room.floorArea = value;
    else if (what == "height")
        room.height = value;
    else if (what == "volume")
        room.volume = value;
    else if (what == "area")
        room.elements[0].area = value;
    else if (what == "u")
        room.elements[std::size_t(element)].u = value;
    else if (what == "alpha")
        room.elements[0].alpha = value;
    else if (what == "airChanges")
        room.airChanges = value;
    else if (what == "airFlow")
        room.airFlow = value;
    else if (what == "wind")
        options.windRate = value;
    else if (what == "otherRate")
        room.elements[1].otherRate = value;
    else if (what == "heatedShare")
        room.heatedShare = value;
    else if (what == "share") {
        options.allowance = FloorAllowance::ShareOfLoad;
        options.allowanceShare = value;
    } else if (what == "door") {
        EnvelopeElement door{.name = "外门", .kind = ElementKind::Door, .area = 2, .u = 2.5};
        door.entrance = DoorEntrance::OneDoor;
        room.elements.push_back(door);
        options.storeys = int(value);
    }
    const HeatLoadResult r = computeGb50736(room, options);
    QVERIFY(!r.ok());
    QCOMPARE(r.faults.front().fault, fault);
    QCOMPARE(r.faults.front().element, element);
    QCOMPARE(r.heatLoad, 0.0);
    QVERIFY(r.elements.empty());
    QVERIFY(!describe(room, r.faults.front()).empty());
}

// Whatever the allowance, the three parts add up to the load shown.
void Gb50736Test::breakdownAddsUp() {
    for (FloorAllowance a :
         {FloorAllowance::None, FloorAllowance::LowerIndoorTemp, FloorAllowance::ShareOfLoad}) {
        RoomEnvelope room = livingC();
        room.heatedShare = 0.5;
        Gb50736Options options = shenyang();
        options.allowance = a;
        options.intermittentRate = 0.2;
        const HeatLoadResult r = computeGb50736(room, options);
        QVERIFY(r.ok());
        QCOMPARE(r.transmission + r.additions + r.infiltration, r.heatLoad);
        // Partial heating applies to floor heating only.
        QCOMPARE(r.partialFactor, a == FloorAllowance::None ? 1.0 : 0.54 + 0.10 / 0.15 * 0.175);
    }
    // Intermittent heating on example A's convective transmission:
    // 240.1344 × 1.2 = 288.16128 W, of which 69.85728 W are additions.
    Gb50736Options options = beijing(FloorAllowance::None);
    options.intermittentRate = 0.2;
    const HeatLoadResult r = computeGb50736(bedroomA(), options);
    QVERIFY(std::fabs(r.additions - 69.85728) < 1e-9);
    QVERIFY(std::fabs(r.heatLoad - (288.16128 + 266.9499)) < 0.5e-4);
}

// The inter-dwelling allowance goes to the loops only, capped at half the
// room's load: 1.5·F·6 against 0.5 × 467.4684 = 233.7342 W.
void Gb50736Test::interDwellingApart_data() {
    QTest::addColumn<double>("area");
    QTest::addColumn<double>("allowance");
    QTest::addColumn<bool>("capped");
    QTest::newRow("10 m²") << 10.0 << 90.0 << false;
    QTest::newRow("40 m², capped") << 40.0 << 233.7342 << true;
}

void Gb50736Test::interDwellingApart() {
    QFETCH(double, area);
    QFETCH(double, allowance);
    QFETCH(bool, capped);
    RoomEnvelope room = bedroomA();
    EnvelopeElement shared{.name = "分户墙",
                           .kind = ElementKind::Partition,
                           .boundary = Boundary::HeatedNeighbour,
                           .area = area,
                           .u = 1.5,
                           .adjacentTemp = 18};
    shared.otherDwelling = true;
    room.elements.push_back(shared);
    Gb50736Options options = beijing(FloorAllowance::LowerIndoorTemp);
    options.interDwelling = true;
    const HeatLoadResult r = computeGb50736(room, options);
    QVERIFY(r.ok());
    QVERIFY(std::fabs(r.heatLoad - 467.4684) < 0.5e-4);
    QVERIFY(std::fabs(r.interDwelling - allowance) < 0.5e-4);
    QCOMPARE(r.loadForLoops, r.heatLoad + r.interDwelling);
    const bool warned = std::any_of(r.warnings.begin(), r.warnings.end(), [](const Notice& n) {
        return n.warning == Warning::InterDwellingCapped;
    });
    QCOMPARE(warned, capped);
}

void Gb50736Test::warnings() {
    RoomEnvelope room = bedroomA();
    room.elements[0].orientationRate = 0.15; // N allows 0 … 10 %
    room.elements[1].orientation = Orientation::None;
    Gb50736Options options = beijing(FloorAllowance::ShareOfLoad);
    options.allowanceShare = 0.8;
    options.windRate = 0.02;
    const HeatLoadResult r = computeGb50736(room, options);
    QVERIFY(r.ok());
    QList<QPair<int, Warning>> got;
    for (const Notice& n : r.warnings)
        got.append({n.element, n.warning});
    QCOMPARE(got, (QList<QPair<int, Warning>>{{-1, Warning::WindRateOutsideRange},
                                              {-1, Warning::ShareOutsideRange},
                                              {0, Warning::OrientationRateOutsideRange},
                                              {1, Warning::OrientationMissing}}));
    // The typed rate is used all the same; the window without a direction
    // gets none.
    QCOMPARE(r.elements[0].orientationRate, 0.15);
    QCOMPARE(r.elements[1].orientationRate, 0.0);
}

QTEST_APPLESS_MAIN(Gb50736Test)
#include "tst_gb50736.moc"
