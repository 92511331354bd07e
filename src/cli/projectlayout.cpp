// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/projectlayout.h"

#include "cli/exitstatus.h"
#include "core/dxf/dxfwriter.h"
#include "core/dxf/layoutdrawing.h"
#include "core/dxf/svgwriter.h"
#include "core/io/citytablefile.h"
#include "core/io/projectfile.h"
#include "core/io/safesave.h"
#include "core/project/compute.h"

#include <QtConcurrent/QtConcurrentMap>

#include <numeric>
#include <vector>

namespace zorva::cli {

namespace {

// The rooms on the thread pool, each writing its own result.
void onAllCores(std::size_t count, const std::function<void(std::size_t)>& job) {
    std::vector<std::size_t> jobs(count);
    std::iota(jobs.begin(), jobs.end(), std::size_t{0});
    QtConcurrent::blockingMap(jobs, [&](std::size_t j) { job(j); });
}

} // namespace

dxf::Drawing projectDrawing(const project::Project& project, const project::ProjectResult& result) {
    std::vector<std::size_t> planRooms;
    const layout::Plan plan = project::projectPlan(project, &result.rooms, &planRooms);
    std::vector<layout::RoomLayout> layouts(plan.rooms.size());
    for (std::size_t k = 0; k < planRooms.size(); ++k) {
        const std::size_t i = planRooms[k];
        if (i < result.rooms.size() && result.rooms[i].plan.layout)
            layouts[k] = *result.rooms[i].plan.layout;
    }
    layout::Plan drawn = plan;
    // A manifold without a place is not drawn at the origin.
    drawn.manifolds.clear();
    for (std::size_t m = 0; m < project.manifolds.size(); ++m)
        if (project.manifolds[m].plan.position)
            drawn.manifolds.push_back(plan.manifolds[m]);
    return dxf::layoutDrawing(drawn, layouts);
}

LayoutOutput writeProjectLayout(const QByteArray& path, const QString& shownName,
                                const QString& out) {
    LayoutOutput o;
    const bool dxfOut = out.endsWith(QStringLiteral(".dxf"), Qt::CaseInsensitive);
    const bool svgOut = out.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
    if (!dxfOut && !svgOut) {
        o.outcome = stop(UsageError, QStringLiteral("--layout 的文件名应以 .dxf 或 .svg 结尾"));
        return o;
    }
    const Result<io::ProjectDocument> read =
        io::readProjectDocumentFile(path, shownName, io::FileKinds::Any);
    if (!read) {
        Problem problem = read.problem();
        problem.code = InputError;
        o.outcome = problem;
        return o;
    }
    const project::Project& p = read->project;
    const io::CityTableLoad cities = io::loadBuiltinCityTable();
    project::ComputeOptions options;
    if (cities)
        options.cities = &*cities;
    options.parallel = onAllCores;
    const project::ProjectResult result = project::computeProject(p, options);
    for (const project::RoomResult& r : result.rooms) {
        if (!r.plan.routed())
            continue;
        ++o.rooms;
        o.violations += qsizetype(r.plan.layout->violations.size());
        for (const layout::RoutedLoop& l : r.plan.layout->loops) {
            ++o.loops;
            o.pipe += l.routedLength;
        }
    }
    const dxf::Drawing drawing = projectDrawing(p, result);
    std::string error;
    if (dxfOut) {
        if (!dxf::writeDxfFile(drawing, out.toStdString(), &error))
            o.outcome = stop(InputError, QString::fromStdString(error));
        return o;
    }
    dxf::SvgOptions svg;
    svg.title = QStringLiteral("地暖环路布置图 %1").arg(shownName).toStdString();
    const Result<void> saved =
        io::writeFileSafely(out, QByteArray::fromStdString(dxf::svgText(drawing, svg)));
    if (!saved)
        o.outcome = stop(InputError, saved.problem().message);
    return o;
}

} // namespace zorva::cli
