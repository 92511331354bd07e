// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/dialogs/messagebox.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace zorva::ui {

namespace {

QRect availableArea(const QWidget* parent) {
    QScreen* screen = parent != nullptr ? parent->screen() : nullptr;
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

// Room left around a box for its window frame and title bar.
constexpr int kFrameAllowance = 64;

std::unique_ptr<QDialog> scrollableBox(QWidget* parent, QMessageBox::Icon icon,
                                       const QString& title, const QString& text,
                                       const QRect& area) {
    auto box = std::make_unique<QDialog>(parent);
    box->setWindowTitle(title);
    auto* layout = new QVBoxLayout(box.get());
    auto* row = new QHBoxLayout;
    layout->addLayout(row);

    auto* iconLabel = new QLabel(box.get());
    const QMessageBox iconSource(icon, QString(), QString());
    iconLabel->setPixmap(iconSource.iconPixmap());
    iconLabel->setAlignment(Qt::AlignTop);
    row->addWidget(iconLabel);

    auto* body = new QPlainTextEdit(box.get());
    body->setObjectName(QStringLiteral("messageText"));
    body->setReadOnly(true);
    body->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    body->setPlainText(text);
    row->addWidget(body, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, box.get());
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, box.get(), &QDialog::accept);
    layout->addWidget(buttons);

    const QSize room = area.size() - QSize(kFrameAllowance, kFrameAllowance);
    box->setMaximumSize(room);
    box->resize(qMin(640, room.width()), qMin(480, room.height()));
    return box;
}

} // namespace

std::unique_ptr<QDialog> makeMessageBox(QWidget* parent, QMessageBox::Icon icon,
                                        const QString& title, const QString& text) {
    auto box = std::make_unique<QMessageBox>(icon, title, text, QMessageBox::Ok, parent);
    // Texts may come from a file the user opened: never render them as HTML.
    box->setTextFormat(Qt::PlainText);
    const QRect area = availableArea(parent);
    const QSize wanted = box->sizeHint();
    if (wanted.width() + kFrameAllowance <= area.width() &&
        wanted.height() + kFrameAllowance <= area.height())
        return box;
    return scrollableBox(parent, icon, title, text, area);
}

} // namespace zorva::ui
