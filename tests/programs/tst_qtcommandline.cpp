// SPDX-License-Identifier: GPL-3.0-or-later
// Qt is started with the program name only: options on the command line
// such as -reverse or -style never reach it.

#include "app/qtcommandline.h"

#include <QApplication>
#include <QTest>

int main(int argc, char* argv[]) {
    Q_UNUSED(argc);
    char reverse[] = "-reverse";
    char style[] = "-style";
    char windows[] = "windows";
    char* given[] = {argv[0], reverse, style, windows, nullptr};
    zorva::app::QtCommandLine qt(4, given);
    QApplication app(qt.argc, qt.argv);

    bool ok = qt.argc == 1 && qt.argv[0] == argv[0] && qt.argv[1] == nullptr;
    ok = ok && QApplication::arguments() == QStringList{QString::fromLocal8Bit(argv[0])};
    ok = ok && QApplication::layoutDirection() == Qt::LeftToRight;
    if (!ok)
        qWarning("Qt read the command line: %s", qPrintable(QApplication::arguments().join(u' ')));
    return ok ? 0 : 1;
}
