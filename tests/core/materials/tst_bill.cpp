// SPDX-License-Identifier: GPL-3.0-or-later
// The bill of materials of a small flat counted by hand, manifolds over the
// largest size, and bad input refused with its place.

#include "core/materials/bill.h"

#include <QTest>

using namespace zorva::materials;

using Outlets = std::vector<std::size_t>;
Q_DECLARE_METATYPE(Outlets)

namespace {

// The worked example's flat: four rooms on one manifold and a corridor the
// leaders cross, 20 mm pipe except the bathroom's 16 mm.
struct Flat {
    std::vector<BillLoop> loops{{"living-1", 0, 0, "PE-X 20×2.0", 104},
                                {"living-2", 0, 0, "PE-X 20×2.0", 108},
                                {"bed1", 1, 0, "PE-X 20×2.0", 92},
                                {"bed2", 2, 0, "PE-X 20×2.0", 66},
                                {"bath", 3, 0, "PE-X 16×2.0", 56}};
    std::vector<BillRoom> rooms{{"客厅", 32, 23.5, 0, true},
                                {"主卧", 17.5, 17, 0, true},
                                {"次卧", 13, 14.6, 0, false},
                                {"卫生间", 6, 10, 40, true},
                                {"走廊", 5, 12, 0, true}};
    std::vector<BillManifold> manifolds{{"一层"}};
};

double quantity(const Bill& bill, MaterialKind kind, MaterialUnit unit, double size = 0,
                const std::string& pipe = {}) {
    for (const MaterialItem& i : bill.items)
        if (i.kind == kind && i.unit == unit && i.size == size && i.pipe == pipe)
            return i.quantity;
    return -1;
}

} // namespace

class BillTest : public QObject {
    Q_OBJECT

private slots:
    void smallFlatByHand();
    void manifoldsByOutlets_data();
    void manifoldsByOutlets();
    void badInputRefused();
};

void BillTest::smallFlatByHand() {
    const Flat f;
    BillOptions o;
    o.insulationWaste = 0.05;
    o.insulationBoardM2 = 1.2; // 1200 × 1000 mm boards
    o.edgeStripRollM = 25;
    const Bill b = billOfMaterials(f.loops, f.rooms, f.manifolds, o);
    QVERIFY(b.ok());
    const std::string p20 = "PE-X 20×2.0", p16 = "PE-X 16×2.0";
    QCOMPARE(quantity(b, MaterialKind::Pipe, MaterialUnit::Metre, 0, p20), 370.0);
    QCOMPARE(quantity(b, MaterialKind::Pipe, MaterialUnit::Metre, 0, p16), 56.0);
    // 108+104+66 on a 300 m roll, 92 on a 100 m roll; 56 on a 100 m roll.
    QCOMPARE(quantity(b, MaterialKind::PipeRoll, MaterialUnit::Roll, 300, p20), 1.0);
    QCOMPARE(quantity(b, MaterialKind::PipeRoll, MaterialUnit::Roll, 100, p20), 1.0);
    QCOMPARE(quantity(b, MaterialKind::PipeRoll, MaterialUnit::Roll, 100, p16), 1.0);
    QCOMPARE(b.pipes[0].cutting.offcutM, 30.0);
    QCOMPARE(quantity(b, MaterialKind::Manifold, MaterialUnit::Piece, 5), 1.0);
    // 73.5 m² × 1.05 = 77.175 m², 65 boards of 1.2 m².
    QVERIFY(qFuzzyCompare(quantity(b, MaterialKind::InsulationBoard, MaterialUnit::SquareMetre),
                          77.175));
    QCOMPARE(quantity(b, MaterialKind::InsulationBoard, MaterialUnit::Board, 1.2), 65.0);
    QVERIFY(qFuzzyCompare(quantity(b, MaterialKind::EdgeStrip, MaterialUnit::Metre), 77.1));
    QCOMPARE(quantity(b, MaterialKind::EdgeStrip, MaterialUnit::Roll, 25), 4.0);
    QCOMPARE(quantity(b, MaterialKind::PipeClip, MaterialUnit::Piece), 852.0); // 426 m × 2
    // 67.5 m² × 50 mm + 6 m² × 40 mm = 3.375 + 0.24 m³.
    QVERIFY(qFuzzyCompare(quantity(b, MaterialKind::Screed, MaterialUnit::CubicMetre), 3.615));
    QCOMPARE(quantity(b, MaterialKind::Actuator, MaterialUnit::Piece), 5.0);
    // Bedroom 2 wants none, the corridor has no loop to control.
    QCOMPARE(quantity(b, MaterialKind::Thermostat, MaterialUnit::Piece), 3.0);
    QCOMPARE(b.rooms[0].actuators, std::size_t{2});
    QCOMPARE(b.rooms[0].pipeM, 212.0);
    QCOMPARE(b.rooms[4].thermostats, std::size_t{0});
    QVERIFY(!b.anyUnplaced && !b.anyOversize);
}

void BillTest::manifoldsByOutlets_data() {
    QTest::addColumn<int>("loops");
    QTest::addColumn<bool>("split");
    QTest::addColumn<Outlets>("outlets");
    QTest::newRow("one loop on the smallest manifold") << 1 << true << Outlets{2};
    QTest::newRow("twelve loops, the largest") << 12 << true << Outlets{12};
    QTest::newRow("thirteen split evenly") << 13 << true << Outlets{7, 6};
    QTest::newRow("twenty-five in three") << 25 << true << Outlets{9, 8, 8};
    QTest::newRow("thirteen kept and flagged") << 13 << false << Outlets{13};
}

void BillTest::manifoldsByOutlets() {
    QFETCH(int, loops);
    QFETCH(bool, split);
    QFETCH(Outlets, outlets);
    std::vector<BillLoop> l(static_cast<std::size_t>(loops), {"x", 0, 0, "pipe", 80});
    BillOptions o;
    o.splitOversize = split;
    const Bill b = billOfMaterials(l, {{"room", 20, 18, 0, true}}, {{"m"}}, o);
    QVERIFY(b.ok());
    QCOMPARE(b.manifolds[0].outlets, outlets);
    QCOMPARE(b.anyOversize, loops > 12);
}

void BillTest::badInputRefused() {
    Flat f;
    f.loops[3].room = 7;
    Bill b = billOfMaterials(f.loops, f.rooms, f.manifolds);
    QCOMPARE(b.fault, BillFault::LoopInvalid);
    QCOMPARE(b.faultIndex, std::size_t{3});
    f = Flat{};
    f.rooms[2].floorAreaM2 = -1;
    b = billOfMaterials(f.loops, f.rooms, f.manifolds);
    QCOMPARE(b.fault, BillFault::RoomInvalid);
    QCOMPARE(b.faultIndex, std::size_t{2});
    BillOptions o;
    o.rollLengthsM = {200, -100};
    QCOMPARE(billOfMaterials(Flat{}.loops, Flat{}.rooms, Flat{}.manifolds, o).fault,
             BillFault::CuttingInvalid);
    o = BillOptions{};
    o.maxOutlets = 1;
    QCOMPARE(billOfMaterials(Flat{}.loops, Flat{}.rooms, Flat{}.manifolds, o).fault,
             BillFault::OptionsInvalid);
}

QTEST_APPLESS_MAIN(BillTest)
#include "tst_bill.moc"
