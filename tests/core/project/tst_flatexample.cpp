// SPDX-License-Identifier: GPL-3.0-or-later
// examples/flat.zorvaproj, opened as a user opens it and computed, against
// numbers worked out by hand from the formulas (docs/project.md, "Worked
// example"): the GB 50736 loads with the JGJ 142 allowance, the spacing,
// loops and lengths of each room, the bathroom's supplementary heat and
// the design supply temperature of EN 1264-3. The lengths by hand are the
// estimates A/T + 2·l_A, computed on the flat without its floor plan; with
// the plan the routed lengths replace them (routedRooms).

#include "core/io/citytablefile.h"
#include "core/io/projectfile.h"
#include "core/project/compute.h"

#include <QTest>

#include <cmath>

using namespace zorva;
using namespace zorva::project;

namespace {

bool near(double got, double expected, double relative) {
    return std::fabs(got - expected) <= relative * std::max(1.0, std::fabs(expected));
}

// Q_j = K·F·(t_n − 2 + 7.6), Q_e = Q_j·(1 + β_ch), ρ_wn = 353/265.4,
// Q_inf = 0.28·ρ_wn·0.5·A·2.8·(t_n − 2 + 7.6): the sums of each room's
// walls, windows and roof as listed in the file, evaluated in double
// precision apart from the program (docs/project.md, the table of loads).
struct HandRoom {
    const char* name;
    double basic;
    double additions;
    double infiltration;
    double load;
    double spacing;
    int loops;
    double length; // each loop, m
};

constexpr HandRoom kRooms[] = {
    {"客厅", 1646.592, -129.3312, 432.4588901281085, 1949.7196901281086, 0.20, 2, 76},
    {"主卧", 844.2192, -66.7644, 186.0474183571967, 963.5022183571966, 0.15, 1, 12.5 / 0.15 + 12},
    {"次卧", 427.632, 27.4704, 132.89101311228336, 587.9934131122834, 0.25, 1, 50.4},
    {"厨房", 283.044, 19.4052, 77.33205847776942, 379.7812584777694, 0.30, 1, 26},
    {"卫生间", 266.5872, 18.7272, 68.92313561416731, 354.2375356141673, 0.10, 1, 34},
};

ProjectResult computeFlat(const Project& p) {
    const io::CityTableLoad cities = io::loadBuiltinCityTable();
    ComputeOptions options;
    options.cities = &*cities;
    return computeProject(p, options);
}

} // namespace

class FlatExampleTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void rooms_data();
    void rooms();
    void bathroomShortfall();
    void designSupply();
    void savedAndOpenedAgain();
    void routedRooms_data();
    void routedRooms();

private:
    Project flat_;
    ProjectResult result_; // without the floor plan: the estimated lengths
    ProjectResult routed_; // with it
};

void FlatExampleTest::initTestCase() {
    // From the source tree, wherever the suite runs (QFINDTESTDATA looks
    // beside the build's relative source path and misses under ctest).
    const QString path = QStringLiteral(ZORVA_TESTS_SOURCE_DIR "/../examples/flat.zorvaproj");
    const Result<io::ProjectDocument> read = io::readProjectDocumentFile(path);
    QVERIFY2(read.ok(), qPrintable(read.error()));
    QCOMPARE(read->version, 2);
    flat_ = read->project;
    QCOMPARE(flat_.settings.method, method::Method::En1264);
    QCOMPARE(flat_.rooms.size(), std::size_t(5));
    Project estimated = flat_;
    for (Room& room : estimated.rooms)
        room.plan = {};
    result_ = computeFlat(estimated);
    routed_ = computeFlat(flat_);
    QCOMPARE(*result_.outdoorTemp, -7.6); // 北京, GB 50736-2012 Appendix A
    QCOMPARE(*result_.winterSunshine, 64.0);
}

void FlatExampleTest::rooms_data() {
    QTest::addColumn<int>("room");
    for (int i = 0; i < 5; ++i)
        QTest::newRow(kRooms[i].name) << i;
}

void FlatExampleTest::rooms() {
    QFETCH(int, room);
    const HandRoom& hand = kRooms[room];
    const RoomResult& r = result_.rooms[std::size_t(room)];
    QCOMPARE(QString::fromStdString(r.design.name), QString::fromUtf8(hand.name));
    QVERIFY(r.designed());
    const heatload::HeatLoadResult& load = *r.load.computed;
    QVERIFY2(near(load.transmission, hand.basic, 1e-12),
             qPrintable(QString::number(load.transmission, 'g', 17)));
    QVERIFY(near(load.additions, hand.additions, 1e-12));
    QVERIFY(near(load.infiltration, hand.infiltration, 1e-12));
    QVERIFY2(near(r.load.heatLoad, hand.load, 1e-12),
             qPrintable(QString::number(r.load.heatLoad, 'g', 17)));
    QCOMPARE(r.design.spacing, hand.spacing);
    QCOMPARE(int(r.design.loops.size()), hand.loops);
    const ManifoldResult& m = result_.manifolds[0];
    for (int n = 0; n < hand.loops; ++n) {
        const ProjectLoop& loop = m.loops[r.loops[std::size_t(n)]];
        QCOMPARE(QString::fromStdString(loop.name),
                 QStringLiteral("%1-%2").arg(QString::fromUtf8(hand.name)).arg(n + 1));
        QVERIFY(near(loop.figures.length, hand.length, 1e-12));
        QVERIFY(loop.computed);
        QVERIFY(loop.figures.withinLimit);
        QVERIFY(loop.figures.pressureDrop < 30);
    }
}

// The bathroom's floor gives at most K_H(0.10)·Δθ_H at 45/40/25 ℃ with
// K_H = 6.7·a_B·1.188^(1 − 0.10/0.075) for its tiles (R_λ,B 0.05).
void FlatExampleTest::bathroomShortfall() {
    const RoomResult& bath = result_.rooms[4];
    QCOMPARE(bath.design.status, rooms::RoomStatus::Shortfall);
    const double aB = (1 / 10.8 + 0.045) / (1 / 10.8 + 0.045 / 1.2 + 0.05);
    const double q = 6.7 * aB * std::pow(1.188, 1 - 0.10 / 0.075) * 5 / std::log(20.0 / 15);
    QVERIFY(near(q, 84.00253621724332, 1e-12));
    QVERIFY2(near(bath.supplementaryHeat, kRooms[4].load - q * 2.6, 1e-9),
             qPrintable(QString::number(bath.supplementaryHeat, 'g', 12)));
    QVERIFY(near(result_.totals.supplementaryHeat, bath.supplementaryHeat, 1e-9));
    double sum = 0;
    for (const HandRoom& r : kRooms)
        sum += r.load;
    QVERIFY(near(result_.totals.heatLoad, sum, 1e-12));
}

// The living room sets the supply: θ_i + q/K_H(0.20) + σ_des/2 with
// K_H = 6.7·a_B·1.156^(1 − 0.20/0.075).
void FlatExampleTest::designSupply() {
    const en1264::ManifoldDesign& d = *result_.manifolds[0].design;
    QVERIFY(d.designed());
    QCOMPARE(d.designRoom, std::optional<std::size_t>(0));
    const double aB = (1 / 10.8 + 0.045) / (1 / 10.8 + 0.045 / 1.2 + 0.10);
    const double kh = 6.7 * aB * std::pow(1.156, 1 - 0.20 / 0.075);
    const double supply = 20 + kRooms[0].load / 28.0 / kh + 2.5;
    QVERIFY(near(supply, 44.629757285561226, 1e-12));
    QVERIFY2(near(d.designSupplyTemp, supply, 1e-9),
             qPrintable(QString::number(d.designSupplyTemp, 'g', 12)));
    QVERIFY(!result_.manifolds[0].designAboveSupply);
    for (const ProjectLoop& l : result_.manifolds[0].loops)
        QCOMPARE(l.figures.supplyTemp, d.designSupplyTemp);
}

// Saved and opened again, the flat gives the same bits.
void FlatExampleTest::savedAndOpenedAgain() {
    const Result<QByteArray> bytes = io::projectDocumentBytes(flat_);
    QVERIFY2(bytes.ok(), qPrintable(bytes.error()));
    const Result<io::ProjectDocument> again = io::readProjectDocument(*bytes);
    QVERIFY2(again.ok(), qPrintable(again.error()));
    QCOMPARE(io::projectDocumentText(again->project), *bytes);
    const ProjectResult r = computeFlat(again->project);
    for (std::size_t i = 0; i < r.rooms.size(); ++i)
        QCOMPARE(r.rooms[i].load.heatLoad, routed_.rooms[i].load.heatLoad);
    QCOMPARE(r.manifolds[0].design->designSupplyTemp,
             routed_.manifolds[0].design->designSupplyTemp);
    QCOMPARE(r.manifolds[0].totals.flowKgh, routed_.manifolds[0].totals.flowKgh);
    QCOMPARE(r.manifolds[0].totals.maxPressureDrop, routed_.manifolds[0].totals.maxPressureDrop);
}

// Every room of the flat has an outline whose area less its no-pipe area
// (built in along a whole wall) is the room's heated area; its loops are
// laid at the designed spacing and the loop table carries the routed
// lengths, within 5 % of A'/T plus the leader pipe outside the heated
// area. A' is the heated area whose pipe the rings can lay: the outermost
// ring keeps the clearance c from the walls, d = c − T/2 more than the
// share A/T gives it, so for a right-angled outline of perimeter P
// A' = A − P·d + 4·d² (d > 0).
void FlatExampleTest::routedRooms_data() {
    QTest::addColumn<int>("room");
    QTest::addColumn<double>("perimeter"); // of the heated part, m
    const double p[] = {2 * (6 + 6.75 - 4.4 / 6), 2 * (4.2 + 3.6 - 2.62 / 4.2),
                        2 * (3.0 + 3.6 - 2.2 / 3.0), 2 * (3.0 + 1.6), 2 * (1.8 + 2.4 - 1.72 / 1.8)};
    for (int i = 0; i < 5; ++i)
        QTest::newRow(kRooms[i].name) << i << p[i];
}

void FlatExampleTest::routedRooms() {
    QFETCH(int, room);
    QFETCH(double, perimeter);
    const HandRoom& hand = kRooms[room];
    const RoomResult& r = routed_.rooms[std::size_t(room)];
    QCOMPARE(r.plan.state, PlanState::Routed);
    QVERIFY2(r.plan.lengthsUsed, r.plan.note.c_str());
    QCOMPARE(int(r.plan.layout->loops.size()), hand.loops);
    QCOMPARE(r.design.spacing, hand.spacing);
    double heated = 0, leaders = 0, routed = 0;
    for (int n = 0; n < hand.loops; ++n) {
        const layout::RoutedLoop& l = r.plan.layout->loops[std::size_t(n)];
        const ProjectLoop& loop = routed_.manifolds[0].loops[r.loops[std::size_t(n)]];
        QCOMPARE(loop.figures.length, l.routedLength);
        QCOMPARE(r.plan.estimates[std::size_t(n)], hand.length);
        QVERIFY(loop.computed);
        heated += l.heatedArea;
        leaders += (layout::length(l.supplyLeader) + layout::length(l.returnLeader) +
                    layout::length(l.supplyConnection) + layout::length(l.returnConnection)) /
                   1000;
        routed += l.routedLength;
    }
    const double area = flat_.rooms[std::size_t(room)].heatedArea;
    QVERIFY(near(heated, area, 1e-6));
    const double d = std::max(0.0, 0.1 - hand.spacing / 2);
    const double expected = (area - perimeter * d + 4 * d * d) / hand.spacing + leaders;
    QVERIFY2(
        std::fabs(routed - expected) <= 0.05 * expected,
        qPrintable(QStringLiteral("routed %1 m, A/T + leaders %2 m").arg(routed).arg(expected)));
}

QTEST_GUILESS_MAIN(FlatExampleTest)
#include "tst_flatexample.moc"
