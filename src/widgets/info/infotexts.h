#pragma once
// The fixed texts of the Help menu's message boxes: the design guidance,
// the heating system's characteristics and the About text. Lines are joined
// with CR LF, as the message box shows them.

#include <QString>

class DialogSeam;
class QWidget;

enum class InfoText {
    Guidance,        // "说明"
    Characteristics, // "特性"
    About,           // "关于"
};

QString infoText(InfoText which);

// Shows the text in a modal box titled "Zorva" with the question icon and
// waits until the user closes it; which button closed it does not matter.
void showInfo(DialogSeam& dialogs, QWidget* parent, InfoText which);
