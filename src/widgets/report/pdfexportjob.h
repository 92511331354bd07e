// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A PDF report made and written off the UI thread: the report is laid out
// and painted on a worker thread, then written whole through the safe save
// path. Progress comes back as signals; a cancel stops the work at the next
// row or page and writes nothing, so no file is left (an old file of the
// name stays as it was). Only the write itself, once begun, is not stopped.

#include "widgets/report/reportprogress.h"

#include <QByteArray>
#include <QFutureWatcher>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace zorva::ui {

class DialogSeam;

struct PdfExportResult {
    enum class Outcome { Written, Cancelled, Failed } outcome = Outcome::Failed;
    QString fileName;
    QString error; // why it failed, in Chinese with the system's reason
};

class PdfExportJob : public QObject {
    Q_OBJECT

public:
    // Makes the PDF's bytes, reporting to the progress as it goes; empty
    // when cancelled or when the PDF could not be made.
    using Maker = std::function<QByteArray(ReportProgress& progress)>;

    explicit PdfExportJob(QObject* parent = nullptr);
    // Cancels a running job and waits for it.
    ~PdfExportJob() override;

    // Starts the job; false (and nothing started) while one runs.
    bool start(const QString& fileName, Maker make);
    void cancel();
    bool busy() const { return busy_; }
    // Waits until the job has ended and finished() has been sent.
    void waitForFinished();

signals:
    // Permille of the work done.
    void progress(int permille);
    void finished(const zorva::ui::PdfExportResult& result);

private:
    void done();

    QFutureWatcher<void> watcher_;
    std::shared_ptr<PdfExportResult> result_;
    bool busy_ = false;
};

// Asks for the name of a PDF starting from `suggested` (".pdf" is added when
// the name lacks it) and checks that it can be written. Empty when the user
// cancelled, or when the target can never be written (a folder, a missing
// folder, …), which has then been reported through the dialogs.
QString askPdfFileName(DialogSeam& dialogs, QWidget* parent, const QString& suggested);

// The warning for a report that could not be saved.
void showReportSaveFailure(DialogSeam& dialogs, QWidget* parent, const QString& fileName,
                           const QString& reason);

// What a window says when its export has finished, `what` naming the
// document ("调试单"): the status text of a written or a cancelled export;
// for a failure, the warning (and an empty status text).
QString finishedExportText(DialogSeam& dialogs, QWidget* parent, const PdfExportResult& result,
                           const QString& what);

} // namespace zorva::ui
