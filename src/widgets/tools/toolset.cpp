// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/tools/toolset.h"

#include "widgets/check/designcheckwindow.h"
#include "widgets/curves/curveswindow.h"
#include "widgets/dialogs/dialogseam.h"
#include "widgets/main/windowregistry.h"
#include "widgets/manifold/manifoldwindow.h"
#include "widgets/project/projectwindow.h"
#include "widgets/report/designreport.h"
#include "widgets/report/reportcommands.h"

#include <QAction>

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
    tools_->addWindow("projectWindow", QStringLiteral("项目（房间与环路）…"),
                      [&dialogs] { return new ProjectWindow(dialogs); });
    tools_->addSeparator();
    tools_->addCommand("exportReport", QStringLiteral("导出报告"), [this, &dialogs] {
        const DesignReportData data = designReportData(session_, QDateTime::currentDateTime());
        exportPdfCommand(dialogs, &registry_.main(), QStringLiteral("设计计算书.pdf"),
                         [&data] { return designReportPdf(data); });
    });
    tools_->addCommand("printReport", QStringLiteral("打印报告"), [this, &dialogs] {
        const DesignReportData data = designReportData(session_, QDateTime::currentDateTime());
        printCommand(dialogs, &registry_.main(), [&data](QPagedPaintDevice& device) {
            return printDesignReport(data, device);
        });
    });
    registry_.setEndGuard([this] { return tools_->confirmEnd(); });
}

ToolSet::~ToolSet() {
    registry_.setEndGuard({});
    registry_.setSession(nullptr);
}

} // namespace zorva::ui
