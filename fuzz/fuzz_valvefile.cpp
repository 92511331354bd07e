// SPDX-License-Identifier: GPL-3.0-or-later
// The valve file reader over arbitrary bytes, and presetting with what it
// reads.
//
// - Reading never crashes; a refusal always says why.
// - A characteristic read without fault passes the engine's check, and its
//   points read back: kv at each setting is the point's kv, the setting for
//   each kv is the point's setting.
// - Presetting three loops with it gives finite numbers, settings inside
//   the table and an index loop that is fully open.

#include "core/hydraulics/presetting.h"
#include "core/io/valvefile.h"
#include "fuzzcheck.h"

#include <QByteArray>

#include <cmath>
#include <cstdint>
#include <vector>

using namespace zorva;
using namespace zorva::hydraulics;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const io::ValveFileRead read = io::readValveFile(bytes);
    if (!read) {
        FUZZ_CHECK(!read.error().isEmpty());
        return 0;
    }
    const ValveCharacteristic& v = *read;
    FUZZ_CHECK(checkCharacteristic(v).ok());
    for (std::size_t i = 0; i < v.kv.size(); ++i) {
        FUZZ_CHECK(kvAtSetting(v, v.settings[i]) == v.kv[i]);
        const SettingLookup look = settingForKv(v, v.kv[i]);
        FUZZ_CHECK(std::abs(look.setting - v.settings[i]) <=
                   1e-9 * (std::abs(v.settings[i]) + v.settings.back() - v.settings.front()));
    }
    const std::vector<LoopBranch> loops{{220, 10.9, 992}, {140, 4.2, 993}, {25, 0.5, 993}};
    const Presetting p = presetLoops(loops, v);
    FUZZ_CHECK(p.indexLoop.has_value());
    FUZZ_CHECK(p.loops[*p.indexLoop].range == SettingRange::FullyOpen);
    for (const LoopPresetting& l : p.loops) {
        FUZZ_CHECK(std::isfinite(l.kv) && std::isfinite(l.setting) &&
                   std::isfinite(l.dialFlowDeviation));
        FUZZ_CHECK(l.dialSetting >= v.settings.front() && l.dialSetting <= v.settings.back());
    }
    return 0;
}
