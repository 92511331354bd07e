// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// loopByMethod for loops one after another, most of them of the same
// manifold, as the sheet, the report and zorva-calc compute them: the
// program's method keeps the manifold's field texts (LoopRunner), EN 1264-2
// keeps the characteristic and limit curve of the last few floors (a floor
// is the construction, spacing, room temperature and floor limit), so a
// loop on a floor seen before costs only its water's numbers. The results
// are loopByMethod's, bit for bit. One runner per thread.

#include "core/en1264/floor.h"
#include "core/engine/manifold.h"
#include "core/method/loopresult.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace zorva::method {

class LoopMethodRunner {
public:
    MethodLoopResult compute(Method method, const LoopSetup& setup);

    // How many EN 1264-2 floors were computed afresh (for tests and benches).
    std::size_t floorsComputed() const { return floorsComputed_; }

private:
    static constexpr std::size_t kSlots = 64; // floors kept, by a hash of their inputs
    static constexpr std::size_t kWays = 4;   // slots a floor may take
    static constexpr std::size_t kKeyLength = 12;
    using Key = std::array<std::uint64_t, kKeyLength>;

    struct Slot {
        bool used = false;
        Key key{};
        en1264::Floor floor;
        En1264Result characteristic;
    };

    const Slot& floorFor(const LoopSetup& setup, double floorLimit);
    const Slot& fillSlot(Slot& slot, const Key& key, const LoopSetup& setup, double floorLimit);

    LoopRunner program_;
    std::array<Slot, kSlots> slots_{};
    std::size_t floorsComputed_ = 0;
    std::size_t nextWay_ = 0;
};

} // namespace zorva::method
