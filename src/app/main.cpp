// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qtcommandline.h"
#include "app/zorvaapp.h"
#include "core/io/safesave.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // A save past a file-size limit then fails with EFBIG, which the safe
    // save reports, instead of the signal ending the program.
    zorva::io::ignoreFileSizeSignal();
    zorva::app::QtCommandLine qt(argc, argv);
    QApplication app(qt.argc, qt.argv);
    return zorva::app::runZorva(app);
}
