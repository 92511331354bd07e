// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/method/looprunner.h"

#include "core/en1264/atwater.h"
#include "core/method/loopfill.h"

#include <bit>

namespace zorva::method {

const LoopMethodRunner::Slot& LoopMethodRunner::floorFor(const LoopSetup& setup,
                                                         double floorLimit) {
    const auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
    const Key key{
        bits(setup.spacingMm),       bits(setup.roomTemp),        bits(floorLimit),
        bits(setup.pipeDiameterMm),  bits(setup.thickness[0]),    bits(setup.thickness[1]),
        bits(setup.thickness[2]),    bits(setup.thickness[3]),    bits(setup.conductivity[0]),
        bits(setup.conductivity[1]), bits(setup.conductivity[2]), bits(setup.conductivity[3])};
    // Doubles of whole numbers have only zeros in their low bits, so every
    // bit of the key is spread over the whole hash before a slot is picked.
    std::uint64_t hash = 0;
    for (const std::uint64_t k : key) {
        hash = (hash ^ k) * 0xff51afd7ed558ccdu;
        hash ^= hash >> 33;
    }
    // Four neighbouring slots may hold a floor; a new one takes the first
    // free one of them, or else they are taken in turn.
    const std::size_t first = hash % kSlots;
    for (std::size_t i = 0; i < kWays; ++i) {
        Slot& slot = slots_[(first + i) % kSlots];
        if (slot.used && slot.key == key)
            return slot;
        if (!slot.used)
            return fillSlot(slot, key, setup, floorLimit);
    }
    Slot& slot = slots_[(first + nextWay_++ % kWays) % kSlots];
    return fillSlot(slot, key, setup, floorLimit);
}

const LoopMethodRunner::Slot&
LoopMethodRunner::fillSlot(Slot& slot, const Key& key, const LoopSetup& setup, double floorLimit) {
    slot.used = true;
    slot.key = key;
    slot.floor = fill::floorOf(setup);
    slot.characteristic = en1264::floorCharacteristic(slot.floor, setup.roomTemp, floorLimit);
    ++floorsComputed_;
    return slot;
}

MethodLoopResult LoopMethodRunner::compute(Method method, const LoopSetup& setup) {
    MethodLoopResult r;
    fill::start(method, r);
    if (method == Method::Program) {
        fill::byProgram(setup, program_.compute(manifoldOf(setup), loopOf(setup)), r);
        return r;
    }
    const Slot& slot = floorFor(setup, floorLimitFor(setup, true));
    const En1264Inputs in = fill::standardInputs(setup, slot.floor, r);
    fill::byStandard(setup, slot.floor, en1264::atWaterTemps(slot.characteristic, in), r);
    return r;
}

} // namespace zorva::method
