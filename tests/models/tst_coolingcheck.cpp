// SPDX-License-Identifier: GPL-3.0-or-later
// The cooling check of the design check window, through its table model: the
// floor-cooling worked examples to their printed digits (7 significant
// figures), the dew point against psychrometric tables, the supply verdict
// flipping exactly at the dew point plus the margin, and no proposed supply
// below it.

#include "core/cooling/dewpoint.h"
#include "core/wording/checkwording.h"
#include "models/check/coolingcheckmodel.h"

#include <QTest>

#include <cmath>

using namespace zorva;
using namespace zorva::models;
using Row = CoolingCheckModel::Row;

Q_DECLARE_METATYPE(zorva::FieldRecord)
Q_DECLARE_METATYPE(zorva::models::CoolingSettings)

namespace {

FieldRecord floor(const char* surfaceMm, const char* surfaceLambda, const char* spacingMm,
                  const char* lengthM) {
    FieldRecord f = FieldRecord::defaults();
    f.thickness[SurfaceLayerRow] = surfaceMm;
    f.conductivity[SurfaceLayerRow] = surfaceLambda;
    f.design[SpacingField] = spacingMm;
    f.design[LoopLengthField] = lengthM;
    return f;
}

CoolingSettings water(double supply, double ret, double humidity, double loadPerArea) {
    CoolingSettings s;
    s.roomTemp = 26;
    s.humidity = humidity;
    s.supplyTemp = supply;
    s.returnTemp = ret;
    s.dewMargin = 2;
    if (loadPerArea > 0)
        s.loadPerArea = loadPerArea;
    return s;
}

double value(const CoolingCheckModel& m, int row) {
    return m.index(row, CoolingCheckModel::ValueColumn)
        .data(CoolingCheckModel::ValueRole)
        .toDouble();
}

QString cell(const CoolingCheckModel& m, int row, int column) {
    return m.index(row, column).data().toString();
}

// Agreement to the 7 significant digits the examples print.
bool sevenDigits(double actual, double printed) {
    return std::fabs(actual - printed) <= 6e-7 * std::fabs(printed);
}

// The leading number of a cell text ("16.77 ℃").
double leading(const QString& text) {
    return text.section(u' ', 0, 0).toDouble();
}

} // namespace

class CoolingCheckTest : public QObject {
    Q_OBJECT

private slots:
    void workedExamples_data();
    void workedExamples();
    void dewPointTable_data();
    void dewPointTable();
    void surfaceVerdictsWithTheirClauses_data();
    void surfaceVerdictsWithTheirClauses();
    void supplyVerdictFlipsAtTheMargin_data();
    void supplyVerdictFlipsAtTheMargin();
    void proposalStaysAboveTheMargin_data();
    void proposalStaysAboveTheMargin();
    void notApplicableSaysWhy_data();
    void notApplicableSaysWhy();
};

void CoolingCheckTest::workedExamples_data() {
    QTest::addColumn<FieldRecord>("fields");
    QTest::addColumn<CoolingSettings>("settings");
    QTest::addColumn<QList<double>>("expected"); // K_C q_C θ_F,m θ_F,V θ_d θ_V,min q_max Q_adm
    QTest::addColumn<QString>("supplyVerdict");
    QTest::addColumn<QString>("loadVerdict");
    // Example 1: tile, 300 mm, 120 m (36 m²), 18/21 ℃, 26 ℃ 50 %, 900 W.
    QTest::newRow("1: tile 300 mm") << floor("20", "2.91", "300", "120") << water(18, 21, 0.5, 25)
                                    << QList<double>{3.009132, 19.20708, 23.25613, 22.56099,
                                                     14.77001, 16.77001, 22.96561, 691.4548}
                                    << "合格"
                                    << "不合格";
    // Example 1b: 150 mm, 36 m² (one loop of 240 m instead of two of 120 m).
    QTest::newRow("1b: tile 150 mm") << floor("20", "2.91", "150", "240") << water(18, 21, 0.5, 25)
                                     << QList<double>{4.080127, 26.04316, 22.27955, 21.337,
                                                      14.77001, 16.77001, 31.13941, 937.5539}
                                     << "合格"
                                     << "合格";
    // Example 2: carpet 10 mm λ 0.10, 150 mm, 120 m (18 m²), 16/19 ℃, 60 %, 400 W.
    QTest::newRow("2: carpet 150 mm")
        << floor("10", "0.1", "150", "120") << water(16, 19, 0.6, 400.0 / 18)
        << QList<double>{2.841306, 23.89828, 22.58596, 21.94099,
                         17.63204, 19.63204, 13.38195, 240.875}
        << "不合格"
        << "不合格";
}

void CoolingCheckTest::workedExamples() {
    QFETCH(FieldRecord, fields);
    QFETCH(CoolingSettings, settings);
    QFETCH(QList<double>, expected);
    QFETCH(QString, supplyVerdict);
    QFETCH(QString, loadVerdict);
    CoolingCheckModel m;
    m.setCheck(coolingCheck(fields, settings));
    QCOMPARE(m.rowCount(), int(CoolingCheckModel::RowCount));
    const int rows[] = {Row::CharacteristicRow, Row::OutputRow,    Row::FloorDewRow,  Row::InletRow,
                        Row::DewPointRow,       Row::MinSupplyRow, Row::MaxOutputRow, Row::LoadRow};
    for (int i = 0; i < expected.size(); ++i)
        QVERIFY2(sevenDigits(value(m, rows[i]), expected[i]),
                 qPrintable(QStringLiteral("row %1: %2 against %3")
                                .arg(rows[i])
                                .arg(value(m, rows[i]), 0, 'g', 10)
                                .arg(expected[i], 0, 'g', 10)));
    QCOMPARE(cell(m, Row::SupplyRow, CoolingCheckModel::VerdictColumn), supplyVerdict);
    QCOMPARE(cell(m, Row::LoadRow, CoolingCheckModel::VerdictColumn), loadVerdict);
    // Each number names where it comes from.
    QVERIFY(cell(m, Row::OutputRow, CoolingCheckModel::BasisColumn).contains("EN 1264-5"));
    QVERIFY(cell(m, Row::SupplyRow, CoolingCheckModel::BasisColumn).contains("JGJ 142-2012"));
    QVERIFY(cell(m, Row::DewPointRow, CoolingCheckModel::BasisColumn).contains("Magnus"));
    // The row heard by a screen reader carries the number shown.
    const QString sentence =
        m.index(Row::SupplyRow, 0).data(Qt::AccessibleDescriptionRole).toString();
    QVERIFY(sentence.contains(cell(m, Row::SupplyRow, CoolingCheckModel::ValueColumn)));
    QVERIFY(sentence.contains(supplyVerdict));
}

void CoolingCheckTest::dewPointTable_data() {
    QTest::addColumn<double>("room");
    QTest::addColumn<double>("humidity");
    QTest::addColumn<double>("dewPoint");
    QTest::newRow("26 ℃ 50 %") << 26.0 << 0.50 << 14.77;
    QTest::newRow("26 ℃ 60 %") << 26.0 << 0.60 << 17.63;
    QTest::newRow("24 ℃ 40 %") << 24.0 << 0.40 << 9.56;
    QTest::newRow("28 ℃ 70 %") << 28.0 << 0.70 << 22.01;
    QTest::newRow("25 ℃ 55 %") << 25.0 << 0.55 << 15.33;
}

void CoolingCheckTest::dewPointTable() {
    QFETCH(double, room);
    QFETCH(double, humidity);
    QFETCH(double, dewPoint);
    CoolingSettings s = CoolingSettings::defaults();
    s.roomTemp = room;
    s.humidity = humidity;
    s.supplyTemp = room - 6;
    s.returnTemp = room - 3;
    CoolingCheckModel m;
    m.setCheck(coolingCheck(FieldRecord::defaults(), s));
    QVERIFY(std::fabs(value(m, Row::DewPointRow) - dewPoint) <= 0.005);
    QVERIFY(std::fabs(value(m, Row::MinSupplyRow) - (dewPoint + 2)) <= 0.005);
}

// The check window's verdicts of the floor surface: against the dew point
// plus margin (D2 mean, D3 inlet strip, JGJ 142-2012 §3.1) and against the
// comfort limit (F1, 19 ℃ standing, EN 1264 / ISO 7730), each with its
// clause, and the floor temperature beside them by the basic cooling
// characteristic from the worked examples' K_C.
void CoolingCheckTest::surfaceVerdictsWithTheirClauses_data() {
    QTest::addColumn<FieldRecord>("fields");
    QTest::addColumn<CoolingSettings>("settings");
    QTest::addColumn<double>("floorMean");     // θ_F,m
    QTest::addColumn<QStringList>("verdicts"); // D1, D2, D3, F1
    const double kc150 = 4.080127;             // tile, 150 mm (example 1b)
    QTest::newRow("dry room, 6/9 ℃: below the comfort limit")
        << floor("20", "2.91", "150", "120") << water(6, 9, 0.1, 0)
        << 26 - kc150 * 3 / std::log(20.0 / 17.0) / 7
        << QStringList{"合格", "合格", "合格", "不合格"};
    QTest::newRow("80 %, 18/21 ℃: surface below the dew point plus margin")
        << floor("20", "2.91", "300", "120") << water(18, 21, 0.8, 0) << 23.25613
        << QStringList{"不合格", "不合格", "不合格", "合格"};
    QTest::newRow("example 2: only the supply")
        << floor("10", "0.10", "150", "120") << water(16, 19, 0.6, 0) << 22.58596
        << QStringList{"不合格", "合格", "合格", "合格"};
}

void CoolingCheckTest::surfaceVerdictsWithTheirClauses() {
    QFETCH(FieldRecord, fields);
    QFETCH(CoolingSettings, settings);
    QFETCH(double, floorMean);
    QFETCH(QStringList, verdicts);
    CoolingCheckModel m;
    m.setCheck(coolingCheck(fields, settings));
    QVERIFY(sevenDigits(value(m, Row::FloorComfortRow), floorMean));
    const int rows[] = {Row::SupplyRow, Row::FloorDewRow, Row::InletRow, Row::FloorComfortRow};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(cell(m, rows[i], CoolingCheckModel::VerdictColumn), verdicts[i]);
    QVERIFY(
        cell(m, Row::FloorDewRow, CoolingCheckModel::BasisColumn).contains("JGJ 142-2012 §3.1"));
    QVERIFY(cell(m, Row::InletRow, CoolingCheckModel::BasisColumn).contains("JGJ 142-2012 §3.1"));
    QVERIFY(cell(m, Row::FloorComfortRow, CoolingCheckModel::BasisColumn)
                .contains("EN 1264 / ISO 7730"));
    // The summary names each failing surface check; the overall verdict is
    // 不合格 whenever one of them fails.
    const QString summary = coolingSummary(*m.check());
    QCOMPARE(summary.contains(QStringLiteral("低于舒适下限")), verdicts[3] == "不合格");
    QCOMPARE(summary.contains(QStringLiteral("地面有结露风险")), verdicts[1] == "不合格");
    QCOMPARE(m.overall() == Verdict::Fail, verdicts.contains(QStringLiteral("不合格")));
}

void CoolingCheckTest::supplyVerdictFlipsAtTheMargin_data() {
    QTest::addColumn<double>("offset"); // ulps from θ_d + Δθ_s; nan for 1 ℃ below θ_d
    QTest::addColumn<QString>("verdict");
    QTest::newRow("at the limit") << 0.0 << "合格";
    QTest::newRow("one ulp below") << -1.0 << "不合格";
    QTest::newRow("one ulp above") << 1.0 << "合格";
    QTest::newRow("0.01 K below") << -0.01e6 << "不合格";
}

void CoolingCheckTest::supplyVerdictFlipsAtTheMargin() {
    QFETCH(double, offset);
    QFETCH(QString, verdict);
    const double limit = *cooling::lowestSupplyTemp(26, 0.5, 2);
    double supply = limit;
    if (std::fabs(offset) >= 1e3)
        supply = limit + offset * 1e-6;
    else if (offset != 0)
        supply = std::nextafter(limit, offset > 0 ? 100.0 : -100.0);
    CoolingCheckModel m;
    m.setCheck(coolingCheck(FieldRecord::defaults(), water(supply, supply + 3, 0.5, 0)));
    QCOMPARE(cell(m, Row::SupplyRow, CoolingCheckModel::VerdictColumn), verdict);
    // The number beside the verdict never says otherwise.
    const QString shown = cell(m, Row::SupplyRow, CoolingCheckModel::ValueColumn);
    const QString limitText =
        cell(m, Row::SupplyRow, CoolingCheckModel::LimitColumn).mid(2); // after "≥ "
    if (verdict == QStringLiteral("合格"))
        QVERIFY2(leading(shown) >= leading(limitText), qPrintable(shown + " / " + limitText));
    else
        QVERIFY2(leading(shown) < leading(limitText), qPrintable(shown + " / " + limitText));
}

void CoolingCheckTest::proposalStaysAboveTheMargin_data() {
    QTest::addColumn<double>("humidity");
    QTest::addColumn<double>("supply");
    QTest::addColumn<double>("load"); // W/m², 0: none
    QTest::newRow("50 %, no load") << 0.5 << 18.0 << 0.0;
    QTest::newRow("50 %, load beyond the dew point") << 0.5 << 18.0 << 60.0;
    QTest::newRow("50 %, small load") << 0.5 << 18.0 << 5.0;
    QTest::newRow("60 %, supply below the dew point") << 0.6 << 16.0 << 25.0;
    QTest::newRow("70 %, humid room") << 0.7 << 20.0 << 30.0;
}

void CoolingCheckTest::proposalStaysAboveTheMargin() {
    QFETCH(double, humidity);
    QFETCH(double, supply);
    QFETCH(double, load);
    CoolingCheckModel m;
    m.setCheck(coolingCheck(FieldRecord::defaults(), water(supply, supply + 3, humidity, load)));
    const QVariant proposed = m.index(Row::ProposedRow, CoolingCheckModel::ValueColumn)
                                  .data(CoolingCheckModel::ValueRole);
    const double lowest = *cooling::lowestSupplyTemp(26, humidity, 2);
    if (proposed.isValid())
        QVERIFY2(proposed.toDouble() >= lowest, qPrintable(QString::number(proposed.toDouble())));
    // A proposed water, checked again, passes the supply check.
    if (proposed.isValid()) {
        CoolingCheckModel again;
        again.setCheck(
            coolingCheck(FieldRecord::defaults(),
                         water(proposed.toDouble(), proposed.toDouble() + 3, humidity, 0)));
        QCOMPARE(cell(again, Row::SupplyRow, CoolingCheckModel::VerdictColumn),
                 QStringLiteral("合格"));
    }
}

void CoolingCheckTest::notApplicableSaysWhy_data() {
    QTest::addColumn<double>("supply");
    QTest::addColumn<double>("ret");
    QTest::addColumn<double>("humidity");
    QTest::addColumn<QString>("reason");
    QTest::newRow("return at the room temperature") << 20.0 << 26.0 << 0.5 << "回水温度 < 室内温度";
    QTest::newRow("supply above the return") << 20.0 << 18.0 << 0.5 << "回水温度 < 室内温度";
    QTest::newRow("supply at 4 ℃") << 4.0 << 7.0 << 0.5 << "4 ℃";
    QTest::newRow("humidity 0") << 18.0 << 21.0 << 0.0 << "相对湿度";
}

void CoolingCheckTest::notApplicableSaysWhy() {
    QFETCH(double, supply);
    QFETCH(double, ret);
    QFETCH(double, humidity);
    QFETCH(QString, reason);
    const CoolingCheck check =
        coolingCheck(FieldRecord::defaults(), water(supply, ret, humidity, 0));
    CoolingCheckModel m;
    m.setCheck(check);
    QCOMPARE(m.rowCount(), 0);
    QVERIFY(!check.proposedSupplyTemp);
    const QString summary = coolingSummary(check);
    QVERIFY2(summary.contains(reason), qPrintable(summary));
    QVERIFY(summary.contains(QStringLiteral("不能计算")));
}

QTEST_GUILESS_MAIN(CoolingCheckTest)
#include "tst_coolingcheck.moc"
