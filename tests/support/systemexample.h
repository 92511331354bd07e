// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The worked example's manifold (four rooms, five loops) as the EN 1264-3
// design and its loop hydraulics give it, in full double precision, as the
// inputs of the manifold hydraulics. The design's own suite checks these
// loops to their printed digits; the hydraulics suites check what follows.

#include "core/en1264/design.h"
#include "support/manifoldexamples.h"
#include "support/sheetdigits.h"

#include <QTest>

#include <string>
#include <vector>

// Fails the test with both numbers when `actual` does not show as `printed`.
#define CHECK_PRINTED(actual, printed)                                                             \
    QVERIFY2(showsAs((actual), zorva::test::printedBytes(printed)),                                \
             qPrintable(sheetMismatch(QLatin1String(#actual), (actual),                            \
                                      zorva::test::printedBytes(printed))))

namespace zorva::test {

inline QByteArray printedBytes(const char* printed) {
    return QByteArray(printed);
}
inline QByteArray printedBytes(const QString& printed) {
    return printed.toLatin1();
}

struct ExampleLoop {
    std::string name;
    std::string room;
    double roomTemp = 0;        // θ_i, ℃
    double flowKgh = 0;         // ṁ
    double pressureDropKpa = 0; // Δp_loop
    double density = 0;         // ρ(θ_m)
    double returnTemp = 0;      // θ_R,j
    double lengthM = 0;         // L
    bool laminar = false;
};

struct ExampleManifold {
    double supplyTemp = 0;
    std::vector<ExampleLoop> loops;
};

inline ExampleManifold systemExample() {
    const en1264::ManifoldDesignInput input = examples::exampleManifold();
    const en1264::ManifoldDesign design = en1264::designManifold(input);
    ExampleManifold m;
    m.supplyTemp = design.designSupplyTemp;
    for (std::size_t i = 0; i < design.loops.size(); ++i) {
        const en1264::LoopDesign& l = design.loops[i];
        const en1264::DesignRoom& room = input.rooms[l.room];
        m.loops.push_back({input.loops[i].name, room.name, room.roomTemp, l.flowKgh, l.pressureDrop,
                           l.hydraulics.water.density, l.returnTemp, l.length,
                           l.hydraulics.regime == hydraulics::FlowRegime::Laminar});
    }
    return m;
}

} // namespace zorva::test
