// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system design's example A as typed into the manifold sheet: its
// living room (two loops of 15 m²), bedroom 1 and bedroom 2 over a heated
// room at 20 ℃ with 0.75 + 0.08 + 0.02 m²·K/W below, by EN 1264-2. The
// bathroom is left out: its pipe and covering are not the sheet's one
// construction, and it never sets the supply temperature.

#include "models/manifold/manifoldsheet.h"

namespace zorva::test {

inline LoopInput sheetLoop(const char* name, double room, double spacing, double length,
                           std::optional<double> load) {
    LoopInput l;
    l.name = name;
    l.roomTemp = room;
    l.spacingMm = spacing;
    l.lengthM = length;
    l.loadW = load;
    return l;
}

// The example's floor: PE-X 20 × 2 mm of λ 0.35, 45 mm of screed of λ 1.2
// above the pipe, a covering of 0.10 m²·K/W (10 mm of λ 0.1).
inline ManifoldInput exampleAManifold() {
    ManifoldInput m;
    m.thickness = {10, 20, 45, 2};
    m.conductivity = {0.1, 1.2, 1.2, 0.35};
    m.pipeDiameter = 20;
    return m;
}

// `copies` times the example's four loops.
inline void typeExampleA(models::ManifoldSheet& s, int copies = 1) {
    s.setMethod(method::Method::En1264);
    s.setManifold(exampleAManifold(), QStringLiteral("分集水器"));
    en1264::Below below;
    below.insulation = 0.75;
    below.slab = 0.08;
    below.plaster = 0.02;
    below.temp = 20;
    s.setBelow(below);
    for (int i = 0; i < copies; ++i)
        for (const LoopInput& l :
             {sheetLoop("客厅-1", 20, 150, 100, 1050), sheetLoop("客厅-2", 20, 150, 100, 1050),
              sheetLoop("主卧", 20, 200, 80, 960), sheetLoop("次卧", 18, 250, 48, 660)})
            s.addLoop(s.model().rowCount(), l);
}

} // namespace zorva::test
