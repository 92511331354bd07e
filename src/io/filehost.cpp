#include "filehost.h"

#include "dialogseam.h"
#include "messages.h"

void warnAboutFile(FileCommandHost& host, const QString& text) {
    host.dialogs().message(host.dialogParent(), QMessageBox::Warning, messageTitle(), text);
}
