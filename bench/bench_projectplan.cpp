// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_projectplan.h"

#include "core/io/citytablefile.h"
#include "core/io/projectfile.h"
#include "core/project/compute.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

using namespace zorva;

void runProjectPlanBench() {
    const Result<io::ProjectDocument> read =
        io::readProjectDocumentFile(QStringLiteral(ZORVA_EXAMPLES_DIR "/flat.zorvaproj"));
    const io::CityTableLoad cities = io::loadBuiltinCityTable();
    if (!read || !cities) {
        std::printf("layout project: the example flat cannot be read\n");
        return;
    }
    project::ComputeOptions options;
    options.cities = &*cities;
    double best = 1e300;
    std::size_t rooms = 0;
    double pipe = 0;
    for (int round = 0; round < 5; ++round) {
        const auto start = std::chrono::steady_clock::now();
        const project::ProjectResult r = project::computeProject(read->project, options);
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
        rooms = 0;
        pipe = 0;
        for (const project::RoomResult& room : r.rooms) {
            if (!room.plan.routed())
                continue;
            ++rooms;
            for (const layout::RoutedLoop& l : room.plan.layout->loops)
                pipe += l.routedLength;
        }
    }
    std::printf("layout project %.0f ms (%zu rooms, %.0f m of pipe)\n", best, rooms, pipe);
}
