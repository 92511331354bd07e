// SPDX-License-Identifier: GPL-3.0-or-later
// The Calculate run over arbitrary field texts.
//
// The input is split at "|" into at most 16 texts, which replace in order
// the design fields Txt(0..6), the thicknesses Txt1(0..3), the elbow count
// Txt1(5) and the conductivities Text1(0..3); fields without a text keep
// their defaults. Every run must end in one of three ways:
// - converged within the pass limit, with every result finite and the seven
//   result texts well formed;
// - an ArithmeticError;
// - not converged after exactly the pass limit.
// A second run on the same working variables and the record as the first
// run left it must end the same way, bit for bit: a run reads nothing that
// an earlier run left behind.

#include "core/engine/calculate.h"
#include "core/engine/checked.h"
#include "core/engine/inputs.h"
#include "core/engine/numparse.h"
#include "core/engine/workingvars.h"
#include "fuzzcheck.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace zorva;

FieldRecord recordFrom(std::string_view input) {
    FieldRecord f = FieldRecord::defaults();
    std::vector<std::string*> slots;
    for (auto& s : f.design)
        slots.push_back(&s);
    for (auto& s : f.thickness)
        slots.push_back(&s);
    slots.push_back(&f.elbows);
    for (auto& s : f.conductivity)
        slots.push_back(&s);

    std::size_t field = 0;
    std::size_t start = 0;
    while (field < slots.size() && start <= input.size()) {
        const std::size_t bar = input.find('|', start);
        const std::size_t end = bar == std::string_view::npos ? input.size() : bar;
        *slots[field++] = std::string(input.substr(start, end - start));
        if (bar == std::string_view::npos)
            break;
        start = bar + 1;
    }
    return f;
}

struct Ending {
    bool fault = false;
    Fault kind = Fault::Overflow;
    RunReport report;
};

Ending run(WorkingVars& vars, FieldRecord& fields) {
    Ending end;
    try {
        end.report = calculate(vars, fields);
    } catch (const ArithmeticError& e) {
        end.fault = true;
        end.kind = e.fault();
    }
    return end;
}

bool same(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void checkResultTexts(const WorkingVars& vars, const RunReport& report) {
    const ResultTexts texts = resultTexts(vars, report);
    const double values[7] = {vars.heatOutput, vars.surfaceTemp, vars.resistance, report.convective,
                              report.radiant,  vars.waterFlow,   vars.velocity};
    const int decimals[7] = {1, 1, 1, 1, 1, 0, 2};
    for (int i = 0; i < 7; ++i) {
        const std::string_view t = texts[i].view();
        FUZZ_CHECK(!t.empty());
        const std::size_t point = t.find('.');
        FUZZ_CHECK(decimals[i] == 0 ? point == std::string_view::npos
                                    : point != std::string_view::npos &&
                                          t.size() - point - 1 == std::size_t(decimals[i]));
        // The text is the value rounded to its decimals.
        const double read = parseLeadingNumber(t);
        if (!std::isfinite(read)) {
            FUZZ_CHECK(std::fabs(values[i]) > 1.7976931348623e308); // rounds beyond the range
            continue;
        }
        const double halfUnit = 0.5 * std::pow(10.0, -decimals[i]);
        FUZZ_CHECK(std::fabs(read - values[i]) <=
                   halfUnit * (1 + 1e-6) + std::fabs(values[i]) * 1e-14);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    FieldRecord fields = recordFrom(input);
    const FieldRecord original = fields;
    WorkingVars vars;

    const Ending first = run(vars, fields);
    if (!first.fault) {
        const RunReport& r = first.report;
        FUZZ_CHECK(r.passes >= 0 && r.passes <= kPassLimit);
        FUZZ_CHECK(std::isfinite(vars.heatOutput) && std::isfinite(vars.surfaceTemp));
        if (r.outcome == Outcome::Converged) {
            FUZZ_CHECK(std::fabs(vars.residuals[r.passes]) <= 0.1f);
            FUZZ_CHECK(std::isfinite(vars.waterFlow) && std::isfinite(vars.velocity) &&
                       std::isfinite(vars.resistance));
            FUZZ_CHECK(std::isfinite(r.convective) && std::isfinite(r.radiant));
            checkResultTexts(vars, r);
        } else {
            FUZZ_CHECK(r.passes == kPassLimit);
        }
    }

    // Again on what the first run left behind.
    const WorkingVars before = vars;
    FieldRecord again = fields;
    const Ending second = run(vars, again);
    FUZZ_CHECK(second.fault == first.fault);
    if (first.fault) {
        // The same texts fault the same way. A fault in the depth sum of the
        // filling-layer clamp comes after the raised filling layer is
        // written, so the second run may read other texts than the first.
        FieldRecord fresh = original;
        WorkingVars freshVars;
        const Ending repeat = run(freshVars, fresh);
        FUZZ_CHECK(repeat.fault && repeat.kind == first.kind);
        if (fields.thickness == original.thickness && fields.design == original.design)
            FUZZ_CHECK(second.kind == first.kind);
        return 0;
    }
    FUZZ_CHECK(second.report.outcome == first.report.outcome);
    FUZZ_CHECK(second.report.passes == first.report.passes);
    FUZZ_CHECK(same(second.report.convective, first.report.convective));
    FUZZ_CHECK(same(second.report.radiant, first.report.radiant));
    FUZZ_CHECK(same(vars.heatOutput, before.heatOutput));
    FUZZ_CHECK(same(vars.surfaceTemp, before.surfaceTemp));
    FUZZ_CHECK(same(vars.heatStep, before.heatStep));
    if (first.report.outcome == Outcome::Converged) {
        FUZZ_CHECK(same(vars.waterFlow, before.waterFlow));
        FUZZ_CHECK(same(vars.velocity, before.velocity));
        FUZZ_CHECK(same(vars.resistance, before.resistance));
    }
    FUZZ_CHECK(again.thickness == fields.thickness && again.design == fields.design);
    return 0;
}
