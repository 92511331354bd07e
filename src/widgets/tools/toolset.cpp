#include "widgets/tools/toolset.h"

#include "widgets/check/designcheckwindow.h"
#include "widgets/curves/curveswindow.h"
#include "widgets/dialogs/dialogseam.h"
#include "widgets/main/windowregistry.h"
#include "widgets/manifold/manifoldwindow.h"
#include "widgets/report/designreport.h"
#include "widgets/report/manifoldreport.h"
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
    tools_->addWindow("manifold", QStringLiteral("多环路计算"), [this, &dialogs] {
        auto* sheet = new ManifoldWindow(session_, dialogs);
        connectManifoldReport(*sheet, dialogs);
        return sheet;
    });
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

// The sheet's "导出报告": its inputs, loops, results, balancing and totals as
// a PDF, once every loop's result is up to date.
void ToolSet::connectManifoldReport(ManifoldWindow& sheet, DialogSeam& dialogs) {
    QAction* action = sheet.reportAction();
    action->setEnabled(true);
    QObject::connect(action, &QAction::triggered, &sheet, [&sheet, &dialogs] {
        if (!sheet.resultsCurrent()) {
            dialogs.message(&sheet, QMessageBox::Information, QStringLiteral("多环路计算"),
                            QStringLiteral("环路结果仍在计算中，请在计算完成后再导出报告。"));
            return;
        }
        exportPdfCommand(dialogs, &sheet, QStringLiteral("多环路计算书.pdf"), [&sheet] {
            return manifoldReportPdf(sheet.manifold(), sheet.loops(), sheet.results(),
                                     sheet.totals());
        });
    });
}

ToolSet::~ToolSet() {
    registry_.setEndGuard({});
    registry_.setSession(nullptr);
}

} // namespace zorva::ui
