// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/report/reportcommands.h"

#include "core/io/safesave.h"
#include "widgets/dialogs/dialogseam.h"
#include "widgets/dialogs/messages.h"
#include "widgets/report/pdfexportjob.h"

#include <QPrinter>

namespace zorva::ui {

bool exportPdfCommand(DialogSeam& dialogs, QWidget* parent, const QString& suggested,
                      const std::function<QByteArray()>& makePdf) {
    const QString fileName = askPdfFileName(dialogs, parent, suggested);
    if (fileName.isEmpty())
        return false;
    const auto fail = [&](const QString& reason) {
        showReportSaveFailure(dialogs, parent, fileName, reason);
        return false;
    };
    const QByteArray pdf = makePdf();
    if (pdf.isEmpty())
        return fail(QStringLiteral("生成 PDF 失败"));
    const Result<void> written = io::writeFileSafely(fileName, pdf);
    return written.ok() || fail(written.error());
}

bool printCommand(DialogSeam& dialogs, QWidget* parent,
                  const std::function<bool(QPagedPaintDevice&)>& print) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    if (!dialogs.choosePrinter(parent, printer))
        return false;
    if (print(printer))
        return true;
    dialogs.message(parent, QMessageBox::Warning, messageTitle(),
                    QStringLiteral("无法打印：打印机“%1”不能开始打印。")
                        .arg(printer.outputFileName().isEmpty() ? printer.printerName()
                                                                : printer.outputFileName()));
    return false;
}

} // namespace zorva::ui
