// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/engine/designreview.h"

#include "core/engine/numparse.h"

namespace zorva {

DesignReview reviewDesign(const FieldRecord& fields, const CheckLimits& limits) {
    return reviewDesign(fields, evaluateDesign(fields), limits);
}

DesignReview reviewDesign(const FieldRecord& fields, const Evaluation& run,
                          const CheckLimits& limits) {
    DesignReview review;
    review.run = run;
    review.floorLimit = floorTempLimit(limits.category);
    review.en = en1264TypeA(en1264Inputs(fields, review.floorLimit));
    review.checks = checkDesign(run, limits, &review.en);
    review.overall = worstVerdict(review.checks);

    const double room = parseLeadingNumber(fields.design[RoomTempField]);
    const FloorOutputLimit floor = floorOutputLimit(room, limits.category, &review.en);
    review.maxOutput = floor.output;
    review.maxOutputBasis = floor.basis;
    if (limits.loadPerArea) {
        const double load = *limits.loadPerArea;
        if (floor.basis != FloorOutputLimit::Basis::NotAvailable && load > review.maxOutput)
            review.shortfall = outputShortfall(load, review.maxOutput);
        review.supply = requiredSupplyTemp(fields, load, run);
    }

    if (run.converged() && review.en.applicable() && run.heatOutput != 0) {
        MethodDifference d;
        d.heatFlux = review.en.heatFlux - run.heatOutput;
        d.floorTemp = review.en.meanFloorTemp - run.surfaceTemp;
        d.percent = d.heatFlux / run.heatOutput * 100;
        review.difference = d;
    }
    return review;
}

} // namespace zorva
