// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/hydraulics/rebalancewindow.h"

#include "core/io/projectmanifolds.h"
#include "models/hydraulics/rebalancetablemodel.h"
#include "models/project/projectdocument.h"
#include "widgets/common/uikit.h"
#include "widgets/common/valuelabel.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace zorva::ui {

RebalanceWindow::RebalanceWindow(models::ProjectDocument& document, QWidget* parent)
    : QMainWindow(parent), document_(document) {
    setUpWindow(*this, QStringLiteral("rebalanceWindow"), QStringLiteral("调试后平衡"));
    setAccessibleName(QStringLiteral("调试后平衡"));
    model_ = new models::RebalanceTableModel(document_, this);
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    auto* bar = new QHBoxLayout;
    manifold_ = new QComboBox;
    manifold_->setObjectName(QStringLiteral("rebalanceManifold"));
    manifold_->setAccessibleName(QStringLiteral("分集水器"));
    auto* caption = new QLabel(QStringLiteral("分集水器"));
    caption->setBuddy(manifold_);
    bar->addWidget(caption);
    bar->addWidget(manifold_);
    bar->addStretch(1);
    for (QAction* action : {document_.undoStack().createUndoAction(this, QStringLiteral("撤销")),
                            document_.undoStack().createRedoAction(this, QStringLiteral("重做"))}) {
        auto* button = new QToolButton;
        button->setDefaultAction(action);
        button->setAccessibleName(action->text());
        bar->addWidget(button);
    }
    auto* take = new QPushButton(QStringLiteral("采用建议设定"));
    take->setObjectName(QStringLiteral("takeProposals"));
    take->setAccessibleName(QStringLiteral("采用建议设定"));
    take->setAccessibleDescription(
        QStringLiteral("把每个需要改变的建议设定记为平衡后设定；测量时的设定保留"));
    bar->addWidget(take);
    layout->addLayout(bar);

    table_ = new QTableView;
    table_->setObjectName(QStringLiteral("rebalanceTable"));
    table_->setAccessibleName(QStringLiteral("调试后平衡表"));
    table_->setAccessibleDescription(
        QStringLiteral("输入各环路实测的供回水温度、流量和室温，查看实际与设计散热量及建议设定"));
    table_->setModel(model_);
    table_->setAlternatingRowColors(true);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(table_, 1);
    summary_ = new ValueLabel(QStringLiteral("平衡说明"));
    summary_->setObjectName(QStringLiteral("rebalanceSummary"));
    summary_->setWordWrap(true);
    layout->addWidget(summary_);
    setCentralWidget(central);

    connect(manifold_, &QComboBox::activated, this,
            [this](int index) { model_->setManifold(std::size_t(std::max(index, 0))); });
    connect(take, &QPushButton::clicked, this, [this] { model_->takeProposals(); });
    connect(&document_, &models::ProjectDocument::resultChanged, this, &RebalanceWindow::refresh);
    refresh();
    resize(1300, 520);
}

void RebalanceWindow::refresh() {
    const project::Project& p = document_.project();
    const int current = std::max(manifold_->currentIndex(), 0);
    manifold_->clear();
    for (std::size_t i = 0; i < p.manifolds.size(); ++i)
        manifold_->addItem(io::manifoldLabel(i, p.manifolds[i].name));
    manifold_->setCurrentIndex(std::min(current, manifold_->count() - 1));
    const std::size_t m = std::size_t(std::max(manifold_->currentIndex(), 0));
    if (model_->manifold() != m)
        model_->setManifold(m);
    QString text = QStringLiteral(
        "实际散热量 = 流量 × c_W × (实测供水 − 实测回水)，无实测流量时取设计流量；偏差在 ±%1% "
        "以内的环路保持原设定；其余按实测传热能力求达到设计散热量的流量，在当前支路压差下由阀门"
        "特性求建议设定（docs/hydraulics.md §7）。各环路单独估算：调整后请重新测量。");
    const double tolerance =
        m < p.manifolds.size() ? p.manifolds[m].rebalance.tolerance * 100 : 5.0;
    text = text.arg(tolerance);
    const project::ProjectResult& r = document_.result();
    if (m < r.manifolds.size() && !r.manifolds[m].rebalance.unmatched.empty())
        text += QStringLiteral("\n有 %1 个测量值对应的环路已不在此分集水器中。")
                    .arg(r.manifolds[m].rebalance.unmatched.size());
    summary_->setText(text);
}

} // namespace zorva::ui
