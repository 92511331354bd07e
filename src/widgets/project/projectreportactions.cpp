// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/project/projectreportactions.h"

#include "models/project/projectdocument.h"
#include "widgets/dialogs/dialogseam.h"
#include "widgets/report/pdfexportjob.h"
#include "widgets/report/projectreport.h"
#include "widgets/report/reportcommands.h"

#include <QAction>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include <memory>

namespace zorva::ui {

namespace {

constexpr int kStatusMs = 10000;

class ReportCommands : public QObject {
public:
    ReportCommands(QMainWindow& window, models::ProjectDocument& document, DialogSeam& dialogs,
                   QMenu& file)
        : QObject(&window), window_(window), document_(document), dialogs_(dialogs) {
        setObjectName(QStringLiteral("projectReportCommands"));
        file.addSeparator();
        export_ =
            file.addAction(QStringLiteral("导出项目报告 PDF…"), this, [this] { exportPdf(); });
        export_->setObjectName(QStringLiteral("exportProjectReport"));
        QAction* print =
            file.addAction(QStringLiteral("打印项目报告…"), this, [this] { printReport(); });
        print->setObjectName(QStringLiteral("printProjectReport"));

        job_ = new PdfExportJob(this);
        job_->setObjectName(QStringLiteral("projectReportJob"));
        progress_ = new QProgressBar;
        progress_->setObjectName(QStringLiteral("projectReportProgress"));
        progress_->setAccessibleName(QStringLiteral("导出项目报告进度"));
        progress_->setRange(0, 1000);
        progress_->setMaximumWidth(220);
        cancel_ = new QPushButton(QStringLiteral("取消导出"));
        cancel_->setObjectName(QStringLiteral("cancelProjectReport"));
        cancel_->setAccessibleName(QStringLiteral("取消导出项目报告"));
        window.statusBar()->addPermanentWidget(progress_);
        window.statusBar()->addPermanentWidget(cancel_);
        progress_->hide();
        cancel_->hide();
        connect(cancel_, &QPushButton::clicked, job_, &PdfExportJob::cancel);
        connect(job_, &PdfExportJob::progress, progress_, &QProgressBar::setValue);
        connect(job_, &PdfExportJob::finished, this,
                [this](const PdfExportResult& result) { finished(result); });
    }

private:
    // The latest result, when it belongs to the project as it stands.
    std::shared_ptr<const ProjectReportData> data() {
        models::ProjectDocument& document = document_;
        if (document.busy() || !document.resultCurrent()) {
            dialogs_.message(&window_, QMessageBox::Information, QStringLiteral("项目"),
                             QStringLiteral("项目仍在计算中，请在计算完成后再导出或打印报告。"));
            return nullptr;
        }
        return std::make_shared<const ProjectReportData>(
            ProjectReportData{document.project(), document.result(), projectTitle(document),
                              QDateTime::currentDateTime()});
    }

    void exportPdf() {
        if (job_->busy())
            return;
        auto copy = data();
        if (!copy)
            return;
        const QString fileName = askPdfFileName(
            dialogs_, &window_, QStringLiteral("%1 项目计算书.pdf").arg(copy->title));
        if (fileName.isEmpty())
            return;
        job_->start(fileName, [copy](ReportProgress& progress) {
            return projectReportPdf(*copy, &progress);
        });
        export_->setEnabled(false);
        progress_->setValue(0);
        progress_->show();
        cancel_->show();
        window_.statusBar()->showMessage(QStringLiteral("正在导出项目报告…"));
    }

    void printReport() {
        auto copy = data();
        if (!copy)
            return;
        printCommand(dialogs_, &window_, [copy](QPagedPaintDevice& device) {
            return printProjectReport(*copy, device);
        });
    }

    void finished(const PdfExportResult& result) {
        progress_->hide();
        cancel_->hide();
        export_->setEnabled(true);
        const QString text =
            finishedExportText(dialogs_, &window_, result, QStringLiteral("项目报告"));
        if (text.isEmpty())
            window_.statusBar()->clearMessage();
        else
            window_.statusBar()->showMessage(text, kStatusMs);
    }

    QMainWindow& window_;
    models::ProjectDocument& document_;
    DialogSeam& dialogs_;
    QAction* export_ = nullptr;
    PdfExportJob* job_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace

QString projectTitle(const models::ProjectDocument& document) {
    return document.fileName().isEmpty() ? QStringLiteral("未命名项目")
                                         : QFileInfo(document.fileName()).completeBaseName();
}

void addReportActions(QMainWindow& window, models::ProjectDocument& document, DialogSeam& dialogs,
                      QMenu& file) {
    new ReportCommands(window, document, dialogs, file);
}

} // namespace zorva::ui
