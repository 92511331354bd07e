// SPDX-License-Identifier: GPL-3.0-or-later
// The manifold window's report: made from a copy of the sheet and written
// in the background, while the sheet stays in use.

#include "widgets/dialogs/dialogseam.h"
#include "widgets/manifold/manifoldwindow.h"
#include "widgets/report/manifoldreport.h"

#include <QAction>
#include <QDateTime>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <vector>

namespace zorva::ui {

void ManifoldWindow::exportReport() {
    if (reportJob_->busy())
        return;
    if (!sheet_->resultsCurrent()) {
        dialogs_.message(this, QMessageBox::Information, QStringLiteral("多环路计算"),
                         QStringLiteral("环路结果仍在计算中，请在计算完成后再导出报告。"));
        return;
    }
    const QString fileName = askPdfFileName(dialogs_, this, QStringLiteral("多环路计算书.pdf"));
    if (fileName.isEmpty())
        return;
    // The report is made from a copy: editing the sheet goes on meanwhile.
    struct Copy {
        ManifoldInput manifold;
        std::vector<LoopInput> loops;
        std::vector<LoopResult> results;
        ManifoldTotals totals;
        QDateTime when;
        ManifoldReportMethod method;
    };
    auto copy =
        std::make_shared<const Copy>(Copy{sheet_->manifold(),
                                          {sheet_->loops().begin(), sheet_->loops().end()},
                                          {sheet_->results().begin(), sheet_->results().end()},
                                          sheet_->totals(),
                                          QDateTime::currentDateTime(),
                                          {sheet_->method(), sheet_->model().standard(),
                                           sheet_->model().basis().settings.standard.designDrop}});
    reportJob_->start(fileName, [copy](ReportProgress& progress) {
        return manifoldReportPdf(copy->manifold, copy->loops, copy->results, copy->totals,
                                 copy->when, &progress, copy->method);
    });
    reportAction_->setEnabled(false);
    reportProgress_->setValue(0);
    reportProgress_->show();
    reportCancel_->show();
    status_->setText(QStringLiteral("正在导出报告…"));
}

void ManifoldWindow::reportFinished(const PdfExportResult& result) {
    reportProgress_->hide();
    reportCancel_->hide();
    reportAction_->setEnabled(true);
    status_->setText(finishedExportText(dialogs_, this, result, QStringLiteral("报告")));
}

} // namespace zorva::ui
