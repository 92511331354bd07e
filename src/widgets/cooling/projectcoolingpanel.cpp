// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/cooling/projectcoolingpanel.h"

#include "core/cooling/limits.h"
#include "models/cooling/coolingroomtablemodel.h"
#include "models/cooling/coolingtexts.h"
#include "models/cooling/coolingwatertablemodel.h"
#include "models/project/projectdocument.h"
#include "widgets/common/resulttable.h"
#include "widgets/common/valuelabel.h"

#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace zorva::ui {

namespace {

QLabel* captionFor(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

} // namespace

ProjectCoolingPanel::ProjectCoolingPanel(models::ProjectDocument& document, QWidget* parent)
    : QWidget(parent), document_(document) {
    setObjectName(QStringLiteral("projectCoolingPanel"));
    setAccessibleName(QStringLiteral("供冷"));
    roomModel_ = new models::CoolingRoomTableModel(document_, this);
    waterModel_ = new models::CoolingWaterTableModel(document_, this);

    summary_ = new ValueLabel(QStringLiteral("供冷合计"), this);
    summary_->setObjectName(QStringLiteral("coolingSummary"));
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    notice_ = new ValueLabel(QStringLiteral("供冷提示"), this);
    notice_->setObjectName(QStringLiteral("coolingNotice"));
    notice_->setWordWrap(true);
    notice_->setText(
        QStringLiteral("辐射供冷的室内设计温度宜比常规提高 0.5～1.5 ℃（%1）；地面只承担"
                       "显热冷负荷，湿度由新风除湿保证。")
            .arg(QString::fromUtf8(cooling::clause::kRoomTempAdvice.data(),
                                   qsizetype(cooling::clause::kRoomTempAdvice.size()))));

    water_ = resultTableView(
        waterModel_, QStringLiteral("coolingWaterTable"), QStringLiteral("分集水器供冷水温表"),
        QStringLiteral("每个分集水器的供冷供回水温度（双击修改）、供冷量、两季流量和"
                       "不合格环路数"));
    water_->setMaximumHeight(water_->fontMetrics().height() * 6);
    rooms_ = resultTableView(
        roomModel_, QStringLiteral("coolingRoomTable"), QStringLiteral("房间供冷表"),
        QStringLiteral("每个房间的供冷室内温度、相对湿度、显热冷负荷和人员活动（双击"
                       "修改），以及供冷量、不足、露点、最低供水温度、地表面温度和"
                       "结论"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(summary_);
    layout->addWidget(captionFor(QStringLiteral("分集水器供冷水温"), water_));
    layout->addWidget(water_);
    layout->addWidget(captionFor(QStringLiteral("房间供冷"), rooms_));
    layout->addWidget(rooms_, 1);
    layout->addWidget(notice_);

    connect(roomModel_, &models::CoolingRoomTableModel::refused, this,
            &ProjectCoolingPanel::showNotice);
    connect(waterModel_, &models::CoolingWaterTableModel::refused, this,
            &ProjectCoolingPanel::showNotice);
    connect(&document_, &models::ProjectDocument::settingsChanged, this,
            &ProjectCoolingPanel::followSeason);
    connect(&document_, &models::ProjectDocument::resultChanged, this,
            &ProjectCoolingPanel::showTotals);
    // Hidden for a heating project; a panel made without a parent is not
    // shown here, its parent shows it.
    if (!project::coolsIn(document_.project().settings.cooling.season))
        hide();
    showTotals();
}

QString ProjectCoolingPanel::summaryText() const {
    return summary_->text();
}

QString ProjectCoolingPanel::noticeText() const {
    return notice_->text();
}

void ProjectCoolingPanel::followSeason() {
    setVisible(project::coolsIn(document_.project().settings.cooling.season));
    showTotals();
}

void ProjectCoolingPanel::showTotals() {
    const project::CoolingResult& c = document_.result().cooling;
    if (!project::coolsIn(document_.project().settings.cooling.season))
        summary_->setText(QStringLiteral("本项目只设计供暖。"));
    else if (!c.computed || !document_.resultCurrent())
        summary_->setText(QStringLiteral("供冷：正在计算…"));
    else
        summary_->setText(models::coolingTotalsText(c));
}

void ProjectCoolingPanel::showNotice(const QString& text) {
    notice_->setText(text);
}

} // namespace zorva::ui
