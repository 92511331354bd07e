// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/report/pdfexportjob.h"

#include "core/io/filesuffix.h"
#include "core/io/safesave.h"
#include "widgets/dialogs/dialogseam.h"
#include "widgets/dialogs/messages.h"

#include <QFileInfo>
#include <QPromise>
#include <QtConcurrent>

#include <algorithm>
#include <cmath>

namespace zorva::ui {

namespace {

// The job's progress on its promise: a value in permille, and the cancel
// that the owner's QFuture::cancel() sets.
class PromiseProgress final : public ReportProgress {
public:
    explicit PromiseProgress(QPromise<void>& promise) : promise_(promise) {}

    bool advance(double fraction) override {
        const int permille = static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * 1000));
        if (permille > last_) {
            last_ = permille;
            promise_.setProgressValue(permille);
        }
        return !promise_.isCanceled();
    }

private:
    QPromise<void>& promise_;
    int last_ = 0;
};

void makeAndWrite(QPromise<void>& promise, const QString& fileName, const PdfExportJob::Maker& make,
                  PdfExportResult& result) {
    promise.setProgressRange(0, 1000);
    PromiseProgress progress(promise);
    const QByteArray pdf = make(progress);
    result.fileName = fileName;
    // The last moment at which a cancel leaves no file.
    if (promise.isCanceled()) {
        result.outcome = PdfExportResult::Outcome::Cancelled;
        return;
    }
    if (pdf.isEmpty()) {
        result.outcome = PdfExportResult::Outcome::Failed;
        result.error = QStringLiteral("生成 PDF 失败");
        return;
    }
    const Result<void> written = io::writeFileSafely(fileName, pdf);
    result.outcome = written ? PdfExportResult::Outcome::Written : PdfExportResult::Outcome::Failed;
    result.error = written.error();
}

} // namespace

PdfExportJob::PdfExportJob(QObject* parent) : QObject(parent) {
    connect(&watcher_, &QFutureWatcher<void>::progressValueChanged, this, &PdfExportJob::progress);
    connect(&watcher_, &QFutureWatcher<void>::finished, this, &PdfExportJob::done);
}

PdfExportJob::~PdfExportJob() {
    watcher_.disconnect(this);
    watcher_.cancel();
    watcher_.waitForFinished();
}

bool PdfExportJob::start(const QString& fileName, Maker make) {
    if (busy_)
        return false;
    busy_ = true;
    result_ = std::make_shared<PdfExportResult>();
    watcher_.setFuture(QtConcurrent::run(
        [fileName, make = std::move(make), result = result_](QPromise<void>& promise) {
            makeAndWrite(promise, fileName, make, *result);
        }));
    return true;
}

void PdfExportJob::cancel() {
    if (busy_)
        watcher_.cancel();
}

void PdfExportJob::waitForFinished() {
    if (!busy_)
        return;
    watcher_.waitForFinished();
    // The finished signal is queued; hand it over now.
    if (busy_)
        done();
}

void PdfExportJob::done() {
    if (!busy_)
        return;
    busy_ = false;
    const PdfExportResult result = *result_;
    emit finished(result);
}

QString askPdfFileName(DialogSeam& dialogs, QWidget* parent, const QString& suggested) {
    QString fileName = dialogs.saveFileName(parent, QStringLiteral("PDF 文件 (*.pdf)"), suggested);
    if (fileName.isEmpty())
        return {};
    fileName = io::withSuffix(fileName, QStringLiteral("pdf"));
    // A target that can never be written is refused before the report is made.
    if (const Result<void> target = io::checkSaveTarget(fileName); !target) {
        showReportSaveFailure(dialogs, parent, fileName, target.error());
        return {};
    }
    return fileName;
}

void showReportSaveFailure(DialogSeam& dialogs, QWidget* parent, const QString& fileName,
                           const QString& reason) {
    dialogs.message(parent, QMessageBox::Warning, messageTitle(),
                    QStringLiteral("无法保存报告“%1”：\r\n%2").arg(fileName, reason));
}

QString finishedExportText(DialogSeam& dialogs, QWidget* parent, const PdfExportResult& result,
                           const QString& what) {
    switch (result.outcome) {
    case PdfExportResult::Outcome::Written:
        return QStringLiteral("%1已导出：%2").arg(what, QFileInfo(result.fileName).fileName());
    case PdfExportResult::Outcome::Cancelled:
        return QStringLiteral("导出%1已取消，未写入文件。").arg(what);
    case PdfExportResult::Outcome::Failed:
        break;
    }
    showReportSaveFailure(dialogs, parent, result.fileName, result.error);
    return {};
}

} // namespace zorva::ui
