// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QApplication;

namespace zorva::app {

// Runs the program: the main window, shown in the middle of the screen,
// until it is closed. Returns the exit code.
int runZorva(QApplication& app);

} // namespace zorva::app
