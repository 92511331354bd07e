// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_curves.h"

#include "core/engine/curves.h"
#include "models/curves/standardfield.h"
#include "models/session/designsession.h"
#include "widgets/curves/curveswindow.h"
#include "widgets/dialogs/dialogseam.h"

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace zorva;

namespace {

using Clock = std::chrono::steady_clock;

double micros(Clock::time_point start) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

void runCurvesBench() {
    const FieldRecord fields = FieldRecord::defaults();
    CurveSet set;
    computeCurves(fields, set);
    double best = 1e300;
    for (int round = 0; round < 7; ++round) {
        constexpr int updates = 50;
        const auto start = Clock::now();
        for (int i = 0; i < updates; ++i)
            computeCurves(fields, set);
        best = std::min(best, micros(start) / updates);
    }
    std::printf("curves %.0f us/update\n", best);

    // The EN 1264-2 field of the same design, as the window redraws it
    // after an edit.
    models::StandardField field = models::en1264FieldOf(fields, RoomCategory::LongStay);
    best = 1e300;
    for (int round = 0; round < 7; ++round) {
        constexpr int updates = 200;
        const auto start = Clock::now();
        for (int i = 0; i < updates; ++i)
            field = models::en1264FieldOf(fields, RoomCategory::LongStay);
        best = std::min(best, micros(start) / updates);
    }
    std::printf("curves en1264 %.0f us/update\n", best);
}

int runCurvesRedrawBench(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ui::QtDialogs dialogs;
    models::DesignSession session;
    FieldRecord fields = FieldRecord::defaults();
    session.setFieldAccess([&fields] { return fields; }, [](const FieldRecord&) {});
    ui::CurvesWindow window(session, dialogs);
    window.resize(960, 620);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    // The spacing alternates between one of the family and one that adds a
    // curve, so every round changes the series as an edit would.
    std::vector<double> rounds;
    for (int i = 0; i < 41; ++i) {
        fields.design[SpacingField] = i % 2 == 0 ? "175" : "300";
        const auto start = Clock::now();
        window.recompute();
        // The chart's layout and scene updates are posted; handle them, then
        // paint.
        QCoreApplication::processEvents();
        window.repaint();
        rounds.push_back(micros(start));
    }
    std::printf("curves redraw %.1f ms (best %.1f ms)\n", median(rounds) / 1000,
                *std::min_element(rounds.begin(), rounds.end()) / 1000);
    return 0;
}
