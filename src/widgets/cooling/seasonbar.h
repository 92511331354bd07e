// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The season of a project in the project window's settings bar
// (docs/project-window.md, "Cooling"): 工况 供暖 / 供冷 / 供暖和供冷 and the
// dew-point margin, each edit one undo step of the document like the other
// settings. It follows the document: undo and redo show here too.

#include <QWidget>

class QComboBox;
class QLineEdit;

namespace zorva::models {
class ProjectDocument;
} // namespace zorva::models

namespace zorva::ui {

class SeasonBar : public QWidget {
    Q_OBJECT

public:
    explicit SeasonBar(models::ProjectDocument& document, QWidget* parent = nullptr);

    QComboBox* seasonBox() const { return season_; }
    QLineEdit* marginField() const { return margin_; }

signals:
    // A typed margin was not taken; `reason` says why.
    void refused(const QString& reason);

private:
    void showSettings();
    void marginEdited();

    models::ProjectDocument& document_;
    QComboBox* season_ = nullptr;
    QLineEdit* margin_ = nullptr;
};

} // namespace zorva::ui
