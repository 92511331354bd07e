// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The commands that let a report leave the program: saved as a PDF file
// (a name asked for, the file written whole through the safe save path or
// not at all) or printed on a printer the user chooses. Every dialog and
// message goes through the dialog seam.

#include <QByteArray>
#include <QString>

#include <functional>

class QPagedPaintDevice;
class QWidget;

namespace zorva::ui {

class DialogSeam;

// Asks for a PDF name starting from `suggested` (".pdf" is added when the
// name lacks it), makes the PDF and writes it. A cancelled dialog does
// nothing; a PDF that cannot be made or written is reported in Chinese and
// leaves any old file as it was. True when the file was written.
bool exportPdfCommand(DialogSeam& dialogs, QWidget* parent, const QString& suggested,
                      const std::function<QByteArray()>& makePdf);

// Shows the print dialog; when the user chooses to print, `print` paints the
// report on the printer chosen. A printer that cannot print is reported.
// True when the report was printed.
bool printCommand(DialogSeam& dialogs, QWidget* parent,
                  const std::function<bool(QPagedPaintDevice&)>& print);

} // namespace zorva::ui
