// SPDX-License-Identifier: GPL-3.0-or-later
// A child process for tst_filesizelimit: started with SIGXFSZ at its default
// and a file-size limit, it begins as the desktop program does
// (io::ignoreFileSizeSignal, then Qt on the offscreen platform), fills the
// manifold window's sheet with `loops` loops and saves the project through
// the window to `target` (the save dialog answered with it). Every message
// box is written to standard output; the exit status is 0 when the window
// reported the save as done, 1 when it warned.
//
//     manifoldsavechild <target> <loops>

#include "core/io/safesave.h"
#include "models/session/designsession.h"
#include "widgets/dialogs/dialogseam.h"
#include "widgets/manifold/manifoldwindow.h"

#include <QApplication>

#include <cstdio>

namespace {

// Answers the save dialog with the target and prints every message box.
class ScriptedDialogs : public zorva::ui::DialogSeam {
public:
    explicit ScriptedDialogs(QString target) : target_(std::move(target)) {}

    void message(QWidget*, QMessageBox::Icon, const QString&, const QString& text) override {
        std::fputs(qPrintable(text + u'\n'), stdout);
        ++messages;
    }
    QString saveFileName(QWidget*, const QString&, const QString&) override { return target_; }
    QString openFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QMessageBox::StandardButton question(QWidget*, const QString&, const QString&,
                                         QMessageBox::StandardButtons,
                                         QMessageBox::StandardButton) override {
        return QMessageBox::Discard;
    }
    bool choosePrinter(QWidget*, QPrinter&) override { return false; }

    int messages = 0;

private:
    QString target_;
};

} // namespace

int main(int argc, char* argv[]) {
    zorva::io::ignoreFileSizeSignal();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    if (argc != 3)
        return 2;
    ScriptedDialogs dialogs(QString::fromLocal8Bit(argv[1]));
    zorva::models::DesignSession session;
    zorva::ui::ManifoldWindow window(session, dialogs);
    zorva::models::ManifoldSheet& sheet = window.sheet();
    const int loops = QByteArray(argv[2]).toInt();
    for (int i = 0; i < loops; ++i)
        sheet.addLoop(i, sheet.newLoop());
    const bool saved = window.saveProjectAs();
    std::fflush(stdout);
    return saved && dialogs.messages == 0 ? 0 : 1;
}
