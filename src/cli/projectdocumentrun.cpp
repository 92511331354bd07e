// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/projectdocumentrun.h"

#include "cli/projectcsv.h"
#include "cli/projectjson.h"
#include "cli/projectjsonhydraulics.h"
#include "core/csv/csvwriter.h"
#include "core/io/citytablefile.h"
#include "core/io/projecthydraulics.h"
#include "core/project/compute.h"
#include "core/wording/projectwording.h"

#include <QJsonDocument>

#include <cstdio>
#include <string_view>

namespace zorva::cli {

namespace {

// Loops whose heating figures break the floor limit (verdict "fail") and
// loops whose cooling fails a required check (D1, D2, D3 or F1).
int failedLoops(const project::ProjectResult& r) {
    int failed = 0;
    for (const project::ManifoldResult& m : r.manifolds)
        for (const project::ProjectLoop& l : m.loops)
            failed += l.computed && std::string_view(loopVerdictKey(l.figures)) == "fail" ? 1 : 0;
    for (const project::CoolingManifoldResult& m : r.cooling.manifolds)
        failed += m.failedLoops;
    return failed;
}

} // namespace

ProjectOutput runProjectDocument(const io::ProjectDocument& document, const QString& folder,
                                 ProjectFormat format, const ProjectModes& modes) {
    ProjectOutput out;
    project::Project p = document.project;
    if (Result<void> applied = applyProjectModes(modes, p); !applied) {
        out.outcome = applied;
        return out;
    }
    for (const QString& problem : io::loadValveFiles(p, folder))
        std::fprintf(stderr, "zorva-calc：%s\n", problem.toUtf8().constData());
    const io::CityTableLoad cities = io::loadBuiltinCityTable();
    project::ComputeOptions options;
    if (cities)
        options.cities = &*cities;
    const project::ProjectResult r = project::computeProject(p, options);
    const bool mark =
        format == ProjectFormat::CsvWithMark || format == ProjectFormat::MaterialsWithMark;
    QList<QStringList> rows;
    if (format == ProjectFormat::Json)
        out.bytes = QJsonDocument(projectJson(p, r)).toJson(QJsonDocument::Indented);
    else if (format == ProjectFormat::Materials || format == ProjectFormat::MaterialsWithMark)
        rows = materialsCsvRows(r);
    else
        rows = projectCsvRows(p, r);
    if (format != ProjectFormat::Json)
        out.bytes = mark ? csv::csvBytes(rows) : csv::csvText(rows).toUtf8();
    int roomsWithout = 0;
    for (const project::RoomResult& room : r.rooms)
        roomsWithout += room.designed() ? 0 : 1;
    const qint64 loopsWithout = qint64(r.totals.loops - r.totals.computed);
    out.loops = qint64(r.totals.computed);
    out.failedLoops = failedLoops(r);
    if (format == ProjectFormat::Materials || format == ProjectFormat::MaterialsWithMark) {
        if (!r.materials.computed)
            out.outcome =
                stop(SomeNotComputed, QStringLiteral("材料表无法计算（环路、房间或材料选项有误）"));
    } else if (roomsWithout > 0 || loopsWithout > 0) {
        out.outcome =
            stop(SomeNotComputed, QStringLiteral("%1 个房间没有环路，%2 个环路没有结果，原因见输出")
                                      .arg(roomsWithout)
                                      .arg(loopsWithout));
    }
    return out;
}

} // namespace zorva::cli
