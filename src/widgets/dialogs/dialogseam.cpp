// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/dialogs/dialogseam.h"

#include "widgets/dialogs/messagebox.h"

#include <QFileDialog>
#include <QPrintDialog>
#include <QPushButton>

namespace zorva::ui {

void QtDialogs::message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                        const QString& text) {
    makeMessageBox(parent, icon, title, text)->exec();
}

namespace {

QString runFileDialog(QWidget* parent, QFileDialog::AcceptMode mode, const QString& nameFilter,
                      const QString& selected) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    // The list shows the entry as the program names it, without Qt's
    // repeated pattern list.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilter(nameFilter);
    if (!selected.isEmpty())
        dialog.selectFile(selected);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.constFirst();
}

} // namespace

QString QtDialogs::saveFileName(QWidget* parent, const QString& nameFilter,
                                const QString& selected) {
    return runFileDialog(parent, QFileDialog::AcceptSave, nameFilter, selected);
}

QString QtDialogs::openFileName(QWidget* parent, const QString& nameFilter,
                                const QString& selected) {
    return runFileDialog(parent, QFileDialog::AcceptOpen, nameFilter, selected);
}

QMessageBox::StandardButton QtDialogs::question(QWidget* parent, const QString& title,
                                                const QString& text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton) {
    QMessageBox box(QMessageBox::Question, title, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    // The program's own words, whatever translation Qt found.
    const std::pair<QMessageBox::StandardButton, const char16_t*> captions[] = {
        {QMessageBox::Save, u"保存"},   {QMessageBox::Discard, u"不保存"},
        {QMessageBox::Cancel, u"取消"}, {QMessageBox::Yes, u"是"},
        {QMessageBox::No, u"否"},       {QMessageBox::Ok, u"确定"},
    };
    for (const auto& [button, caption] : captions) {
        if (QAbstractButton* b = box.button(button))
            b->setText(QString::fromUtf16(caption));
    }
    box.exec();
    const auto chosen = box.standardButton(box.clickedButton());
    if (chosen == QMessageBox::NoButton)
        return buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel : QMessageBox::NoButton;
    return chosen;
}

bool QtDialogs::choosePrinter(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace zorva::ui
