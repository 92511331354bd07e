// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/vectorstate.h"

namespace zorva::cli {

#if defined(__x86_64__) && defined(__GNUC__)

namespace {

__attribute__((target("avx"))) void zeroUpper() {
    __builtin_ia32_vzeroupper();
}

} // namespace

void clearUpperVectorState() {
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx)
        zeroUpper();
}

#else

void clearUpperVectorState() {}

#endif

} // namespace zorva::cli
