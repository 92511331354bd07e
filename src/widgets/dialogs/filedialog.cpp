// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/dialogs/filedialog.h"

#include "widgets/dialogs/dialogseam.h"

namespace zorva::ui {

QString FileDialog::qtNameFilter(const QString& filter) {
    const qsizetype bar = filter.indexOf(u'|');
    if (bar < 0)
        return filter;
    QString patterns = filter.mid(bar + 1);
    patterns.replace(u';', u' ');
    return filter.left(bar) + QStringLiteral(" (") + patterns.trimmed() + u')';
}

QString FileDialog::remember(const QString& chosen) {
    if (!chosen.isEmpty())
        fileName_ = chosen;
    return chosen;
}

QString FileDialog::showSave(QWidget* parent) {
    return remember(seam_.saveFileName(parent, qtNameFilter(filter_), fileName_));
}

QString FileDialog::showOpen(QWidget* parent) {
    return remember(seam_.openFileName(parent, qtNameFilter(filter_), fileName_));
}

} // namespace zorva::ui
