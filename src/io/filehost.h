#pragma once
// What every file command needs from the main window: its file dialog and
// the seam through which it shows dialogs.

class CommonDialog;
class DialogSeam;
class QString;
class QWidget;

class FileCommandHost {
public:
    virtual ~FileCommandHost() = default;

    // CommonDialog1, the window's file dialog shared by all file commands.
    virtual CommonDialog& commonDialog() = 0;
    virtual DialogSeam& dialogs() = 0;
    virtual QWidget* dialogParent() = 0;
};

// A warning box titled "Zorva", for a file that could not be read or written.
void warnAboutFile(FileCommandHost& host, const QString& text);
