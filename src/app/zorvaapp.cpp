#include "zorvaapp.h"

#include "dialogseam.h"
#include "windowregistry.h"
#include "zorvaresources.h"

#include <QApplication>

int runZorva(QApplication& app) {
    app.setWindowIcon(zorva::programIcon());
    // Lets the desktop match the windows to the program's menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.zorva.Zorva"));
    QtDialogs dialogs;
    WindowRegistry windows(dialogs);
    windows.start();
    return app.exec();
}
