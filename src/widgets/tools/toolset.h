// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's tools beside the original windows: the session they share
// with the main and construction windows, and the "工具" menu with its
// windows and commands.

#include "models/session/designsession.h"
#include "widgets/tools/toolwindows.h"

#include <memory>

class QSettings;

namespace zorva::ui {

class DialogSeam;
class ManifoldWindow;
class WindowRegistry;

class ToolSet {
public:
    // Builds the tools menu on the registry's main window. `settings` keeps
    // what the tools remember between runs (may be null).
    ToolSet(WindowRegistry& windows, DialogSeam& dialogs, QSettings* settings);
    ~ToolSet();

    models::DesignSession& session() { return session_; }
    ToolWindows& windows() { return *tools_; }

private:
    WindowRegistry& registry_;
    models::DesignSession session_;
    std::unique_ptr<ToolWindows> tools_;
};

} // namespace zorva::ui
