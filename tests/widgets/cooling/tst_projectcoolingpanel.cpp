// SPDX-License-Identifier: GPL-3.0-or-later
// The project window in summer: the worked examples of docs/cooling.md laid
// as project rooms reach the cooling tables to their printed digits; the
// dew point follows a humidity typed into the table; no proposed supply
// lies below the dew point plus margin over random rooms; the heating
// tables of a both-seasons project are those of heating alone; the season,
// margin and water edits each undo and redo; bad cells are refused with the
// reason. With ZORVA_SCREENSHOT set to a file name, `screenshot` writes the
// window in both seasons.

#include "core/project/project.h"
#include "models/cooling/coolingroomtablemodel.h"
#include "models/cooling/coolingwatertablemodel.h"
#include "models/project/looptablemodel.h"
#include "models/project/roomtablemodel.h"
#include "support/fakedialogs.h"
#include "widgets/cooling/projectcoolingpanel.h"
#include "widgets/cooling/seasonbar.h"
#include "widgets/project/projectwindow.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <cmath>
#include <memory>
#include <random>

using namespace zorva;
using namespace zorva::project;
using models::CoolingRoomTableModel;
using models::CoolingWaterTableModel;
using Col = models::CoolingRoomTableModel::Column;

namespace {

const QString kFlat = QStringLiteral(ZORVA_TESTS_SOURCE_DIR "/../examples/flat.zorvaproj");

struct Fixture {
    FakeDialogs dialogs;
    ui::ProjectWindow window{dialogs};
    ui::ProjectCoolingPanel* panel = window.findChild<ui::ProjectCoolingPanel*>();
    ui::SeasonBar* bar = window.findChild<ui::SeasonBar*>();
    models::ProjectDocument& doc = window.document();

    void load(Project p) {
        doc.load(std::move(p));
        doc.waitForResult();
    }
    QVariant value(int row, int column) const {
        return panel->roomModel()->data(panel->roomModel()->index(row, column),
                                        CoolingRoomTableModel::ValueRole);
    }
    QString text(int row, int column) const {
        return panel->roomModel()->index(row, column).data().toString();
    }
    void chooseSeason(Season season) {
        QComboBox* box = bar->seasonBox();
        const int index = box->findData(int(season));
        box->setCurrentIndex(index);
        emit box->activated(index);
        doc.waitForResult();
    }
};

// Seven significant digits, as docs/cooling.md prints them.
bool digits7(double got, double expected) {
    return std::fabs(got - expected) <= 0.5e-6 * std::fabs(expected) + 1e-12;
}

// One room of `loops` loops of 120 m at `spacing` on the default
// construction over a heated room, as the worked examples lay it.
Project example(double spacing, int loops, double covering, double supply, double humidity,
                double load) {
    Project p = newProject();
    p.settings.heatLoad.method = LoadMethod::Typed;
    p.settings.cooling.season = Season::Both;
    p.manifolds[0].cooling.supplyTemp = supply;
    p.manifolds[0].cooling.returnTemp = supply + 3;
    Room room;
    room.name = "房间";
    room.indoorTemp = 20;
    room.floorArea = room.heatedArea = spacing * 120 * loops;
    room.coveringResistance = covering;
    room.typedLoad = 1200;
    room.overrides.spacing = spacing;
    room.overrides.loopCount = loops;
    room.overrides.loopLengths.assign(std::size_t(loops), 120.0);
    room.cooling.humidity = humidity;
    room.cooling.sensibleLoad = load;
    p.rooms.push_back(room);
    return p;
}

QStringList cells(const QAbstractItemModel& m) {
    QStringList all;
    for (int r = 0; r < m.rowCount(); ++r)
        for (int c = 0; c < m.columnCount(); ++c)
            all << m.index(r, c).data().toString() + u'|' +
                       m.index(r, c).data(Qt::ToolTipRole).toString();
    return all;
}

} // namespace

class ProjectCoolingPanelTest : public QObject {
    Q_OBJECT

private slots:
    void workedExamples_data();
    void workedExamples();
    void dewPointFollowsTheHumidity_data();
    void dewPointFollowsTheHumidity();
    void badCellsAreRefused_data();
    void badCellsAreRefused();
    void noProposedSupplyBelowTheMargin();
    void heatingTablesUnchangedBySeason();
    void seasonMarginAndWaterUndoRedo();
    void closedWhileShown();
    void screenshot();
};

void ProjectCoolingPanelTest::workedExamples_data() {
    QTest::addColumn<double>("spacing");
    QTest::addColumn<int>("loops");
    QTest::addColumn<double>("covering");
    QTest::addColumn<double>("supply");
    QTest::addColumn<double>("humidity");
    QTest::addColumn<double>("load");
    QTest::addColumn<double>("dewPoint");
    QTest::addColumn<double>("output");     // Q_room, W
    QTest::addColumn<double>("flux");       // q_C, W/m²
    QTest::addColumn<double>("admissible"); // Q_adm, W
    QTest::addColumn<double>("shortfall");  // W
    QTest::addColumn<double>("floorMean");  // θ_F,m
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<QString>("needed"); // the 所需供水温度 cell
    QTest::newRow("example 1: 300 mm, 18/21, 50 %")
        << 0.3 << 1 << 0.02 / 2.91 << 18.0 << 0.5 << 900.0 << 14.77001 << 691.4548 << 19.20708
        << 691.4548 << 208.5452 << 23.25613 << QStringLiteral("合格；供冷量不足（露点限制）")
        << QStringLiteral("无（露点限制）");
    QTest::newRow("example 1b: 150 mm, two loops")
        << 0.15 << 2 << 0.02 / 2.91 << 18.0 << 0.5 << 900.0 << 14.77001 << 937.5539 << 26.04316
        << 937.5539 << 0.0 << 22.27955 << QStringLiteral("合格") << QString();
    QTest::newRow("example 2: carpet, 16/19, 60 %")
        << 0.15 << 1 << 0.1 << 16.0 << 0.6 << 400.0 << 17.63204 << 430.1691 << 23.89828 << 240.875
        << 159.125 << 22.58596
        << QStringLiteral("不合格：D1 供水温度低于露点温度加安全余量；供冷量不足（露点限制）")
        << QStringLiteral("无（露点限制）");
}

void ProjectCoolingPanelTest::workedExamples() {
    QFETCH(double, spacing);
    QFETCH(int, loops);
    QFETCH(double, covering);
    QFETCH(double, supply);
    QFETCH(double, humidity);
    QFETCH(double, load);
    QFETCH(double, dewPoint);
    QFETCH(double, output);
    QFETCH(double, flux);
    QFETCH(double, admissible);
    QFETCH(double, shortfall);
    QFETCH(double, floorMean);
    QFETCH(QString, verdict);
    QFETCH(QString, needed);
    Fixture f;
    f.load(example(spacing, loops, covering, supply, humidity, load));
    const std::pair<int, double> expected[] = {
        {Col::DewPoint, dewPoint},  {Col::MinSupply, dewPoint + 2}, {Col::Output, output},
        {Col::OutputPerArea, flux}, {Col::Admissible, admissible},  {Col::Shortfall, shortfall},
        {Col::FloorTemp, floorMean}};
    for (const auto& [column, v] : expected)
        QVERIFY2(digits7(f.value(0, column).toDouble(), v),
                 qPrintable(QStringLiteral("column %1: %2")
                                .arg(column)
                                .arg(f.value(0, column).toDouble(), 0, 'g', 10)));
    QCOMPARE(f.text(0, Col::DewPoint), QString::number(dewPoint, 'f', 2));
    QCOMPARE(f.text(0, Col::OutputPerArea), QString::number(flux, 'f', 1));
    QCOMPARE(f.text(0, Col::FloorLimit), QStringLiteral("19.0")); // standing and walking
    QCOMPARE(f.text(0, Col::Verdict), verdict);
    QCOMPARE(f.text(0, Col::NeededSupply), needed);
    QVERIFY(f.text(0, Col::Basis).contains(QStringLiteral("JGJ 142-2012 §3.1")));
    QVERIFY(f.panel->isVisibleTo(&f.window));
}

// The humidity is typed in per cent; the dew point of 26 ℃ follows the
// psychrometric table (docs/cooling.md): 50 % 14.77 ℃, 60 % 17.63 ℃.
void ProjectCoolingPanelTest::dewPointFollowsTheHumidity_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("dewPoint");
    QTest::newRow("50 %") << "50" << 14.77001;
    QTest::newRow("60 %") << "60" << 17.63204;
    QTest::newRow("full-width 55") << QStringLiteral("５５") << 16.26;
}

void ProjectCoolingPanelTest::dewPointFollowsTheHumidity() {
    QFETCH(QString, typed);
    QFETCH(double, dewPoint);
    Fixture f;
    f.load(example(0.3, 1, 0.02 / 2.91, 18, 0.7, 900));
    QVERIFY(f.panel->roomModel()->setData(f.panel->roomModel()->index(0, Col::Humidity), typed));
    f.doc.waitForResult();
    QVERIFY(std::fabs(f.value(0, Col::DewPoint).toDouble() - dewPoint) < 0.005);
    QCOMPARE(f.text(0, Col::DewPoint),
             QString::number(f.value(0, Col::DewPoint).toDouble(), 'f', 2));
    QCOMPARE(f.doc.undoStack().count(), 1);
    QCOMPARE(f.doc.undoStack().undoText(), QStringLiteral("修改相对湿度（房间）"));
}

void ProjectCoolingPanelTest::badCellsAreRefused_data() {
    QTest::addColumn<bool>("water"); // the manifold table, else the room table
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("reason");
    QTest::newRow("humidity 0") << false << int(Col::Humidity) << "0"
                                << "1～100 %";
    QTest::newRow("humidity 101") << false << int(Col::Humidity) << "101"
                                  << "1～100 %";
    QTest::newRow("room 9 ℃") << false << int(Col::RoomTemp) << "9"
                              << "10～40 ℃";
    QTest::newRow("load text") << false << int(Col::SensibleLoad) << "abc"
                               << "显热冷负荷";
    QTest::newRow("occupancy") << false << int(Col::Occupancy) << "跑步"
                               << "人员活动";
    QTest::newRow("supply at the return") << true << int(CoolingWaterTableModel::SupplyTemp) << "21"
                                          << "须低于回水温度";
    QTest::newRow("return below the supply")
        << true << int(CoolingWaterTableModel::ReturnTemp) << "17.5"
        << "须低于回水温度";
    QTest::newRow("supply 4 ℃") << true << int(CoolingWaterTableModel::SupplyTemp) << "4"
                                << "4.5～40 ℃";
}

void ProjectCoolingPanelTest::badCellsAreRefused() {
    QFETCH(bool, water);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, reason);
    Fixture f;
    f.load(example(0.3, 1, 0.02 / 2.91, 18, 0.5, 900));
    QAbstractItemModel* m =
        water ? static_cast<QAbstractItemModel*>(f.panel->waterModel()) : f.panel->roomModel();
    QVERIFY(!m->setData(m->index(0, column), typed));
    QCOMPARE(f.doc.undoStack().count(), 0);
    QVERIFY2(f.panel->noticeText().contains(reason), qPrintable(f.panel->noticeText()));
}

// Rooms of random state, load, covering and spacing on manifolds of random
// chilled water: wherever a supply is proposed, it is at or above the
// room's dew point plus margin, both as computed and as shown.
void ProjectCoolingPanelTest::noProposedSupplyBelowTheMargin() {
    std::mt19937 random(20261209);
    auto uniform = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    Project p = newProject();
    p.settings.heatLoad.method = LoadMethod::Typed;
    p.settings.cooling.season = Season::Cooling;
    p.settings.cooling.dewMargin = 1.5;
    p.manifolds.resize(3, p.manifolds[0]);
    for (std::size_t m = 0; m < 3; ++m) {
        p.manifolds[m].name = "分集水器" + std::to_string(m + 1);
        p.manifolds[m].cooling.supplyTemp = uniform(12, 21);
        p.manifolds[m].cooling.returnTemp = p.manifolds[m].cooling.supplyTemp + uniform(2, 5);
    }
    for (int i = 0; i < 45; ++i) {
        Room room;
        room.name = "房间" + std::to_string(i + 1);
        room.floorArea = room.heatedArea = uniform(6, 40);
        room.typedLoad = uniform(300, 2000);
        room.coveringResistance = uniform(0, 0.15);
        room.manifold = std::size_t(i % 3);
        room.leaderLength = 3;
        room.cooling.roomTemp = uniform(24, 28);
        room.cooling.humidity = uniform(0.4, 0.7);
        room.cooling.sensibleLoad = uniform(0, 120) * room.floorArea;
        room.cooling.occupancy = cooling::Occupancy(i % 3);
        p.rooms.push_back(room);
    }
    Fixture f;
    f.load(p);
    int proposed = 0;
    for (int row = 0; row < 45; ++row) {
        const QVariant needed = f.value(row, Col::NeededSupply);
        if (!needed.isValid())
            continue;
        ++proposed;
        const double lowest = f.value(row, Col::MinSupply).toDouble();
        QVERIFY2(
            needed.toDouble() >= lowest,
            qPrintable(
                QStringLiteral("row %1: %2 < %3").arg(row).arg(needed.toDouble()).arg(lowest)));
        QVERIFY(f.text(row, Col::NeededSupply).toDouble() >=
                f.text(row, Col::MinSupply).toDouble());
    }
    QVERIFY(proposed > 0);
}

// The same flat, switched to both seasons through the bar: every cell and
// tool tip of the room and loop tables, and the totals, as in heating alone.
void ProjectCoolingPanelTest::heatingTablesUnchangedBySeason() {
    Fixture f;
    f.dialogs.answerOpen(kFlat);
    QVERIFY(f.window.openProject());
    f.doc.waitForResult();
    f.chooseSeason(Season::Heating);
    QVERIFY(!f.panel->isVisibleTo(&f.window));
    const QStringList rooms = cells(*f.window.roomTable()->model());
    const QStringList loops = cells(*f.window.loopTable()->model());
    const QString totals = f.window.findChild<QLabel*>(QStringLiteral("projectTotals"))->text();
    f.chooseSeason(Season::Both);
    QVERIFY(f.panel->isVisibleTo(&f.window));
    QCOMPARE(cells(*f.window.roomTable()->model()), rooms);
    QCOMPARE(cells(*f.window.loopTable()->model()), loops);
    QCOMPARE(f.window.findChild<QLabel*>(QStringLiteral("projectTotals"))->text(), totals);
    QCOMPARE(f.panel->roomModel()->rowCount(), 5);
    QVERIFY(f.value(0, Col::Output).toDouble() > 0);
}

// Season → margin → supply, then undo back to heating and redo forward:
// each step shows in the bar, the panel and the tables.
void ProjectCoolingPanelTest::seasonMarginAndWaterUndoRedo() {
    Fixture f;
    Project p = example(0.3, 1, 0.02 / 2.91, 18, 0.5, 900);
    p.settings.cooling.season = Season::Heating;
    f.load(p);
    QVERIFY(!f.value(0, Col::DewPoint).isValid());
    f.chooseSeason(Season::Both);
    QVERIFY(f.panel->isVisibleTo(&f.window));
    QVERIFY(f.bar->marginField()->isEnabled());
    QVERIFY(digits7(f.value(0, Col::MinSupply).toDouble(), 16.77001));

    f.bar->marginField()->setText(QStringLiteral("1"));
    emit f.bar->marginField()->editingFinished();
    f.doc.waitForResult();
    QVERIFY(digits7(f.value(0, Col::MinSupply).toDouble(), 15.77001));

    CoolingWaterTableModel* water = f.panel->waterModel();
    QVERIFY(
        water->setData(water->index(0, CoolingWaterTableModel::SupplyTemp), QStringLiteral("17")));
    f.doc.waitForResult();
    QCOMPARE(water->index(0, CoolingWaterTableModel::Rise).data().toString(),
             QStringLiteral("4.0"));
    const double colder = f.value(0, Col::Output).toDouble();
    QVERIFY(colder > 691.4548);

    QUndoStack& undo = f.doc.undoStack();
    QCOMPARE(undo.count(), 3);
    QCOMPARE(undo.text(0), QStringLiteral("修改工况"));
    QCOMPARE(undo.text(1), QStringLiteral("修改防结露安全余量"));
    undo.undo(); // the supply
    f.doc.waitForResult();
    QVERIFY(digits7(f.value(0, Col::Output).toDouble(), 691.4548));
    undo.undo(); // the margin
    f.doc.waitForResult();
    QCOMPARE(f.bar->marginField()->text(), QStringLiteral("2"));
    QVERIFY(digits7(f.value(0, Col::MinSupply).toDouble(), 16.77001));
    undo.undo(); // the season
    f.doc.waitForResult();
    QCOMPARE(f.bar->seasonBox()->currentData().toInt(), int(Season::Heating));
    QVERIFY(!f.panel->isVisibleTo(&f.window));
    QVERIFY(!f.bar->marginField()->isEnabled());
    QVERIFY(!f.doc.result().cooling.computed);
    for (int step = 0; step < 3; ++step)
        undo.redo();
    f.doc.waitForResult();
    QCOMPARE(f.bar->seasonBox()->currentData().toInt(), int(Season::Both));
    QVERIFY(f.panel->isVisibleTo(&f.window));
    QCOMPARE(f.value(0, Col::Output).toDouble(), colder);
    QVERIFY(digits7(f.value(0, Col::MinSupply).toDouble(), 15.77001));
}

// A shown window in both seasons goes without reading a document that is
// already gone (the program's end with the window open).
void ProjectCoolingPanelTest::closedWhileShown() {
    auto f = std::make_unique<Fixture>();
    f->dialogs.answerOpen(kFlat);
    QVERIFY(f->window.openProject());
    f->doc.waitForResult();
    f->window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f->window));
    f.reset();
}

void ProjectCoolingPanelTest::screenshot() {
    const QString file = qEnvironmentVariable("ZORVA_SCREENSHOT");
    if (file.isEmpty())
        QSKIP("ZORVA_SCREENSHOT not set");
    Fixture f;
    f.dialogs.answerOpen(kFlat);
    QVERIFY(f.window.openProject());
    f.doc.waitForResult();
    f.window.resize(1500, 1000);
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    QVERIFY(f.window.grab().save(file));
}

QTEST_MAIN(ProjectCoolingPanelTest)
#include "tst_projectcoolingpanel.moc"
