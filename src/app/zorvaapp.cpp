#include "zorvaapp.h"

#include "dialogseam.h"
#include "translations.h"
#include "windowregistry.h"
#include "zorvaresources.h"

#include <QApplication>
#include <QLocale>

int runZorva(QApplication& app) {
    app.setWindowIcon(zorva::programIcon());
    // Qt's file dialog, its questions and standard buttons in the user's
    // language; without a translation they stay English.
    installQtTranslations(app, QLocale());
    // Lets the desktop match the windows to the program's menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.zorva.Zorva"));
    QtDialogs dialogs;
    WindowRegistry windows(dialogs);
    windows.start();
    return app.exec();
}
