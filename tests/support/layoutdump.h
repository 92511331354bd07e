// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A window's controls as text, one line per named control in the order they
// were built: class, name, parent, place and size (or "hint" for a label
// sized to its text), text, accessible name, tooltip, font and a filled
// background. Compared with a golden file, it holds a window's whole form.
// Take it of a shown window: a main window lays out its client area then.

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QString>
#include <QStringList>
#include <QWidget>

inline QString quotedForDump(const QString& text) {
    QString quoted = text;
    quoted.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'"', QStringLiteral("\\\""))
        .replace(u'\n', QStringLiteral("\\n"))
        .replace(u'\r', QStringLiteral("\\r"));
    return u'"' + quoted + u'"';
}

inline QString controlLine(const QWidget& w) {
    QStringList parts{QString::fromLatin1(w.metaObject()->className()), w.objectName()};
    const QWidget* parent = w.parentWidget();
    while (parent != nullptr && parent->objectName().isEmpty() && !parent->isWindow())
        parent = parent->parentWidget();
    parts << QStringLiteral("in")
          << (parent == nullptr || parent->isWindow() ? QStringLiteral("window")
                                                      : parent->objectName());
    const QRect g = w.geometry();
    // A main window's client area sits under its menu bar, whose height
    // depends on the fonts installed.
    const auto* main = qobject_cast<const QMainWindow*>(w.window());
    if (main != nullptr && main->centralWidget() == &w)
        parts << QStringLiteral("client");
    else
        parts << QStringLiteral("at %1,%2").arg(g.x()).arg(g.y());
    const auto* label = qobject_cast<const QLabel*>(&w);
    // A caption sized to its text: its size depends on the fonts installed.
    if (label != nullptr && !label->text().isEmpty() && w.size() == w.sizeHint())
        parts << QStringLiteral("hint");
    else
        parts << QStringLiteral("%1x%2").arg(g.width()).arg(g.height());
    QString text;
    if (label != nullptr)
        text = label->text();
    else if (const auto* edit = qobject_cast<const QLineEdit*>(&w))
        text = edit->text();
    else if (const auto* button = qobject_cast<const QAbstractButton*>(&w))
        text = button->text();
    else if (const auto* group = qobject_cast<const QGroupBox*>(&w))
        text = group->title();
    if (!text.isEmpty())
        parts << QStringLiteral("text=") + quotedForDump(text);
    if (!w.accessibleName().isEmpty())
        parts << QStringLiteral("name=") + quotedForDump(w.accessibleName());
    if (!w.toolTip().isEmpty())
        parts << QStringLiteral("tip=") + quotedForDump(w.toolTip());
    // A font the window chose (not the platform's default).
    if (w.font().resolveMask() != 0)
        parts << QStringLiteral("font=%1 %2")
                     .arg(quotedForDump(w.font().families().value(0)))
                     .arg(w.font().pointSizeF());
    if (w.autoFillBackground())
        parts << QStringLiteral("bg=") + w.palette().color(QPalette::Window).name();
    return parts.join(u' ');
}

// The window's line, then a line for every named control below it; Qt's
// own helpers (names starting "qt_") and the menus are left out.
inline QString windowLayout(const QWidget& window) {
    const auto* main = qobject_cast<const QMainWindow*>(&window);
    const QSize client =
        main != nullptr && main->centralWidget() ? main->centralWidget()->size() : window.size();
    QStringList lines{QStringLiteral("%1 %2 title=%3 client %4x%5")
                          .arg(QString::fromLatin1(window.metaObject()->className()),
                               window.objectName(), quotedForDump(window.windowTitle()))
                          .arg(client.width())
                          .arg(client.height())};
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_")) ||
            qobject_cast<const QMenu*>(w) != nullptr || qobject_cast<const QMenuBar*>(w) != nullptr)
            continue;
        lines << controlLine(*w);
    }
    return lines.join(u'\n') + u'\n';
}
