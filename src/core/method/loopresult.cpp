#include "core/method/loopresult.h"

#include "core/method/loopfill.h"

namespace zorva::method {

MethodLoopResult loopByMethod(Method method, const LoopSpec& spec) {
    MethodLoopResult r;
    fill::start(method, r);
    if (method == Method::Program) {
        fill::byProgram(spec, computeLoop(manifoldOf(spec), loopOf(spec)), r);
        return r;
    }
    const en1264::FloorSpec floor = fill::floorOf(spec);
    const En1264Inputs in = fill::standardInputs(spec, floor, r);
    fill::byStandard(spec, floor, en1264TypeA(in), r);
    return r;
}

} // namespace zorva::method
