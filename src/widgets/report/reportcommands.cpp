#include "widgets/report/reportcommands.h"

#include "core/io/safesave.h"
#include "widgets/dialogs/dialogseam.h"
#include "widgets/dialogs/messages.h"

#include <QPrinter>

namespace zorva::ui {

bool exportPdfCommand(DialogSeam& dialogs, QWidget* parent, const QString& suggested,
                      const std::function<QByteArray()>& makePdf) {
    QString fileName = dialogs.saveFileName(parent, QStringLiteral("PDF 文件 (*.pdf)"), suggested);
    if (fileName.isEmpty())
        return false;
    if (!fileName.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        fileName += QStringLiteral(".pdf");
    const auto fail = [&](const QString& reason) {
        dialogs.message(parent, QMessageBox::Warning, messageTitle(),
                        QStringLiteral("无法保存报告“%1”：\r\n%2").arg(fileName, reason));
        return false;
    };
    // A target that can never be written is refused before the report is made.
    if (const Result<void> target = io::checkSaveTarget(fileName); !target)
        return fail(target.error());
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
