// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/check/designcheckwindow.h"

#include "core/method/methodreview.h"
#include "models/check/checktexts.h"
#include "models/check/crosscheckmodel.h"
#include "models/check/ruletablemodel.h"
#include "models/session/designsession.h"
#include "widgets/check/coolingpanel.h"
#include "widgets/check/limitspanel.h"
#include "widgets/check/verdicticons.h"
#include "widgets/common/valuelabel.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace zorva::ui {

using models::DesignSession;
using models::signedText;

namespace {

// Why the two methods differ, so that EN 1264-2 giving more, or the design
// lying above its limit curve, reads as what it is.
const char* const kMethodNote =
    "两种方法为什么不同：本程序方法由盘管、各层导热和地面的辐射、对流散热规律迭代求出"
    "散热量和地面平均温度；EN 1264-2 用由试验整理的特性系数 K_H（地面换热系数固定取 "
    "10.8 W/(m²·K)）求散热量，再由基本特性曲线 q = 8.92·(θ_F,m − θ_i)^1.1 推出地面平均温度。"
    "两者相差一成左右是常见的。EN 1264-2 的极限曲线限制的是管道正上方的地面最高温度，"
    "管间距较大时，地面平均温度低于限值也可能超出极限曲线。居住区、浴室、边缘区的 29 / 33 / "
    "35 ℃ 是 EN 1264 的地面最高温度，这三类房间的地面按极限曲线 q ≤ q_G 校核；JGJ 142-2012 "
    "的房间类别按本程序方法的地面平均温度校核，这时的对比只用于检查结果是否合理。";

QLabel* newValueLabel(QWidget* parent, const char* name, const QString& caption) {
    auto* label = new ValueLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return label;
}

QTableView* newTable(QWidget* parent, const char* name, const QString& accessibleName) {
    auto* view = new QTableView(parent);
    view->setObjectName(QLatin1String(name));
    view->setAccessibleName(accessibleName);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 8);
    view->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->horizontalHeader()->setStretchLastSection(true);
    return view;
}

} // namespace

DesignCheckWindow::DesignCheckWindow(models::DesignSession& session, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), limits_(new LimitsPanel),
      rules_(new models::RuleTableModel(this)), crossCheck_(new models::CrossCheckModel(this)) {
    setObjectName(QStringLiteral("designCheck"));
    setWindowTitle(QStringLiteral("设计校核"));

    auto* content = new QWidget;
    auto* column = new QVBoxLayout(content);

    notice_ = newValueLabel(content, "limitsNotice", QStringLiteral("校核限值已更新"));
    notice_->setVisible(false);
    column->addWidget(notice_);

    column->addLayout(buildChoices());

    auto* statusRow = new QHBoxLayout;
    statusIcon_ = new QLabel(content);
    statusIcon_->setObjectName(QStringLiteral("statusIcon"));
    status_ = newValueLabel(content, "status", QStringLiteral("校核状态"));
    statusRow->addWidget(statusIcon_);
    statusRow->addWidget(status_, 1);
    column->addLayout(statusRow);

    auto* top = new QHBoxLayout;
    top->addWidget(limits_, 0, Qt::AlignTop);
    top->addWidget(buildRules(), 1);
    column->addLayout(top);
    column->addWidget(buildAdvice());
    column->addWidget(buildCrossCheck());
    cooling_ = new CoolingPanel(session_, content);
    column->addWidget(cooling_);
    column->addStretch(1);

    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("scrollArea"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(content);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);

    limits_->setLimits(session_.limits());
    connect(limits_, &LimitsPanel::limitsEdited, this,
            [this](const CheckLimits& limits) { session_.setLimits(limits); });
    connect(&session_, &models::DesignSession::calculated, this, &DesignCheckWindow::refresh);
    connect(&session_, &models::DesignSession::inputsEdited, this, [this] {
        rules_->setStale(true);
        showStatus();
    });
    connect(&session_, &models::DesignSession::limitsChanged, this, [this] {
        limits_->setLimits(session_.limits());
        refresh();
    });
    connect(&session_, &models::DesignSession::methodChanged, this, [this] {
        methodChoice_->setCurrentIndex(static_cast<int>(session_.method()));
        refresh();
    });
    connect(&session_, &models::DesignSession::seasonChanged, this, &DesignCheckWindow::showSeason);
    refresh();
    showSeason();
    // Limits moved to a new edition's defaults are said once, here.
    if (const QString notice = session_.takeLimitsNotice(); !notice.isEmpty()) {
        notice_->setText(notice);
        notice_->setVisible(true);
    }

    // Room for the filled tables without scrolling, where the screen allows.
    QSize size(1120, 800);
    if (const QScreen* screen = this->screen())
        size = size.boundedTo(screen->availableGeometry().size());
    resize(size);
}

DesignCheckWindow::~DesignCheckWindow() = default;

QHBoxLayout* DesignCheckWindow::buildChoices() {
    auto* row = new QHBoxLayout;
    methodChoice_ = new QComboBox;
    methodChoice_->setObjectName(QStringLiteral("methodChoice"));
    methodChoice_->setAccessibleName(QStringLiteral("计算方法"));
    for (const method::Method m : {method::Method::Program, method::Method::En1264})
        methodChoice_->addItem(QString::fromUtf8(method::methodName(m)), static_cast<int>(m));
    methodChoice_->setAccessibleDescription(
        QStringLiteral("校核表中散热量、地面平均温度、流速和阻力所用的计算方法；各工具共用此选择"));
    methodChoice_->setCurrentIndex(static_cast<int>(session_.method()));
    connect(methodChoice_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0)
            session_.setMethod(static_cast<method::Method>(methodChoice_->itemData(i).toInt()));
    });
    seasonChoice_ = new QComboBox;
    seasonChoice_->setObjectName(QStringLiteral("seasonChoice"));
    seasonChoice_->setAccessibleName(QStringLiteral("季节"));
    seasonChoice_->setAccessibleDescription(
        QStringLiteral("供暖：按热负荷校核；供冷：按露点和地面温度下限校核供冷量"));
    seasonChoice_->addItem(QStringLiteral("供暖"));
    seasonChoice_->addItem(QStringLiteral("供冷"));
    seasonChoice_->setCurrentIndex(session_.season() == models::Season::Cooling ? 1 : 0);
    connect(seasonChoice_, &QComboBox::currentIndexChanged, this, [this](int i) {
        session_.setSeason(i == 1 ? models::Season::Cooling : models::Season::Heating);
    });
    auto* methodLabel = new QLabel(QStringLiteral("计算方法(&M)："));
    methodLabel->setBuddy(methodChoice_);
    methodLabel->setAccessibleName(QStringLiteral("计算方法："));
    auto* seasonLabel = new QLabel(QStringLiteral("季节(&S)："));
    seasonLabel->setBuddy(seasonChoice_);
    seasonLabel->setAccessibleName(QStringLiteral("季节："));
    row->addWidget(methodLabel);
    row->addWidget(methodChoice_);
    row->addSpacing(16);
    row->addWidget(seasonLabel);
    row->addWidget(seasonChoice_);
    row->addStretch(1);
    return row;
}

void DesignCheckWindow::showSeason() {
    const bool cooling = session_.season() == models::Season::Cooling;
    seasonChoice_->setCurrentIndex(cooling ? 1 : 0);
    cooling_->setVisible(cooling);
    if (cooling)
        cooling_->refresh();
    // The heating sections, and the heating method's choice, only in heating.
    methodChoice_->setEnabled(!cooling);
    limits_->setVisible(!cooling);
    rulesGroup_->setVisible(!cooling && review_.has_value());
    adviceGroup_->setVisible(!cooling && review_.has_value());
    enGroup_->setVisible(!cooling && review_.has_value());
    statusIcon_->setVisible(!cooling);
    status_->setVisible(!cooling);
}

QGroupBox* DesignCheckWindow::buildRules() {
    rulesGroup_ = new QGroupBox(QStringLiteral("校核结果"));
    rulesGroup_->setObjectName(QStringLiteral("rulesGroup"));
    rulesView_ = newTable(rulesGroup_, "rulesTable", QStringLiteral("设计校核规则表"));
    rulesView_->setModel(new VerdictIconProxy(rules_, rulesView_));
    auto* box = new QVBoxLayout(rulesGroup_);
    box->addWidget(rulesView_);
    return rulesGroup_;
}

QGroupBox* DesignCheckWindow::buildAdvice() {
    adviceGroup_ = new QGroupBox(QStringLiteral("调整建议"));
    adviceGroup_->setObjectName(QStringLiteral("adviceGroup"));
    auto* form = new QFormLayout(adviceGroup_);
    const QString maxCaption = QStringLiteral("地面温度限值下的最大散热量");
    const QString supplyCaption = QStringLiteral("所需供水温度");
    const QString shortfallCaption = QStringLiteral("由其它采暖方式补充");
    maxOutput_ = newValueLabel(adviceGroup_, "maxOutput", maxCaption);
    supply_ = newValueLabel(adviceGroup_, "requiredSupply", supplyCaption);
    shortfall_ = newValueLabel(adviceGroup_, "shortfall", shortfallCaption);
    form->addRow(maxCaption + QStringLiteral("："), maxOutput_);
    form->addRow(supplyCaption + QStringLiteral("："), supply_);
    form->addRow(shortfallCaption + QStringLiteral("："), shortfall_);
    return adviceGroup_;
}

QGroupBox* DesignCheckWindow::buildCrossCheck() {
    enGroup_ = new QGroupBox;
    enGroup_->setObjectName(QStringLiteral("crossCheckGroup"));
    auto* box = new QHBoxLayout(enGroup_);
    enReason_ = newValueLabel(enGroup_, "enReason", QStringLiteral("EN 1264-2 不适用的原因"));
    enFlags_ = newValueLabel(enGroup_, "enFlags", QStringLiteral("EN 1264-2 适用范围提示"));
    crossView_ = newTable(enGroup_, "crossCheckTable", QStringLiteral("EN 1264-2 对比表"));
    crossView_->setModel(new VerdictIconProxy(crossCheck_, crossView_));
    difference_ = newValueLabel(enGroup_, "methodDifference", QStringLiteral("两种方法的差值"));
    auto* note = newValueLabel(enGroup_, "methodNote", QStringLiteral("两种方法的说明"));
    note->setText(QString::fromUtf8(kMethodNote));
    auto* numbers = new QVBoxLayout;
    numbers->addWidget(enReason_);
    numbers->addWidget(enFlags_);
    numbers->addWidget(crossView_);
    numbers->addWidget(difference_);
    numbers->addStretch(1);
    note->setMinimumWidth(260);
    note->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    box->addLayout(numbers, 3);
    box->addWidget(note, 2);
    return enGroup_;
}

void DesignCheckWindow::refresh() {
    const auto& last = session_.lastCalculation();
    if (!last) {
        review_.reset();
        methodLoop_.reset();
        rules_->clear();
        crossCheck_->clear();
    } else {
        review_ = reviewDesign(last->fields, last->run, session_.limits());
        methodLoop_ =
            method::reviewByMethod(*review_, last->fields, session_.limits(), session_.method());
        rules_->setChecks(review_->checks, session_.limits().category,
                          session_.limits().loadPerArea.has_value());
        rules_->setStale(session_.editedSinceCalculation());
        showAdvice(*review_);
        showCrossCheck(*review_);
        rulesView_->resizeColumnsToContents();
    }
    showStatus();
    if (cooling_ != nullptr)
        showSeason();
}

void DesignCheckWindow::showStatus() {
    QString text;
    QIcon icon;
    if (!review_) {
        text = QStringLiteral("请先计算：在主窗口按“计算”后，这里显示校核结果。");
        icon = style()->standardIcon(QStyle::SP_MessageBoxInformation);
    } else if (session_.editedSinceCalculation()) {
        text = QStringLiteral("输入已修改，请重新计算。以下结论属于上次计算。");
        icon = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    } else {
        text = QStringLiteral("最近一次计算的校核结论：%1").arg(verdictText(review_->overall));
        if (methodLoop_)
            text += QStringLiteral("（计算方法：%1，%2）")
                        .arg(QString::fromUtf8(methodLoop_->methodName),
                             QString::fromUtf8(methodLoop_->clause));
        icon = verdictIcon(review_->overall);
    }
    const QString lastSuffix =
        review_ && session_.editedSinceCalculation() ? QStringLiteral("（上次计算）") : QString();
    // The advice comes from the program's method whichever method is chosen.
    adviceGroup_->setTitle(QStringLiteral("调整建议") +
                           (methodLoop_ ? QStringLiteral("（本程序方法）") : QString()) +
                           lastSuffix);
    const method::Method chosen = session_.method();
    rulesGroup_->setTitle(QStringLiteral("校核结果（计算方法：%1，%2）")
                              .arg(QString::fromUtf8(method::methodName(chosen)),
                                   QString::fromUtf8(method::methodClause(chosen))) +
                          lastSuffix);
    enGroup_->setTitle(QStringLiteral("与 EN 1264-2（A 型，盘管埋在找平层内）对比") + lastSuffix);
    status_->setText(text);
    statusIcon_->setPixmap(icon.pixmap(24, 24));
}

void DesignCheckWindow::showAdvice(const DesignReview& review) {
    const CheckLimits& limits = session_.limits();
    maxOutput_->setText(maxOutputAdvice(review, limits));
    supply_->setText(supplyAdvice(review, limits));
    shortfall_->setText(shortfallAdvice(review, limits));
}

void DesignCheckWindow::showCrossCheck(const DesignReview& review) {
    crossCheck_->setReview(review);
    const bool applicable = review.en.applicable();
    enReason_->setVisible(!applicable);
    enReason_->setText(enApplicabilityText(review.en.applicability));
    crossView_->setVisible(applicable);
    const QStringList flags = applicable ? enFlagTexts(review.en.flags) : QStringList();
    enFlags_->setVisible(!flags.isEmpty());
    enFlags_->setText(QStringLiteral("以下 EN 1264-2 数值超出其适用范围，仅供参考：") +
                      flags.join(QString()));
    difference_->setVisible(review.difference.has_value());
    if (review.difference) {
        const MethodDifference& d = *review.difference;
        difference_->setText(QStringLiteral("EN 1264-2 − 本程序方法：散热量 %1 W/m²（%2 %），"
                                            "地面平均温度 %3 ℃")
                                 .arg(models::signedText(d.heatFlux, 1),
                                      models::signedText(d.percent, 1),
                                      models::signedText(d.floorTemp, 1)));
    }
    crossView_->resizeColumnsToContents();
}

} // namespace zorva::ui
