// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/zorvaapp.h"

#include "core/wording/translations.h"
#include "widgets/common/zorvaresources.h"
#include "widgets/dialogs/dialogseam.h"
#include "widgets/main/windowregistry.h"
#include "widgets/tools/toolset.h"

#include <QApplication>
#include <QLocale>
#include <QSettings>

namespace zorva::app {

int runZorva(QApplication& app) {
    app.setWindowIcon(ui::programIcon());
    // Qt's file dialog, its questions and standard buttons in the user's
    // language; without a translation they stay English.
    zorva::installQtTranslations(app, QLocale());
    // Lets the desktop match the windows to the program's menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.zorva.Zorva"));
    ui::QtDialogs dialogs;
    ui::WindowRegistry windows(dialogs);
    // What the tools remember between runs (the design check's limits).
    QSettings settings(QStringLiteral("Zorva"), QStringLiteral("Zorva"));
    windows.start();
    ui::ToolSet tools(windows, dialogs, &settings);
    return app.exec();
}

} // namespace zorva::app
