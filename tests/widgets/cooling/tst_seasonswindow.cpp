// SPDX-License-Identifier: GPL-3.0-or-later
// The window "供暖和供冷" on the flat example: one row per loop with the
// heating figures of the heating-only result beside the cooling ones, the
// dew point of 26 ℃ / 50 % in every row, one row per room with its verdict
// agreeing with its shortfall; a heating project says it has no cooling.
//
// With ZORVA_SCREENSHOT set to a file name, `screenshot` writes the window.

#include "core/engine/numtext.h"
#include "core/io/citytablefile.h"
#include "core/io/projectfile.h"
#include "core/project/compute.h"
#include "models/cooling/seasonstablemodel.h"
#include "widgets/cooling/seasonswindow.h"

#include <QTableView>
#include <QTest>

#include <cmath>

using namespace zorva;
using namespace zorva::project;
using models::SeasonsTableModel;
using ui::SeasonsWindow;

namespace {

Project flat(Season season) {
    auto read = io::readProjectDocumentFile(
        QStringLiteral(ZORVA_TESTS_SOURCE_DIR "/../examples/flat.zorvaproj"));
    if (!read.ok())
        qFatal("%s", qPrintable(read.error()));
    read->project.settings.cooling.season = season;
    return read->project;
}

ProjectResult computed(const Project& p) {
    const io::CityTableLoad cities = io::loadBuiltinCityTable();
    ComputeOptions options;
    options.cities = &*cities;
    return computeProject(p, options);
}

QString cell(const SeasonsTableModel* m, int row, int column) {
    return m->data(m->index(row, column)).toString();
}

} // namespace

class SeasonsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void columns_data();
    void columns();
    void roomVerdicts();
    void heatingProject();
    void screenshot();
};

void SeasonsWindowTest::columns_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("expected"); // empty: the heating-only figure
    QTest::newRow("heating output") << 2 << QString();
    QTest::newRow("heating floor") << 3 << QString();
    QTest::newRow("heating flow") << 4 << QString();
    QTest::newRow("dew point, 26 ℃ 50 %") << 7 << QStringLiteral("14.8");
    QTest::newRow("lowest supply, + 2 K") << 8 << QStringLiteral("16.8");
}

void SeasonsWindowTest::columns() {
    QFETCH(int, column);
    QFETCH(QString, expected);
    const Project both = flat(Season::Both);
    SeasonsWindow window;
    window.setProject(both, computed(both));
    const ProjectResult heating = computed(flat(Season::Heating));
    const auto& loops = heating.manifolds[0].loops;
    const SeasonsTableModel* m = window.loopModel();
    QCOMPARE(m->rowCount(), int(loops.size()));
    for (int row = 0; row < m->rowCount(); ++row) {
        QCOMPARE(cell(m, row, 1), QString::fromStdString(loops[std::size_t(row)].name));
        if (!expected.isEmpty()) {
            QCOMPARE(cell(m, row, column), expected);
            continue;
        }
        const LoopFigures& f = loops[std::size_t(row)].figures;
        const double value = column == 2 ? f.heatOutput : column == 3 ? f.floorTempMean : f.flowKgh;
        QCOMPARE(cell(m, row, column),
                 QString::fromUtf8(patternText(value, column == 4 ? 0 : 1).view()));
    }
    QVERIFY(m->headerData(column, Qt::Horizontal, Qt::ToolTipRole)
                .toString()
                .startsWith(QStringLiteral("依据：")));
    QVERIFY(m->data(m->index(0, column), Qt::AccessibleTextRole)
                .toString()
                .contains(m->headerData(column, Qt::Horizontal).toString()));
}

void SeasonsWindowTest::roomVerdicts() {
    const Project both = flat(Season::Both);
    SeasonsWindow window;
    window.setProject(both, computed(both));
    const SeasonsTableModel* m = window.roomModel();
    QCOMPARE(m->rowCount(), 5);
    int short_ = 0;
    for (int row = 0; row < 5; ++row) {
        const QString shortfall = cell(m, row, 4);
        const bool missing = !shortfall.isEmpty() && shortfall.toDouble() > 0;
        short_ += missing ? 1 : 0;
        QCOMPARE(cell(m, row, 9).contains(QStringLiteral("供冷量不足")), missing);
        QCOMPARE(cell(m, row, 5).isEmpty(), !missing);
    }
    QCOMPARE(cell(m, 4, 1), QString()); // the bathroom has no load
    QVERIFY(window.summaryText().contains(short_ > 0 ? QStringLiteral("供冷量不足")
                                                     : QStringLiteral("均能满足")));
    QVERIFY(window.findChild<QTableView*>(QStringLiteral("房间：供冷量与显热冷负荷")));
}

void SeasonsWindowTest::heatingProject() {
    const Project heating = flat(Season::Heating);
    SeasonsWindow window;
    window.setProject(heating, computed(heating));
    QVERIFY(window.summaryText().contains(QStringLiteral("只设计供暖")));
    QCOMPARE(window.roomModel()->rowCount(), 0);
    const SeasonsTableModel* m = window.loopModel();
    QVERIFY(m->rowCount() > 0);
    for (int column = 5; column < m->columnCount(); ++column)
        QCOMPARE(cell(m, 0, column), QString());
}

void SeasonsWindowTest::screenshot() {
    const QString file = qEnvironmentVariable("ZORVA_SCREENSHOT");
    if (file.isEmpty())
        QSKIP("ZORVA_SCREENSHOT not set");
    const Project both = flat(Season::Both);
    SeasonsWindow window;
    window.setProject(both, computed(both));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.grab().save(file));
}

QTEST_MAIN(SeasonsWindowTest)
#include "tst_seasonswindow.moc"
