// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/engine/en1264.h"
#include "core/engine/en1264tables.h"

#include <QTest>

#include <cmath>

using namespace zorva;

Q_DECLARE_METATYPE(zorva::En1264Applicability)

namespace {

// The worked examples of the EN 1264-2 type A data sheet.
En1264Inputs exampleInputs(const QString& name) {
    if (name == "a")
        return {0.15, 0.020, 0.002, 0.35, 0.045, 1.2, 0.10, 45, 35, 20, 29, 0.92, 20.0};
    if (name == "c")
        return {0.45, 0.017, 0.002, 0.35, 0.10, 1.2, 0, 45, 35, 20, 29, 0.92, 20.0};
    if (name == "d")
        return {0.10, 0.016, 0.002, 0.22, 0.12, 1.4, 0.05, 35, 28, 20, 29, {}, {}};
    FieldRecord f = FieldRecord::defaults(); // "b"; "e" at 200 mm and 45/35/20 ℃
    if (name == "e")
        f.design = {"20", "45", "35", "200", "90", "20", "120"};
    return en1264Inputs(f, 29);
}

double quantity(const En1264Result& r, const QString& name) {
    // clang-format off
    const QHash<QString, double> all = {
        {"aB", r.coveringFactor}, {"aT", r.aT}, {"aU", r.aU}, {"aD", r.aD}, {"mT", r.mT},
        {"mU", r.mU}, {"mD", r.mD}, {"Pi", r.product}, {"bracket", r.wallBracket},
        {"B", r.systemCoeff}, {"su*", r.thickScreedLimit}, {"Pi*", r.thickProduct},
        {"B*", r.thickSystemCoeff}, {"KH*", r.thickCharacteristic},
        {"KH'", r.characteristicAtTable}, {"KH", r.characteristic}, {"dTH", r.logMeanExcess},
        {"q", r.heatFlux}, {"tFm", r.meanFloorTemp}, {"su/lE", r.screedResistance},
        {"BG", r.limitB}, {"nG", r.limitN}, {"phi", r.limitPhi}, {"fG", r.limitWideFactor},
        {"dTHG", r.limitExcess}, {"qG", r.limitFlux}, {"qGmax", r.limitFluxMax},
        {"Ro", r.upwardResistance}, {"qu", r.downwardLoss.value_or(NAN)},
        {"R", r.coveringResistance}, {"su", r.screedAbove}, {"lE", r.screedConductivity},
        {"within", double(r.withinLimit)}, {"thick", double(r.thickScreedRule)},
        {"wide", double(r.wideSpacingRule)}, {"bySu/T", double(r.limitBySpacingRatio)},
        {"flags", double(r.flags)},
    };
    // clang-format on
    return all.value(name, NAN);
}

} // namespace

class En1264Test : public QObject {
    Q_OBJECT

private slots:
    void workedExamples_data();
    void workedExamples();
    void tableCorners_data();
    void tableCorners();
    void applicability_data();
    void applicability();
    void fillingLayerRaisedFirst();
};

void En1264Test::workedExamples_data() {
    QTest::addColumn<QString>("example");
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("expected");
    const auto rows = [](const char* ex, std::initializer_list<std::pair<const char*, double>> qs) {
        for (const auto& [name, value] : qs)
            QTest::addRow("%s %s", ex, name) << QString(ex) << QString(name) << value;
    };
    rows("a", {{"aB", 0.5979879},  {"aT", 1.156},     {"aU", 1.035},       {"aD", 1.029},
               {"mT", -1},         {"mU", 0},         {"mD", 0},           {"Pi", 0.5172906},
               {"bracket", 0},     {"B", 6.7},        {"su*", 0.100},      {"KH", 3.465847},
               {"Ro", 0.2300926},  {"dTH", 19.57615}, {"q", 67.84795},     {"tFm", 26.32507},
               {"su/lE", 0.0375},  {"BG", 76.3},      {"nG", 0.076},       {"phi", 1},
               {"dTHG", 28.38932}, {"qG", 98.39302},  {"qGmax", 100.0073}, {"qu", 16.96882},
               {"within", 1},      {"thick", 0},      {"wide", 0},         {"bySu/T", 0},
               {"flags", 0}});
    rows("b", {{"R", 0.006872852}, {"su", 0.050},       {"lE", 1.457426},  {"aB", 1.055629},
               {"aT", 1.224227},   {"aU", 1.038332},    {"aD", 1.052450},  {"mT", -3},
               {"mU", -0.5},       {"mD", 0},           {"Pi", 0.5646218}, {"bracket", -0.04665022},
               {"B", 6.826547},    {"su*", 0.150},      {"KH", 3.854417},  {"Ro", 0.1337725},
               {"dTH", 26.68848},  {"q", 102.8685},     {"tFm", 27.23379}, {"su/lE", 0.0343071},
               {"BG", 34.55348},   {"nG", 0.2480775},   {"phi", 1.246996}, {"dTHG", 23.04954},
               {"qG", 88.84253},   {"qGmax", 124.7087}, {"within", 0},     {"flags", 0}});
    rows("c", {{"aB", 1.057651},      {"aT", 1.23},       {"aU", 1.030},
               {"aD", 1.056},         {"mT", -4},         {"mU", -5.5},
               {"mD", -0.75},         {"Pi", 0.3770243},  {"B", 6.7},
               {"su*", 0.1875},       {"KH'", 2.526063},  {"KH", 2.105052},
               {"dTH", 19.57615},     {"q", 41.20883},    {"tFm", 24.01980},
               {"su/lE", 0.08333333}, {"BG", 61.5},       {"nG", 0.129},
               {"fG", 1.010226},      {"dTHG", 39.46278}, {"qG", 83.07121},
               {"Ro", 0.1759259},     {"qu", 7.880110},   {"within", 1},
               {"wide", 1},           {"bySu/T", 1},      {"flags", double(SpacingWide)}});
    rows("d", {{"aB", 0.7874338}, {"aT", 1.188},      {"aU", 1.050},
               {"aD", 1.025},     {"mT", -0.3333333}, {"mU", -7.5},
               {"mD", -1},        {"Pi", 0.5030737},  {"bracket", 0.2428485},
               {"B", 6.513324},   {"Pi*", 0.5546387}, {"B*", 6.494776},
               {"KH*", 3.602255}, {"KH", 3.425952},   {"dTH", 11.13570},
               {"q", 38.15039},   {"tFm", 23.74764},  {"BG", 100},
               {"nG", 0},         {"dTHG", 29.18896}, {"qG", 100}});
    rows("e", {{"aU", 1.049625},
               {"aD", 1.045175},
               {"mT", -1.666667},
               {"Pi", 0.7354577},
               {"B", 6.809618},
               {"KH", 5.008186},
               {"dTH", 19.57615},
               {"q", 98.04101},
               {"tFm", 28.83899},
               {"BG", 60.44563},
               {"nG", 0.1253081},
               {"dTHG", 17.24433},
               {"qG", 86.36281},
               {"within", 0}});
}

void En1264Test::workedExamples() {
    QFETCH(QString, example);
    QFETCH(QString, name);
    QFETCH(double, expected);
    const En1264Result r = en1264TypeA(exampleInputs(example));
    QVERIFY(r.applicable());
    const double got = quantity(r, name);
    // Half a unit in the fourth significant digit; zero stays exactly zero.
    const double unit =
        expected == 0 ? 0 : std::pow(10, std::floor(std::log10(std::fabs(expected))) - 3);
    QVERIFY2(std::fabs(got - expected) <= unit / 2,
             qPrintable(QString("%1 = %2, sheet %3").arg(name).arg(got, 0, 'g', 10).arg(expected)));
}

void En1264Test::tableCorners_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<double>("row");
    QTest::addColumn<double>("column");
    QTest::addColumn<double>("expected");
    QTest::newRow("aT first") << "aT" << 0.0 << 0.0 << 1.23;
    QTest::newRow("aT last") << "aT" << 0.15 << 0.0 << 1.134;
    QTest::newRow("aT held above") << "aT" << 0.4 << 0.0 << 1.134;
    QTest::newRow("aU top left") << "aU" << 0.05 << 0.0 << 1.069;
    QTest::newRow("aU top right") << "aU" << 0.05 << 0.15 << 1.037;
    QTest::newRow("aU bottom left") << "aU" << 0.375 << 0.0 << 1.030;
    QTest::newRow("aU bottom right") << "aU" << 0.375 << 0.15 << 1.015;
    QTest::newRow("aU held outside") << "aU" << 0.01 << 0.9 << 1.037;
    // Halfway in both directions: (1.063 + 1.050 + 1.057 + 1.046) / 4.
    QTest::newRow("aU bilinear") << "aU" << 0.125 << 0.025 << 1.054;
    QTest::newRow("aD top left") << "aD" << 0.05 << 0.0 << 1.013;
    QTest::newRow("aD bottom right") << "aD" << 0.375 << 0.15 << 1.042;
    QTest::newRow("BG top left") << "BG" << 0.05 << 0.01 << 85.0;
    QTest::newRow("BG bottom left") << "BG" << 0.375 << 0.01 << 11.5;
    QTest::newRow("BG bottom right") << "BG" << 0.375 << 0.0792 << 58.3;
    QTest::newRow("BG held below") << "BG" << 0.375 << 0.001 << 11.5;
    QTest::newRow("nG top left") << "nG" << 0.05 << 0.01 << 0.008;
    QTest::newRow("nG bottom left") << "nG" << 0.375 << 0.01 << 0.422;
    QTest::newRow("nG bottom right") << "nG" << 0.375 << 0.0792 << 0.142;
    QTest::newRow("nG extra row") << "nG" << 0.2625 << 0.0375 << 0.190;
    QTest::newRow("by s_u/T first") << "BGr" << 0.173 << 0.0 << 27.5;
    QTest::newRow("by s_u/T last") << "BGr" << 0.75 << 0.0 << 100.0;
    QTest::newRow("by s_u/T held above") << "nGr" << 1.2 << 0.0 << 0.0;
}

void En1264Test::tableCorners() {
    QFETCH(QString, table);
    QFETCH(double, row);
    QFETCH(double, column);
    QFETCH(double, expected);
    using namespace en1264;
    const double got = table == "aT"    ? tableAT(row)
                       : table == "aU"  ? tableAU(row, column)
                       : table == "aD"  ? tableAD(row, column)
                       : table == "BG"  ? tableBG(row, column)
                       : table == "nG"  ? tableNG(row, column)
                       : table == "BGr" ? tableBGBySpacingRatio(row)
                                        : tableNGBySpacingRatio(row);
    if (table == "aU" && column == 0.025)
        QVERIFY(std::fabs(got - expected) < 1e-12);
    else
        QCOMPARE(got, expected); // grid points and held ends are exact
}

void En1264Test::applicability_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<double>("value");
    QTest::addColumn<En1264Applicability>("applicability");
    QTest::addColumn<unsigned>("flags");
    using A = En1264Applicability;
    QTest::newRow("no screed") << "su" << 0.0 << A::NoScreedAbovePipe << 0u;
    QTest::newRow("thin screed") << "su" << 0.005 << A::Applicable
                                 << unsigned(ScreedThin | ScreedRatioBelowTables);
    QTest::newRow("supply below return") << "supply" << 34.0 << A::TemperatureOrder << 0u;
    QTest::newRow("return at room") << "return" << 20.0 << A::TemperatureOrder << 0u;
    QTest::newRow("zero screed conductivity") << "lE" << 0.0 << A::InvalidConstruction << 0u;
    QTest::newRow("wall at half the pipe") << "sR" << 0.010 << A::InvalidConstruction << 0u;
    QTest::newRow("pipe narrower than two reference walls")
        << "D" << 0.004 << A::OutsideMethodNumbers << 0u;
    QTest::newRow("small pipe") << "D" << 0.0079 << A::Applicable << unsigned(DiameterOutsideRange);
    QTest::newRow("large pipe") << "D" << 0.031 << A::Applicable << unsigned(DiameterOutsideRange);
    QTest::newRow("close spacing") << "T" << 0.04 << A::Applicable << unsigned(SpacingBelowTables);
    QTest::newRow("heavy covering")
        << "R" << 0.2 << A::Applicable << unsigned(CoveringOutsideTables);
    QTest::newRow("conductive screed")
        << "lE" << 5.0 << A::Applicable << unsigned(ScreedRatioBelowTables);
}

void En1264Test::applicability() {
    QFETCH(QString, change);
    QFETCH(double, value);
    QFETCH(En1264Applicability, applicability);
    QFETCH(unsigned, flags);
    En1264Inputs in = exampleInputs("a");
    double* fields[] = {&in.screedAbove,   &in.supplyTemp, &in.returnTemp, &in.screedConductivity,
                        &in.wallThickness, &in.diameter,   &in.spacing,    &in.coveringResistance};
    const QStringList names = {"su", "supply", "return", "lE", "sR", "D", "T", "R"};
    *fields[names.indexOf(change)] = value;
    if (change == "D") // keep the wall to a quarter of the pipe at most
        in.wallThickness = std::min(in.wallThickness, value / 4);
    const En1264Result r = en1264TypeA(in);
    QCOMPARE(r.applicability, applicability);
    QCOMPARE(r.flags, flags);
    QCOMPARE(std::isfinite(r.heatFlux) && r.heatFlux > 0, r.applicable());
}

void En1264Test::fillingLayerRaisedFirst() {
    // A 60 mm pipe in a 50 mm filling layer: the layer becomes 60 mm, so only
    // the 20 mm levelling layer lies above the pipe.
    FieldRecord f = FieldRecord::defaults();
    f.design[DiameterField] = "60";
    const En1264Inputs in = en1264Inputs(f, 29);
    QCOMPARE(in.screedAbove, 0.02);
    QVERIFY(std::fabs(in.screedConductivity - 1.84) < 1e-12);
    QCOMPARE(in.diameter, 0.06);
    // Equal supply and return: the mean excess over the room.
    En1264Inputs level = exampleInputs("a");
    level.supplyTemp = level.returnTemp = 40;
    QCOMPARE(en1264TypeA(level).logMeanExcess, 20.0);
}

QTEST_APPLESS_MAIN(En1264Test)
#include "tst_en1264.moc"
