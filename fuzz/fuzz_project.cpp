// The project reader over arbitrary bytes.
//
// - Reading never crashes; a refusal always says why.
// - A project read without fault holds only values within their ranges, and
//   its saved bytes read back without fault and save to the same bytes.
// - The first loops of a project read without fault compute without a crash,
//   with finite results when they converge.

#include "core/engine/manifold.h"
#include "core/io/manifoldfields.h"
#include "core/io/projectfile.h"
#include "fuzzcheck.h"

#include <QByteArray>

#include <cmath>
#include <cstdint>

using namespace zorva;
using namespace zorva::io;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const Result<ProjectData> read = readProject(bytes);
    if (!read) {
        FUZZ_CHECK(!read.error().isEmpty());
        return 0;
    }
    const ProjectData& p = *read;
    for (int i = 0; i < kManifoldNumberCount; ++i)
        FUZZ_CHECK(inRange(manifoldSpecs()[i], manifoldNumber(p.manifold, i)));
    for (const ProjectLoop& loop : p.loops)
        for (int i = 0; i < kLoopNumberCount; ++i) {
            const std::optional<double> v = loopNumber(loop.input, i);
            FUZZ_CHECK(v ? inRange(loopSpecs()[i], *v) : loopSpecs()[i].optional);
        }

    const QByteArray saved = projectBytes(p);
    const Result<ProjectData> again = readProject(saved);
    FUZZ_CHECK(again);
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
