// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_projectui.h"

#include "bench_project.h"
#include "models/project/projectdocument.h"
#include "widgets/dialogs/dialogseam.h"
#include "widgets/project/projectwindow.h"

#include <QApplication>
#include <QTableView>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

using namespace zorva;

void runProjectUiBench(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    using Clock = std::chrono::steady_clock;
    auto ms = [](Clock::duration d) {
        return std::chrono::duration<double, std::milli>(d).count();
    };
    // The project window itself, shown: its room and loop tables are the
    // views an edit has to update.
    ui::QtDialogs dialogs;
    ui::ProjectWindow window(dialogs);
    window.resize(1280, 800);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return;
    models::ProjectDocument& doc = window.document();
    doc.load(makeRoomsBenchProject());
    doc.waitForResult();
    QCoreApplication::processEvents();
    double worst = 0;
    for (int edit = 0; edit < 10; ++edit) {
        project::Room room = doc.project().rooms[std::size_t(edit * 97)];
        room.indoorTemp += 1;
        auto start = Clock::now();
        doc.setRoom(edit * 97, room, QStringLiteral("bench"));
        worst = std::max(worst, ms(Clock::now() - start));
        // Each pass of the event loop timed on its own, with the painting of
        // what changed that it does: the one that hands the result to the
        // tables is the longest.
        while (!doc.resultCurrent()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            start = Clock::now();
            QCoreApplication::processEvents();
            worst = std::max(worst, ms(Clock::now() - start));
        }
    }
    std::printf("project edit %.1f ms UI thread (1000 rooms)\n", worst);
}
