// SPDX-License-Identifier: GPL-3.0-or-later
// The project reader over arbitrary bytes.
//
// - Reading never crashes; a refusal always says why.
// - A project read without fault (version 1 or 2) writes a version-2 text
//   that reads back without fault and writes to the same bytes, and the
//   file form of it is refused only for its size.
// - A small project read without fault computes without a crash by either
//   method, with finite figures for the loops that have them.
// - The manifold sheet's view: a project of one manifold without rooms
//   holds only values within their ranges, and its saved bytes read back.

#include "core/engine/manifold.h"
#include "core/io/manifoldfields.h"
#include "core/io/projectfile.h"
#include "core/project/compute.h"
#include "fuzzcheck.h"

#include <QByteArray>

#include <cmath>
#include <cstdint>

using namespace zorva;
using namespace zorva::io;

namespace {

std::size_t loopsOf(const project::Project& p) {
    std::size_t loops = 0;
    for (const project::Manifold& m : p.manifolds)
        loops += m.loops.size();
    return loops;
}

void computeSmall(const project::Project& p) {
    if (p.rooms.size() > 8 || loopsOf(p) > 8)
        return;
    for (method::Method m : {method::Method::Program, method::Method::En1264}) {
        project::ComputeOptions options;
        options.method = m;
        const project::ProjectResult r = project::computeProject(p, options);
        FUZZ_CHECK(r.rooms.size() == p.rooms.size());
        FUZZ_CHECK(r.manifolds.size() == p.manifolds.size());
        for (const project::ManifoldResult& manifold : r.manifolds)
            for (const project::ProjectLoop& loop : manifold.loops)
                if (loop.computed)
                    FUZZ_CHECK(std::isfinite(loop.figures.heatOutput) &&
                               std::isfinite(loop.figures.flowKgh) &&
                               std::isfinite(loop.figures.pressureDrop) &&
                               std::isfinite(loop.figures.supplementaryHeat));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const Result<ProjectDocument> document = readProjectDocument(bytes);
    if (!document) {
        FUZZ_CHECK(!document.error().isEmpty());
        return 0;
    }
    const QByteArray text = projectDocumentText(document->project);
    const Result<ProjectDocument> reread = readProjectDocument(text);
    FUZZ_CHECK(reread.ok());
    FUZZ_CHECK(reread->version == kProjectVersion);
    FUZZ_CHECK(projectDocumentText(reread->project) == text);
    FUZZ_CHECK(projectDocumentBytes(document->project).ok() || text.size() > kMaxProjectBytes);
    computeSmall(document->project);

    const Result<ProjectData> read = readProject(bytes);
    if (!read) {
        FUZZ_CHECK(!read.error().isEmpty());
        return 0;
    }
    const ProjectData& p = *read;
    for (int i = 0; i < kManifoldNumberCount; ++i)
        FUZZ_CHECK(inRange(manifoldRanges()[i], manifoldNumber(p.manifold, i)));
    for (const ProjectLoop& loop : p.loops)
        for (int i = 0; i < kLoopNumberCount; ++i) {
            const std::optional<double> v = loopNumber(loop.input, i);
            FUZZ_CHECK(v ? inRange(loopRanges()[i], *v) : loopRanges()[i].optional);
        }

    const QByteArray saved = projectBytes(p);
    const Result<ProjectData> again = readProject(saved);
    FUZZ_CHECK(again.ok());
    FUZZ_CHECK(again->loops.size() == p.loops.size());
    FUZZ_CHECK(projectBytes(*again) == saved);

    for (qsizetype i = 0; i < p.loops.size() && i < 3; ++i) {
        const LoopResult r = computeLoop(p.manifold, p.loops[i].input);
        if (r.converged())
            FUZZ_CHECK(std::isfinite(r.loopOutput) && std::isfinite(r.flowKgh) &&
                       std::isfinite(r.resistance));
    }
    return 0;
}
