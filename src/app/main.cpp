#include "app/qtcommandline.h"
#include "app/zorvaapp.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QtCommandLine qt(argc, argv);
    QApplication app(qt.argc, qt.argv);
    return runZorva(app);
}
