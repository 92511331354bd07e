#include "yuanli.h"

#include "zorvaresources.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

namespace {

// The controls' places in pixels; they stay put when the window is resized.
constexpr QSize clientSize(359, 280);
constexpr QRect lab11Rect(8, 8, 89, 17);
constexpr QPoint pic11Origin(8, 24);
constexpr int pic11Border = 1;

} // namespace

yuanli::yuanli(QWidget* parent)
    : QWidget(parent, Qt::Window), picture_(zorva::diagramResource()),
      lab11_(new QLabel(QStringLiteral("1、计算原理图"), this)), pic11_(new QLabel(this)) {
    setObjectName(QStringLiteral("yuanli"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Zorva"));
    setWindowIcon(zorva::programIcon());
    resize(clientSize);

    lab11_->setObjectName(QStringLiteral("Lab11"));
    lab11_->setGeometry(lab11Rect);

    // The box sizes itself to its picture, with a one-pixel line around it.
    pic11_->setObjectName(QStringLiteral("Pic11"));
    pic11_->setFrameStyle(QFrame::Box | QFrame::Plain);
    pic11_->setLineWidth(pic11Border);
    QPalette box = pic11_->palette();
    box.setColor(QPalette::WindowText, Qt::black);
    box.setColor(QPalette::Window, Qt::white);
    pic11_->setPalette(box);
    pic11_->setAutoFillBackground(true);
    pic11_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pic11_->setPixmap(QPixmap::fromImage(picture_));
    pic11_->setGeometry(QRect(
        pic11Origin,
        picture_.size().grownBy(QMargins(pic11Border, pic11Border, pic11Border, pic11Border))));

    // Start centred on the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), clientSize);
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}
