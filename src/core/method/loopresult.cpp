#include "core/method/loopresult.h"

#include "core/method/loopfill.h"

namespace zorva::method {

MethodLoopResult loopByMethod(Method method, const LoopSetup& setup) {
    MethodLoopResult r;
    fill::start(method, r);
    if (method == Method::Program) {
        fill::byProgram(setup, computeLoop(manifoldOf(setup), loopOf(setup)), r);
        return r;
    }
    const en1264::Floor floor = fill::floorOf(setup);
    const En1264Inputs in = fill::standardInputs(setup, floor, r);
    fill::byStandard(setup, floor, en1264TypeA(in), r);
    return r;
}

} // namespace zorva::method
