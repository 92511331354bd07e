// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's one file dialog (CommonDialog1), shared by the record and
// picture commands. It keeps the last confirmed file name between uses; a
// cancelled dialog returns an empty name and leaves the kept name alone.

#include <QString>

class QWidget;

namespace zorva::ui {

class DialogSeam;

class FileDialog {
public:
    explicit FileDialog(DialogSeam& seam) : seam_(seam) {}

    // Takes a filter in the "description|pattern;pattern" form.
    void setFilter(const QString& filter) { filter_ = filter; }
    QString filter() const { return filter_; }

    // Shows the dialog; returns the chosen name, empty when cancelled.
    QString showSave(QWidget* parent);
    QString showOpen(QWidget* parent);

    // The last confirmed file name.
    QString fileName() const { return fileName_; }

    // "文本文件(*.txt)|*.txt;*.doc" -> "文本文件(*.txt) (*.txt *.doc)".
    static QString qtNameFilter(const QString& filter);

private:
    QString remember(const QString& chosen);

    DialogSeam& seam_;
    QString filter_;
    QString fileName_;
};

} // namespace zorva::ui
