// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/info/infobox.h"

#include "widgets/dialogs/dialogseam.h"
#include "widgets/dialogs/messages.h"

namespace zorva::ui {

void showInfo(DialogSeam& dialogs, QWidget* parent, InfoText which) {
    dialogs.message(parent, QMessageBox::Question, messageTitle(), infoText(which));
}

} // namespace zorva::ui
