// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/check/coolingpanel.h"

#include "core/wording/checkwording.h"
#include "models/check/coolingcheckmodel.h"
#include "models/session/designsession.h"
#include "widgets/check/verdicticons.h"
#include "widgets/common/valuelabel.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>

namespace zorva::ui {

using models::CoolingSettings;

CoolingPanel::CoolingPanel(models::DesignSession& session, QWidget* parent)
    : QGroupBox(QStringLiteral("供冷校核"), parent), session_(session),
      model_(new models::CoolingCheckModel(this)) {
    setObjectName(QStringLiteral("coolingGroup"));
    auto* inputs = new QWidget(this);
    inputs->setObjectName(QStringLiteral("coolingInputs"));
    form_ = new QFormLayout(inputs);

    roomTemp_ = addBox("coolingRoomTemp", QStringLiteral("室内设计温度"), QStringLiteral("℃"), 10,
                       40, 1, 0.5);
    advice_ = new ValueLabel(QStringLiteral("室内温度提示"), inputs);
    advice_->setObjectName(QStringLiteral("coolingRoomAdvice"));
    advice_->setWordWrap(true);
    advice_->setText(QStringLiteral("GB 50736-2012 §3.0.5：辐射供冷的室内设计温度宜提高 "
                                    "0.5~1.5 ℃，由设计人决定，程序不自动提高。"));
    form_->addRow(advice_);
    humidity_ =
        addBox("coolingHumidity", QStringLiteral("相对湿度"), QStringLiteral("%"), 1, 100, 0, 5);
    supply_ =
        addBox("coolingSupply", QStringLiteral("供冷供水温度"), QStringLiteral("℃"), 5, 40, 1, 0.5);
    return_ =
        addBox("coolingReturn", QStringLiteral("供冷回水温度"), QStringLiteral("℃"), 5, 40, 1, 0.5);
    margin_ = addBox("coolingMargin", QStringLiteral("防结露安全余量"), QStringLiteral("K"), 1, 10,
                     1, 0.5);
    load_ =
        addBox("coolingLoad", QStringLiteral("显热冷负荷"), QStringLiteral("W/m²"), 0, 1000, 1, 5);
    load_->setSpecialValueText(QStringLiteral("未输入"));
    load_->setAccessibleDescription(
        QStringLiteral("单位 W/m²（环路面积），范围 0 至 1000，0 表示未输入，不校核供冷量"));
    occupancy_ = new QComboBox(inputs);
    occupancy_->setObjectName(QStringLiteral("coolingOccupancy"));
    occupancy_->setAccessibleName(QStringLiteral("人员状态"));
    occupancy_->setAccessibleDescription(QStringLiteral("决定地表面平均温度的舒适下限"));
    occupancy_->addItem(QStringLiteral("站立、走动（地面不低于 19 ℃）"));
    occupancy_->addItem(QStringLiteral("以坐姿为主（地面不低于 20 ℃）"));
    occupancy_->addItem(QStringLiteral("门厅、走廊（由露点决定）"));
    form_->addRow(QStringLiteral("人员状态："), occupancy_);
    connect(occupancy_, &QComboBox::currentIndexChanged, this, [this] { edited(); });

    status_ = new ValueLabel(QStringLiteral("供冷校核结论"), this);
    status_->setObjectName(QStringLiteral("coolingStatus"));
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    view_ = new QTableView(this);
    view_->setObjectName(QStringLiteral("coolingTable"));
    view_->setAccessibleName(QStringLiteral("供冷校核表"));
    view_->setModel(new VerdictIconProxy(model_, view_));
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setWordWrap(false);
    view_->verticalHeader()->hide();
    view_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view_->horizontalHeader()->setStretchLastSection(true);

    auto* results = new QVBoxLayout;
    results->addWidget(status_);
    results->addWidget(view_);
    auto* row = new QHBoxLayout(this);
    row->addWidget(inputs, 0, Qt::AlignTop);
    row->addLayout(results, 1);

    showSettings();
    connect(&session_, &models::DesignSession::coolingChanged, this, [this] {
        showSettings();
        refresh();
    });
    connect(&session_, &models::DesignSession::inputsEdited, this, &CoolingPanel::refresh);
    connect(&session_, &models::DesignSession::calculated, this, &CoolingPanel::refresh);
    refresh();
}

QDoubleSpinBox* CoolingPanel::addBox(const char* name, const QString& caption, const QString& unit,
                                     double low, double high, int decimals, double step) {
    auto* box = new QDoubleSpinBox(form_->parentWidget());
    box->setObjectName(QLatin1String(name));
    box->setRange(low, high);
    box->setDecimals(decimals);
    box->setSingleStep(step);
    box->setSuffix(QStringLiteral(" ") + unit);
    box->setKeyboardTracking(false);
    box->setAccessibleName(caption);
    box->setAccessibleDescription(QStringLiteral("单位 %1，范围 %2 至 %3")
                                      .arg(unit, numberText(low, -1), numberText(high, -1)));
    form_->addRow(caption + QStringLiteral("："), box);
    connect(box, &QDoubleSpinBox::valueChanged, this, [this] { edited(); });
    return box;
}

void CoolingPanel::showSettings() {
    const CoolingSettings& c = session_.cooling();
    const QSignalBlocker blocks[] = {QSignalBlocker(roomTemp_), QSignalBlocker(humidity_),
                                     QSignalBlocker(supply_),   QSignalBlocker(return_),
                                     QSignalBlocker(margin_),   QSignalBlocker(load_),
                                     QSignalBlocker(occupancy_)};
    roomTemp_->setValue(c.roomTemp);
    humidity_->setValue(c.humidity * 100);
    supply_->setValue(c.supplyTemp);
    return_->setValue(c.returnTemp);
    margin_->setValue(c.dewMargin);
    load_->setValue(c.loadPerArea.value_or(0));
    occupancy_->setCurrentIndex(static_cast<int>(c.occupancy));
}

void CoolingPanel::edited() {
    CoolingSettings c = session_.cooling();
    c.roomTemp = roomTemp_->value();
    c.humidity = humidity_->value() / 100;
    c.supplyTemp = supply_->value();
    c.returnTemp = return_->value();
    c.dewMargin = margin_->value();
    c.loadPerArea = load_->value() > 0 ? std::optional<double>(load_->value()) : std::nullopt;
    c.occupancy = static_cast<cooling::Occupancy>(std::max(0, occupancy_->currentIndex()));
    session_.setCooling(c);
}

void CoolingPanel::refresh() {
    const models::CoolingCheck check =
        models::coolingCheck(session_.currentFields(), session_.cooling());
    model_->setCheck(check);
    status_->setText(models::coolingSummary(check));
    view_->setVisible(check.loop.applicable());
    view_->resizeColumnsToContents();
}

} // namespace zorva::ui
