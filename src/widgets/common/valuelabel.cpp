// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/common/valuelabel.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace zorva::ui {

namespace {

// What a screen reader gets of a ValueLabel: its caption as the name, its
// text as the description and the value, read when asked, so a text
// written later is never missed.
class ValueLabelAccessible : public QAccessibleWidget {
public:
    explicit ValueLabelAccessible(QWidget* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        const auto* label = static_cast<const QLabel*>(object());
        switch (t) {
        case QAccessible::Name:
            return label->accessibleName();
        case QAccessible::Description:
        case QAccessible::Value:
            return label->text();
        default:
            return QAccessibleWidget::text(t);
        }
    }
};

QAccessibleInterface* valueLabelInterface(const QString& className, QObject* object) {
    if (className == QLatin1String(ValueLabel::staticMetaObject.className()) &&
        object->isWidgetType())
        return new ValueLabelAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

} // namespace

ValueLabel::ValueLabel(const QString& caption, QWidget* parent) : QLabel(parent) {
    // Qt asks the installed factories before its own ones, for the most
    // derived class first; installing twice would ask this one twice.
    static const bool installed = [] {
        QAccessible::installFactory(valueLabelInterface);
        return true;
    }();
    (void)installed;
    setAccessibleName(caption);
}

} // namespace zorva::ui
