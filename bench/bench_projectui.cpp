// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_projectui.h"

#include "bench_project.h"
#include "models/project/looptablemodel.h"
#include "models/project/projectdocument.h"
#include "models/project/roomtablemodel.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

using namespace zorva;

void runProjectUiBench(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    using Clock = std::chrono::steady_clock;
    auto ms = [](Clock::duration d) {
        return std::chrono::duration<double, std::milli>(d).count();
    };
    models::ProjectDocument doc;
    models::RoomTableModel rooms(doc);
    models::LoopTableModel loops(doc);
    doc.load(makeRoomsBenchProject());
    doc.waitForResult();
    double worst = 0;
    for (int edit = 0; edit < 10; ++edit) {
        project::Room room = doc.project().rooms[std::size_t(edit * 97)];
        room.indoorTemp += 1;
        auto start = Clock::now();
        doc.setRoom(edit * 97, room, QStringLiteral("bench"));
        worst = std::max(worst, ms(Clock::now() - start));
        // Each pass of the event loop timed on its own: the one that hands
        // the result to the tables is the longest.
        while (!doc.resultCurrent()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            start = Clock::now();
            QCoreApplication::processEvents();
            worst = std::max(worst, ms(Clock::now() - start));
        }
        // The tables read their cells as a view would.
        start = Clock::now();
        for (int r = 0; r < 40; ++r)
            for (int c = 0; c < rooms.columnCount(); ++c)
                (void)rooms.index(r, c).data();
        worst = std::max(worst, ms(Clock::now() - start));
    }
    std::printf("project edit %.1f ms UI thread (1000 rooms)\n", worst);
}
