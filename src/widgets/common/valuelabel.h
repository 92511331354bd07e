// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A label that shows a value (a number with its unit, a verdict, a status)
// under a caption shown elsewhere, e.g. in a form's left column. Assistive
// technology reads both: the accessible name is the caption and the label's
// current text is its accessible description and value, whatever the
// program writes into it later with setText().

#include <QLabel>
#include <QString>

namespace zorva::ui {

class ValueLabel : public QLabel {
    Q_OBJECT

public:
    // `caption` becomes the accessible name.
    explicit ValueLabel(const QString& caption, QWidget* parent = nullptr);
};

} // namespace zorva::ui
