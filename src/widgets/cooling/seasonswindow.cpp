// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/cooling/seasonswindow.h"

#include "core/engine/numtext.h"
#include "models/cooling/seasonstablemodel.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>

namespace zorva::ui {

namespace {

using models::SeasonsTableModel;

QString fixed(double value, int decimals) {
    return std::isfinite(value) ? QString::fromUtf8(patternText(value, decimals).view())
                                : QString();
}

QTableView* tableFor(SeasonsTableModel* model, const QString& name, const QString& description,
                     QWidget* parent) {
    auto* view = new QTableView(parent);
    view->setModel(model);
    view->setObjectName(name);
    view->setAccessibleName(name);
    view->setAccessibleDescription(description);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view->verticalHeader()->hide();
    return view;
}

} // namespace

SeasonsWindow::SeasonsWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("seasonsWindow"));
    setWindowTitle(QStringLiteral("供暖和供冷"));
    setAccessibleName(windowTitle());
    loops_ = new SeasonsTableModel(SeasonsTableModel::Kind::Loops, this);
    rooms_ = new SeasonsTableModel(SeasonsTableModel::Kind::Rooms, this);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("seasonsSummary"));
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    auto* loopCaption = new QLabel(QStringLiteral("环路：供暖与供冷"), this);
    loopView_ = tableFor(loops_, QStringLiteral("环路：供暖与供冷"),
                         QStringLiteral("每个环路的供暖和供冷结果、两季流量和结露校核"), this);
    loopCaption->setBuddy(loopView_);
    auto* roomCaption = new QLabel(QStringLiteral("房间：供冷量与显热冷负荷"), this);
    roomView_ =
        tableFor(rooms_, QStringLiteral("房间：供冷量与显热冷负荷"),
                 QStringLiteral("每个房间的供冷量、允许供冷量、不足、露点和最低供水温度"), this);
    roomCaption->setBuddy(roomView_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(loopCaption);
    layout->addWidget(loopView_, 3);
    layout->addWidget(roomCaption);
    layout->addWidget(roomView_, 2);
    resize(1100, 640);
}

void SeasonsWindow::setProject(const project::Project& project,
                               const project::ProjectResult& result) {
    loops_->setProject(project, result);
    rooms_->setProject(project, result);
    const project::CoolingResult& c = result.cooling;
    QString text = QStringLiteral("设计季节：") +
                   QString::fromUtf8(project::seasonName(project.settings.cooling.season));
    if (!c.computed) {
        text += QStringLiteral("。本项目只设计供暖，没有供冷结果；在项目设置中选择“供冷”或"
                               "“供暖和供冷”后重新计算。");
    } else {
        const project::CoolingTotals& t = c.totals;
        text += QStringLiteral("。防结露安全余量 %1 K（JGJ 142-2012 §3.1）。供冷量 %2 W，"
                               "显热冷负荷 %3 W，允许供冷量 %4 W")
                    .arg(fixed(c.dewMargin, 1), fixed(t.output, 0), fixed(t.sensibleLoad, 0),
                         fixed(t.admissibleOutput, 0));
        text += t.roomsNotMet > 0 ? QStringLiteral("；%1 个房间供冷量不足，共缺 %2 W。")
                                        .arg(t.roomsNotMet)
                                        .arg(fixed(t.shortfall, 0))
                                  : QStringLiteral("；各房间的显热冷负荷均能满足。");
    }
    summary_->setText(text);
    summary_->setAccessibleName(text);
}

QString SeasonsWindow::summaryText() const {
    return summary_->text();
}

} // namespace zorva::ui
