// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/cooling/seasonbar.h"

#include "core/cooling/limits.h"
#include "models/project/projectdocument.h"
#include "models/project/projecttexts.h"
#include "widgets/common/uikit.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace zorva::ui {

namespace {

// The project file's range of the margin, K.
constexpr double kHighestMargin = 10;

} // namespace

SeasonBar::SeasonBar(models::ProjectDocument& document, QWidget* parent)
    : QWidget(parent), document_(document) {
    setObjectName(QStringLiteral("seasonBar"));
    season_ = new QComboBox(this);
    season_->setObjectName(QStringLiteral("season"));
    season_->setAccessibleName(QStringLiteral("工况"));
    season_->setAccessibleDescription(
        QStringLiteral("供暖：只计算供暖；供冷：同一环路通冷水；供暖和供冷：两季都计算"));
    for (auto s : {project::Season::Heating, project::Season::Cooling, project::Season::Both})
        season_->addItem(QString::fromUtf8(project::seasonName(s)), int(s));
    connect(season_, &QComboBox::activated, this, [this](int index) {
        project::Settings s = document_.project().settings;
        const auto season = project::Season(season_->itemData(index).toInt());
        if (season == s.cooling.season)
            return;
        s.cooling.season = season;
        document_.setSettings(s, QStringLiteral("修改工况"));
    });

    margin_ = new QLineEdit(this);
    margin_->setObjectName(QStringLiteral("dewMargin"));
    margin_->setAccessibleName(QStringLiteral("防结露安全余量"));
    margin_->setAccessibleDescription(
        QStringLiteral("供水温度和地表面温度至少高出露点温度的值（K），1～2 K（JGJ 142-2012 "
                       "§3.1）"));
    margin_->setToolTip(margin_->accessibleDescription());
    margin_->setMaximumWidth(60);
    makeNumberField(margin_);
    connect(margin_, &QLineEdit::editingFinished, this, &SeasonBar::marginEdited);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* seasonCaption = new QLabel(QStringLiteral("工况"), this);
    seasonCaption->setBuddy(season_);
    auto* marginCaption = new QLabel(QStringLiteral("防结露余量 K"), this);
    marginCaption->setBuddy(margin_);
    layout->addWidget(seasonCaption);
    layout->addWidget(season_);
    layout->addWidget(marginCaption);
    layout->addWidget(margin_);

    connect(&document_, &models::ProjectDocument::settingsChanged, this, &SeasonBar::showSettings);
    showSettings();
}

void SeasonBar::showSettings() {
    const project::CoolingSettings& c = document_.project().settings.cooling;
    const QSignalBlocker blocker(season_);
    season_->setCurrentIndex(season_->findData(int(c.season)));
    margin_->setText(QString::number(c.dewMargin, 'g', 6));
    margin_->setEnabled(project::coolsIn(c.season));
}

void SeasonBar::marginEdited() {
    project::Settings s = document_.project().settings;
    const QString text = margin_->text().trimmed();
    const std::optional<double> typed = models::cellNumber(text);
    if (!typed || *typed < cooling::kLowestDewMargin || *typed > kHighestMargin) {
        showSettings();
        emit refused(QStringLiteral("防结露安全余量“%1”不是 1～10 K 之间的数。").arg(text));
        return;
    }
    if (*typed == s.cooling.dewMargin)
        return;
    s.cooling.dewMargin = *typed;
    document_.setSettings(s, QStringLiteral("修改防结露安全余量"));
}

} // namespace zorva::ui
