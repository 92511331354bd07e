// SPDX-License-Identifier: GPL-3.0-or-later
// The standards' characteristic fields of the curve window: the EN 1264-2
// lines fall with spacing and covering, the limit curves lie where the
// method puts them and at the printed digits of the EN 1264-2 example (a);
// the cooling lines rise with the temperature difference and the dew-point
// line stands at the published dew point of the room air.

#include "core/engine/en1264.h"
#include "models/curves/standardfield.h"

#include <QTest>

#include <algorithm>
#include <cmath>

using namespace zorva;
using namespace zorva::models;

namespace {

// The floor of EN 1264-2 example (a) in the two windows' fields: a 10 mm
// surface layer of λ 0.1 (R_λ,B 0.10), 45 mm levelling of λ 1.2 above a
// filling layer as thick as the pipe (s_u 0.045, λ_E 1.2), pipe 20 × 2 mm
// of λ 0.35 at 150 mm, 45/35/20 ℃.
FieldRecord exampleA() {
    FieldRecord f = FieldRecord::defaults();
    f.design[RoomTempField] = "20";
    f.design[SupplyTempField] = "45";
    f.design[ReturnTempField] = "35";
    f.design[SpacingField] = "150";
    f.design[DiameterField] = "20";
    f.thickness = {"10", "45", "20", "2"};
    f.conductivity = {"0.1", "1.2", "1.2", "0.35"};
    return f;
}

// The same example typed straight into the method.
En1264Inputs exampleAInputs() {
    En1264Inputs in;
    in.spacing = 0.15;
    in.diameter = 0.020;
    in.wallThickness = 0.002;
    in.wallConductivity = 0.35;
    in.screedAbove = 0.045;
    in.screedConductivity = 1.2;
    in.coveringResistance = 0.10;
    in.supplyTemp = 45;
    in.returnTemp = 35;
    in.roomTemp = 20;
    in.floorLimit = 29;
    return in;
}

std::vector<const PlotSeries*> linesByParameter(const FieldPlot& plot) {
    std::vector<const PlotSeries*> lines;
    for (const PlotSeries& s : plot.series)
        if (s.kind == PlotSeries::Kind::Line)
            lines.push_back(&s);
    std::sort(lines.begin(), lines.end(),
              [](auto* a, auto* b) { return a->parameter < b->parameter; });
    return lines;
}

bool near(double value, double expected, double relative) {
    return std::abs(value - expected) <= relative * std::abs(expected);
}

} // namespace

class StandardFieldTest : public QObject {
    Q_OBJECT

private slots:
    void outputFallsWithSpacingAndCovering_data();
    void outputFallsWithSpacingAndCovering();
    void limitCurveFollowsTheMethod_data();
    void limitCurveFollowsTheMethod();
    void exampleAPrintedDigits_data();
    void exampleAPrintedDigits();
    void coolingRisesAndStopsAtTheDewPoint_data();
    void coolingRisesAndStopsAtTheDewPoint();
};

void StandardFieldTest::outputFallsWithSpacingAndCovering_data() {
    QTest::addColumn<QString>("field"); // "design:<index>=<text>" or empty
    QTest::addColumn<int>("spacingLines");
    QTest::addColumn<int>("coveringLines");
    QTest::newRow("defaults (300 mm, R 0.0069)") << QString() << 5 << 5;
    QTest::newRow("175 mm adds a line") << "design:3=175" << 6 << 5;
    QTest::newRow("room 22 ℃") << "design:0=22" << 5 << 5;
    QTest::newRow("surface λ 0.2: R 0.10") << "conductivity:0=0.2" << 5 << 4;
}

void StandardFieldTest::outputFallsWithSpacingAndCovering() {
    QFETCH(QString, field);
    QFETCH(int, spacingLines);
    QFETCH(int, coveringLines);
    FieldRecord f = FieldRecord::defaults();
    if (!field.isEmpty()) {
        const int index = field.section(u':', 1).section(u'=', 0, 0).toInt();
        const std::string text = field.section(u'=', 1).toStdString();
        (field.startsWith(QLatin1String("design")) ? f.design[std::size_t(index)]
                                                   : f.conductivity[std::size_t(index)]) = text;
    }
    const StandardField sf = en1264FieldOf(f, RoomCategory::Residential);
    QVERIFY(sf.valid);
    QVERIFY(sf.clause.startsWith(QStringLiteral("EN 1264-2")));
    for (const FieldPlot* plot : {&sf.spacing, &sf.covering}) {
        const auto lines = linesByParameter(*plot);
        QCOMPARE(int(lines.size()), plot == &sf.spacing ? spacingLines : coveringLines);
        QCOMPARE(std::count_if(lines.begin(), lines.end(), [](auto* l) { return l->current; }), 1);
        QVERIFY(plot->title.contains(QStringLiteral("EN 1264-2")));
        for (std::size_t k = 1; k < lines.size(); ++k) {
            const auto& wider = lines[k]->points;
            const auto& closer = lines[k - 1]->points;
            QCOMPARE(wider.size(), closer.size());
            QCOMPARE(wider.front().y(), 0.0); // q = 0 at Δθ_H = 0
            for (std::size_t i = 1; i < wider.size(); ++i) {
                QCOMPARE(wider[i].x(), closer[i].x());
                QVERIFY2(wider[i].y() < closer[i].y(),
                         qPrintable(lines[k]->name + QStringLiteral(" at ") +
                                    QString::number(wider[i].x())));
            }
        }
    }
}

void StandardFieldTest::limitCurveFollowsTheMethod_data() {
    QTest::addColumn<double>("excess");
    QTest::newRow("Δθ_H 5 K") << 5.0;
    QTest::newRow("Δθ_H 20 K") << 20.0;
    QTest::newRow("Δθ_H 40 K, the last") << 40.0;
}

void StandardFieldTest::limitCurveFollowsTheMethod() {
    QFETCH(double, excess);
    const En1264Result r = en1264TypeA(exampleAInputs());
    QVERIFY(r.applicable());
    const double expected = r.limitPhi * r.limitB * std::pow(excess / r.limitPhi, r.limitN);

    const StandardField sf = en1264FieldOf(exampleA(), RoomCategory::Residential);
    QCOMPARE(sf.floorLimit, 29.0);
    // The 150 mm curve of the spacing family, and the one curve of the
    // covering family at the design's 150 mm.
    for (const FieldPlot* plot : {&sf.spacing, &sf.covering}) {
        const PlotSeries* curve = plot->find(PlotSeries::Kind::LimitCurve, 0.15);
        QVERIFY(curve != nullptr);
        const auto at = std::find_if(curve->points.begin(), curve->points.end(),
                                     [excess](QPointF p) { return p.x() == excess; });
        QVERIFY(at != curve->points.end());
        QVERIFY2(near(at->y(), expected, 1e-12),
                 qPrintable(QStringLiteral("%1 against %2").arg(at->y()).arg(expected)));
    }
}

void StandardFieldTest::exampleAPrintedDigits_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    // EN 1264-2 type A, example (a): ΔθH,G 28.38932 K, q_G 98.39302 W/m²;
    // ΔθH 19.57615 K, q 67.84795 W/m²; q_G,max 100.0073 W/m².
    QTest::newRow("limit point") << int(PlotSeries::Kind::LimitPoints) << 28.38932 << 98.39302;
    QTest::newRow("design point") << int(PlotSeries::Kind::DesignPoint) << 19.57615 << 67.84795;
    QTest::newRow("q_G,max") << int(PlotSeries::Kind::Limit) << 0.0 << 100.0073;
}

void StandardFieldTest::exampleAPrintedDigits() {
    QFETCH(int, kind);
    QFETCH(double, x);
    QFETCH(double, y);
    const StandardField sf = en1264FieldOf(exampleA(), RoomCategory::Residential);
    for (const FieldPlot* plot : {&sf.spacing, &sf.covering}) {
        bool found = false;
        for (const PlotSeries& s : plot->series) {
            if (int(s.kind) != kind)
                continue;
            for (const QPointF& p : s.points)
                found = found || (std::abs(p.x() - x) < 5e-6 && std::abs(p.y() - y) < 5e-5);
        }
        QVERIFY2(found, qPrintable(plot->family));
    }
}

void StandardFieldTest::coolingRisesAndStopsAtTheDewPoint_data() {
    QTest::addColumn<double>("room");
    QTest::addColumn<double>("humidity");
    QTest::addColumn<double>("dewPoint"); // published psychrometric value, ℃
    QTest::newRow("26 ℃ 50 %") << 26.0 << 50.0 << 14.8;
    QTest::newRow("26 ℃ 60 %") << 26.0 << 60.0 << 17.6;
    QTest::newRow("24 ℃ 50 %") << 24.0 << 50.0 << 12.9;
}

void StandardFieldTest::coolingRisesAndStopsAtTheDewPoint() {
    QFETCH(double, room);
    QFETCH(double, humidity);
    QFETCH(double, dewPoint);
    const StandardField sf = coolingFieldOf(FieldRecord::defaults(), {room, humidity});
    QVERIFY(sf.valid);
    QVERIFY(sf.dewPoint);
    QVERIFY2(std::abs(*sf.dewPoint - dewPoint) < 0.06, qPrintable(QString::number(*sf.dewPoint)));
    QVERIFY(sf.clause.startsWith(QStringLiteral("EN 1264-5")));

    // The dew-point line: the supply at θ_d + 2 K (JGJ 142-2012 §3.1), the
    // return σ above it, as a log-mean under-temperature of the room.
    const double supply = *sf.dewPoint + 2;
    const double rise = sf.returnTemp - sf.supplyTemp;
    QCOMPARE(rise, 3.0);
    const double dewX = rise / std::log((room - supply) / (room - supply - rise));
    const QString dewText = QStringLiteral("露点 %1 ℃").arg(dewPoint, 0, 'f', 1);

    for (const FieldPlot* plot : {&sf.spacing, &sf.covering}) {
        QVERIFY(plot->title.contains(QStringLiteral("EN 1264-5")));
        const auto lines = linesByParameter(*plot);
        QVERIFY(lines.size() >= 4);
        for (const PlotSeries* line : lines)
            for (std::size_t i = 1; i < line->points.size(); ++i) {
                QVERIFY(line->points[i].x() > line->points[i - 1].x());
                QVERIFY(line->points[i].y() > line->points[i - 1].y());
            }
        const PlotSeries* dew = plot->find(PlotSeries::Kind::Limit, *sf.dewPoint);
        QVERIFY(dew != nullptr);
        QVERIFY2(dew->name.contains(dewText), qPrintable(dew->name));
        QCOMPARE(dew->points.size(), std::size_t(2));
        QVERIFY(near(dew->points[0].x(), dewX, 1e-12));
        QCOMPARE(dew->points[1].x(), dew->points[0].x()); // vertical
    }
}

QTEST_GUILESS_MAIN(StandardFieldTest)
#include "tst_standardfield.moc"
