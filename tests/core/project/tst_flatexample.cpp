// SPDX-License-Identifier: GPL-3.0-or-later
// examples/flat.zorvaproj, opened as a user opens it and computed, against
// numbers worked out by hand from the formulas (docs/project.md, "Worked
// example"): the GB 50736 loads with the JGJ 142 allowance, the spacing,
// loops and lengths of each room, the bathroom's supplementary heat and
// the design supply temperature of EN 1264-3.

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

private:
    Project flat_;
    ProjectResult result_;
};

void FlatExampleTest::initTestCase() {
    const QString path = QStringLiteral(ZORVA_TESTS_SOURCE_DIR "/../examples/flat.zorvaproj");
    QVERIFY(!path.isEmpty());
    const Result<io::ProjectDocument> read = io::readProjectDocumentFile(path);
    QVERIFY2(read.ok(), qPrintable(read.error()));
    QCOMPARE(read->version, 2);
    flat_ = read->project;
    QCOMPARE(flat_.settings.method, method::Method::En1264);
    QCOMPARE(flat_.rooms.size(), std::size_t(5));
    result_ = computeFlat(flat_);
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
        QCOMPARE(r.rooms[i].load.heatLoad, result_.rooms[i].load.heatLoad);
    QCOMPARE(r.manifolds[0].design->designSupplyTemp,
             result_.manifolds[0].design->designSupplyTemp);
    QCOMPARE(r.manifolds[0].totals.flowKgh, result_.manifolds[0].totals.flowKgh);
}

QTEST_GUILESS_MAIN(FlatExampleTest)
#include "tst_flatexample.moc"
