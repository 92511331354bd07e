// SPDX-License-Identifier: GPL-3.0-or-later
// The plan window on the example flat: one legend row per routed loop with
// its routed length, both halves of each loop drawn in the loop's colour,
// every violation listed in red and marked, zoom within its bounds.
//
// With ZORVA_SCREENSHOT set to a file name, `screenshot` writes the window.

#include "core/io/citytablefile.h"
#include "core/io/projectfile.h"
#include "core/project/compute.h"
#include "widgets/plan/planwindow.h"

#include <QGraphicsPathItem>
#include <QGraphicsScene>
#include <QTest>
#include <QTreeWidget>

#include <map>

using namespace zorva;
using namespace zorva::ui;

class PlanWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void legendRows_data();
    void legendRows();
    void loopsDrawnInTheirColour();
    void violationsListed();
    void zoomStaysInBounds();
    void screenshot();

private:
    project::Project flat_;
    project::ProjectResult result_;
};

void PlanWindowTest::initTestCase() {
    const Result<io::ProjectDocument> read = io::readProjectDocumentFile(
        QStringLiteral(ZORVA_TESTS_SOURCE_DIR "/../examples/flat.zorvaproj"));
    QVERIFY2(read.ok(), qPrintable(read.error()));
    flat_ = read->project;
    const io::CityTableLoad cities = io::loadBuiltinCityTable();
    project::ComputeOptions options;
    options.cities = &*cities;
    result_ = project::computeProject(flat_, options);
}

void PlanWindowTest::legendRows_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("room");
    QTest::addColumn<int>("loop");
    QTest::newRow("客厅-1") << 0 << 0 << 0;
    QTest::newRow("客厅-2") << 1 << 0 << 1;
    QTest::newRow("主卧-1") << 2 << 1 << 0;
    QTest::newRow("卫生间-1") << 5 << 4 << 0;
}

// The row shows the length the loop table uses, to 0.1 m.
void PlanWindowTest::legendRows() {
    QFETCH(int, row);
    QFETCH(int, room);
    QFETCH(int, loop);
    PlanWindow w(flat_, result_);
    QCOMPARE(w.legend()->topLevelItemCount(), 6);
    const QTreeWidgetItem* item = w.legend()->topLevelItem(row);
    const project::RoomResult& r = result_.rooms[std::size_t(room)];
    const project::ProjectLoop& l = result_.manifolds[0].loops[r.loops[std::size_t(loop)]];
    QCOMPARE(item->text(0), QString::fromStdString(l.name));
    QCOMPARE(item->text(1), QString::fromStdString(flat_.rooms[std::size_t(room)].name));
    QCOMPARE(item->text(2), QString::number(l.figures.length, 'f', 1));
    QCOMPARE(item->text(3), QString::number(r.design.spacing * 1000, 'f', 0));
    QCOMPARE(item->data(0, Qt::DecorationRole).value<QColor>(), PlanWindow::loopColour(row));
}

void PlanWindowTest::loopsDrawnInTheirColour() {
    PlanWindow w(flat_, result_);
    std::map<QString, int> halves;
    for (QGraphicsItem* item : w.scene()->items()) {
        auto* path = qgraphicsitem_cast<QGraphicsPathItem*>(item);
        if (!path)
            continue;
        const QString label = path->data(0).toString();
        ++halves[label];
        for (int i = 0; i < w.legend()->topLevelItemCount(); ++i)
            if (w.legend()->topLevelItem(i)->text(0) == label)
                QCOMPARE(path->pen().color(), PlanWindow::loopColour(i));
    }
    QCOMPARE(halves.size(), std::size_t(6));
    for (const auto& [label, count] : halves)
        QCOMPARE(count, 2);
}

void PlanWindowTest::violationsListed() {
    PlanWindow w(flat_, result_);
    int expected = 0;
    for (const project::RoomResult& r : result_.rooms)
        if (r.plan.routed())
            expected += int(r.plan.layout->violations.size());
    QCOMPARE(w.violations()->topLevelItemCount(), expected);
    for (int i = 0; i < expected; ++i)
        QCOMPARE(w.violations()->topLevelItem(i)->foreground(2).color(), QColor(Qt::red));
}

void PlanWindowTest::zoomStaysInBounds() {
    PlanWindow w(flat_, result_);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.zoom(), 1.0);
    w.zoomBy(2);
    QCOMPARE(w.zoom(), 2.0);
    for (int i = 0; i < 100; ++i)
        w.zoomBy(2);
    QVERIFY(w.zoom() <= 200);
    w.fitAll();
    QCOMPARE(w.zoom(), 1.0);
}

void PlanWindowTest::screenshot() {
    const QByteArray file = qgetenv("ZORVA_SCREENSHOT");
    if (file.isEmpty())
        QSKIP("ZORVA_SCREENSHOT not set");
    PlanWindow w(flat_, result_);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.grab().save(QString::fromLocal8Bit(file)));
}

QTEST_MAIN(PlanWindowTest)
#include "tst_planwindow.moc"
