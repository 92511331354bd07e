#include "toolset.h"

#include "curveswindow.h"
#include "designcheckwindow.h"
#include "manifoldwindow.h"
#include "windowregistry.h"

namespace zorva::ui {

ToolSet::ToolSet(WindowRegistry& windows, DialogSeam& dialogs, QSettings* settings)
    : registry_(windows), session_(settings) {
    registry_.setSession(&session_);
    tools_ = std::make_unique<ToolWindows>(windows.main());
    tools_->addWindow("designCheck", QStringLiteral("设计校核"),
                      [this] { return new DesignCheckWindow(session_); });
    tools_->addWindow("curves", QStringLiteral("特性曲线"),
                      [this, &dialogs] { return new CurvesWindow(session_, dialogs); });
    tools_->addWindow("manifold", QStringLiteral("多环路计算"),
                      [this, &dialogs] { return new ManifoldWindow(session_, dialogs); });
    registry_.setEndGuard([this] { return tools_->confirmEnd(); });
}

ToolSet::~ToolSet() {
    registry_.setEndGuard({});
    registry_.setSession(nullptr);
}

} // namespace zorva::ui
