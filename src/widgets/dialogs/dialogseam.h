// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every modal dialog the program shows goes through a DialogSeam. The
// program passes a QtDialogs; tests pass a scripted seam that answers
// without blocking.

#include <QMessageBox>
#include <QString>

class QPrinter;
class QWidget;

namespace zorva::ui {

class DialogSeam {
public:
    virtual ~DialogSeam() = default;

    // A modal message box with one button that closes it.
    virtual void message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                         const QString& text) = 0;

    // Modal file dialogs. `nameFilter` is in Qt's form; `selected` is the
    // name to start from. An empty result means the user cancelled.
    virtual QString saveFileName(QWidget* parent, const QString& nameFilter,
                                 const QString& selected) = 0;
    virtual QString openFileName(QWidget* parent, const QString& nameFilter,
                                 const QString& selected) = 0;

    // A modal question with the given standard buttons (shown with Chinese
    // texts); returns the button chosen, the escape button when the box is
    // closed without a choice.
    virtual QMessageBox::StandardButton question(QWidget* parent, const QString& title,
                                                 const QString& text,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton) = 0;

    // The system's print dialog for `printer`; true when the user chose to
    // print, with the printer set up as chosen.
    virtual bool choosePrinter(QWidget* parent, QPrinter& printer) = 0;
};

// The real dialogs: QMessageBox and QFileDialog.
class QtDialogs : public DialogSeam {
public:
    void message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                 const QString& text) override;
    QString saveFileName(QWidget* parent, const QString& nameFilter,
                         const QString& selected) override;
    QString openFileName(QWidget* parent, const QString& nameFilter,
                         const QString& selected) override;
    QMessageBox::StandardButton question(QWidget* parent, const QString& title, const QString& text,
                                         QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton defaultButton) override;
    bool choosePrinter(QWidget* parent, QPrinter& printer) override;
};

} // namespace zorva::ui
