// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Caps the size of files this process may write, for its lifetime, so that
// a test can see a write fail with EFBIG part way. The suite must first
// ignore SIGXFSZ the way both programs do at start
// (zorva::io::ignoreFileSizeSignal); otherwise the first write past the cap
// ends the test, as it would end a program that forgot it. That the
// programs themselves do so is tested by running them as child processes
// (tests/programs/tst_filesizelimit.cpp).

#include <sys/resource.h>

class FileSizeCap {
public:
    explicit FileSizeCap(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit capped = saved_;
        capped.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &capped);
    }
    ~FileSizeCap() { setrlimit(RLIMIT_FSIZE, &saved_); }
    FileSizeCap(const FileSizeCap&) = delete;
    FileSizeCap& operator=(const FileSizeCap&) = delete;

private:
    rlimit saved_{};
};
