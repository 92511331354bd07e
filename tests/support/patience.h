// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How long a test waits for something the event loop or another thread
// brings about: a deferred delete, an activated window, a debounced
// recomputation, a background job, a child process. Long enough for a
// sanitizer build on a loaded two-core machine; a test that passes never
// waits this long, so only a real hang costs the time.

inline constexpr int kPatienceMs = 30000;
// Child processes run whole programs; under sanitizers they start slowly.
inline constexpr int kProcessPatienceMs = 120000;
