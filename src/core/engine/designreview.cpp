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
    review.checks = checkDesign(run, limits);
    review.overall = worstVerdict(review.checks);

    review.floorLimit = floorTempLimit(limits.category);
    const double room = parseLeadingNumber(fields.design[RoomTempField]);
    review.maxOutput = maxOutputForFloorLimit(room, review.floorLimit);
    if (limits.loadPerArea) {
        const double load = *limits.loadPerArea;
        if (load > review.maxOutput)
            review.shortfall = outputShortfall(load, review.maxOutput);
        review.supply = requiredSupplyTemp(fields, load, run);
    }

    review.en = en1264TypeA(en1264Inputs(fields, review.floorLimit));
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
