#include "zorvaapp.h"

#include "dialogseam.h"
#include "windowregistry.h"
#include "zorvaresources.h"

#include <QApplication>

int runZorva(QApplication& app) {
    app.setWindowIcon(zorva::programIcon());
    QtDialogs dialogs;
    WindowRegistry windows(dialogs);
    windows.start();
    return app.exec();
}
