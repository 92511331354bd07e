#include "dialogseam.h"

#include <QFileDialog>

void QtDialogs::message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                        const QString& text) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    // Texts may come from a file the user opened: never render them as HTML.
    box.setTextFormat(Qt::PlainText);
    box.exec();
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
