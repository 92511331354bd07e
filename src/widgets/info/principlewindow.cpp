// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/info/principlewindow.h"

#include "core/wording/designwording.h"
#include "widgets/common/uikit.h"
#include "widgets/common/zorvaresources.h"

#include <QLabel>
#include <QPixmap>

namespace zorva::ui {

namespace {

// The controls' places in pixels; they stay put when the window is resized.
constexpr QSize clientSize(359, 280);
constexpr QRect captionRect(8, 8, 89, 17);
constexpr QPoint diagramOrigin(8, 24);
constexpr int diagramBorder = 1;

} // namespace

PrincipleWindow::PrincipleWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), picture_(diagramResource()),
      captionLabel_(new QLabel(principleCaption(), this)), diagramBox_(new QLabel(this)) {
    setUpWindow(*this, QStringLiteral("yuanli"), QStringLiteral("Zorva"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(clientSize);

    captionLabel_->setObjectName(QStringLiteral("Lab11"));
    captionLabel_->setGeometry(captionRect);

    // The box sizes itself to its picture, with a one-pixel line around it.
    diagramBox_->setObjectName(QStringLiteral("Pic11"));
    diagramBox_->setFrameStyle(QFrame::Box | QFrame::Plain);
    diagramBox_->setLineWidth(diagramBorder);
    QPalette box = diagramBox_->palette();
    box.setColor(QPalette::WindowText, Qt::black);
    box.setColor(QPalette::Window, Qt::white);
    diagramBox_->setPalette(box);
    diagramBox_->setAutoFillBackground(true);
    diagramBox_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    diagramBox_->setPixmap(QPixmap::fromImage(picture_));
    diagramBox_->setGeometry(
        QRect(diagramOrigin, picture_.size().grownBy(QMargins(diagramBorder, diagramBorder,
                                                              diagramBorder, diagramBorder))));

    // Start centred on the screen.
    centreOnScreen(*this);
}

} // namespace zorva::ui
