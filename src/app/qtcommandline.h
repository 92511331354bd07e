// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line Qt is started with: the program name only. The program
// takes no options, and Qt's own (-reverse, -style, -platform, ...) would
// change how the windows look and behave.

namespace zorva::app {

struct QtCommandLine {
    explicit QtCommandLine(int argc, char* argv[])
        : argc(argc > 0 ? 1 : 0), argv{argc > 0 ? argv[0] : nullptr, nullptr} {}

    int argc;
    char* argv[2];
};

} // namespace zorva::app
