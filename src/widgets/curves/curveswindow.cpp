// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/curves/curveswindow.h"

#include "core/csv/csvwriter.h"
#include "core/engine/numtext.h"
#include "core/io/safesave.h"
#include "models/curves/curvesmodel.h"
#include "models/curves/fieldtablemodel.h"
#include "models/session/designsession.h"
#include "widgets/common/valuelabel.h"
#include "widgets/curves/chartexport.h"
#include "widgets/curves/curvechart.h"
#include "widgets/dialogs/dialogseam.h"
#include "widgets/dialogs/messages.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>

namespace zorva::ui {

namespace {

QString general(double value) {
    const NumberText text = generalText(value);
    return QString::fromLatin1(text.view().data(), static_cast<qsizetype>(text.size()));
}

QPushButton* button(const QString& text, const char* name, const QString& description) {
    auto* b = new QPushButton(text);
    b->setObjectName(QLatin1String(name));
    b->setAccessibleName(text);
    b->setAccessibleDescription(description);
    b->setAutoDefault(false);
    return b;
}

} // namespace

CurvesWindow::CurvesWindow(models::DesignSession& session, DialogSeam& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), dialogs_(dialogs) {
    setWindowTitle(QStringLiteral("特性曲线"));
    setAccessibleName(QStringLiteral("特性曲线"));
    resize(960, 620);

    spacing_ = new CurveChart(CurveFamily::Spacing);
    spacing_->setObjectName(QStringLiteral("spacingChart"));
    spacing_->setAccessibleName(QStringLiteral("管间距曲线图"));
    covering_ = new CurveChart(CurveFamily::Covering);
    covering_->setObjectName(QStringLiteral("coveringChart"));
    covering_->setAccessibleName(QStringLiteral("面层材料曲线图"));

    model_ = new models::CurvesModel(this);
    table_ = new QTableView;
    table_->setObjectName(QStringLiteral("curveData"));
    table_->setAccessibleName(QStringLiteral("特性曲线数据表"));
    table_->setModel(model_);
    table_->setAlternatingRowColors(true);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->setVisible(false);
    // Fixed widths: sizing to contents would read every row on each update.
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    table_->horizontalHeader()->setDefaultSectionSize(110);
    table_->setColumnWidth(models::CurvesModel::CurveColumn, 170);

    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("curveTabs"));
    tabs_->setAccessibleName(QStringLiteral("特性曲线页"));
    fieldSpacing_ = new FieldChart;
    fieldSpacing_->setObjectName(QStringLiteral("fieldSpacingChart"));
    fieldSpacing_->setAccessibleName(QStringLiteral("管间距特性曲线族图"));
    fieldCovering_ = new FieldChart;
    fieldCovering_->setObjectName(QStringLiteral("fieldCoveringChart"));
    fieldCovering_->setAccessibleName(QStringLiteral("面层热阻特性曲线族图"));
    fieldModel_ = new models::FieldTableModel(this);
    spacingStack_ = new QStackedWidget;
    spacingStack_->addWidget(spacing_);
    spacingStack_->addWidget(fieldSpacing_);
    coveringStack_ = new QStackedWidget;
    coveringStack_->addWidget(covering_);
    coveringStack_->addWidget(fieldCovering_);
    tabs_->addTab(spacingStack_, QStringLiteral("管间距"));
    tabs_->addTab(coveringStack_, QStringLiteral("面层材料"));
    tabs_->addTab(table_, QStringLiteral("数据"));

    status_ = new ValueLabel(QStringLiteral("曲线状态"));
    status_->setObjectName(QStringLiteral("curveStatus"));
    status_->setWordWrap(true);
    save_ = button(QStringLiteral("保存图表"), "saveChart",
                   QStringLiteral("把当前图表保存为 PNG 或 SVG 文件"));
    copy_ = button(QStringLiteral("复制"), "copyChart",
                   QStringLiteral("把当前图表（在数据页为表格文字）复制到剪贴板"));
    export_ = button(QStringLiteral("导出数据"), "exportData",
                     QStringLiteral("把全部曲线的数据保存为 CSV 文件"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(status_, 1);
    buttons->addWidget(save_);
    buttons->addWidget(copy_);
    buttons->addWidget(export_);
    buildChoices();
    auto* choices = new QHBoxLayout;
    const auto labelled = [choices](const QString& text, QWidget* field) {
        auto* label = new QLabel(text);
        label->setBuddy(field);
        choices->addWidget(label);
        choices->addWidget(field);
    };
    labelled(QStringLiteral("计算方法"), method_);
    labelled(QStringLiteral("季节"), season_);
    labelled(QStringLiteral("供冷室温"), coolRoom_);
    labelled(QStringLiteral("相对湿度"), coolHumidity_);
    choices->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(tabs_, 1);
    layout->addLayout(buttons);

    connect(save_, &QPushButton::clicked, this, &CurvesWindow::saveChart);
    connect(copy_, &QPushButton::clicked, this, &CurvesWindow::copyToClipboard);
    connect(export_, &QPushButton::clicked, this, &CurvesWindow::exportData);
    connect(tabs_, &QTabWidget::currentChanged, this, [this] {
        save_->setEnabled(shownView() != nullptr);
        refreshShownChart();
    });

    // Typing restarts the wait, so the curves follow the last keystroke and
    // never hold up the ones before it.
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &CurvesWindow::recompute);
    connect(&session_, &models::DesignSession::inputsEdited, &settle_, qOverload<>(&QTimer::start));
    connect(&session_, &models::DesignSession::calculated, this, [this] {
        updateOverlays();
        settle_.start();
    });
    connect(&session_, &models::DesignSession::limitsChanged, this, [this] {
        updateOverlays();
        if (standardShown_) // θ_F,max follows the room category
            settle_.start();
    });
    connect(&session_, &models::DesignSession::methodChanged, this, &CurvesWindow::followChoices);

    followChoices();
}

void CurvesWindow::buildChoices() {
    method_ = new QComboBox;
    method_->setObjectName(QStringLiteral("methodChoice"));
    method_->setAccessibleName(QStringLiteral("计算方法"));
    for (const method::Method m : {method::Method::Program, method::Method::En1264})
        method_->addItem(QString::fromUtf8(method::methodName(m)), int(m));
    method_->setAccessibleDescription(
        QStringLiteral("本程序方法：逐次逼近计算的曲线；EN 1264-2：标准的特性曲线族与极限曲线"));
    season_ = new QComboBox;
    season_->setObjectName(QStringLiteral("seasonChoice"));
    season_->setAccessibleName(QStringLiteral("季节"));
    season_->addItem(QStringLiteral("供暖"), int(models::FieldSeason::Heating));
    season_->addItem(QStringLiteral("供冷"), int(models::FieldSeason::Cooling));
    season_->setAccessibleDescription(QStringLiteral("供冷时按 EN 1264-5 画供冷特性曲线族"));
    const models::CoolingAir air;
    const auto spin = [](const char* name, const QString& accessible, const QString& suffix,
                         double low, double high, double value) {
        auto* box = new QDoubleSpinBox;
        box->setObjectName(QLatin1String(name));
        box->setAccessibleName(accessible);
        box->setRange(low, high);
        box->setDecimals(1);
        box->setSingleStep(0.5);
        box->setSuffix(suffix);
        box->setValue(value);
        box->setKeyboardTracking(false);
        return box;
    };
    coolRoom_ = spin("coolingRoomTemp", QStringLiteral("供冷室温"), QStringLiteral(" ℃"), 16, 35,
                     air.roomTemp);
    coolRoom_->setAccessibleDescription(QStringLiteral("供冷时的室内温度，GB 50736-2012 §3.0.2"));
    coolHumidity_ = spin("coolingHumidity", QStringLiteral("相对湿度"), QStringLiteral(" %"), 10,
                         95, air.humidityPercent);
    coolHumidity_->setAccessibleDescription(
        QStringLiteral("供冷时的室内相对湿度，用于按 Magnus 公式求露点"));

    connect(method_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            session_.setMethod(method::Method(method_->itemData(index).toInt()));
    });
    connect(season_, &QComboBox::currentIndexChanged, this, &CurvesWindow::followChoices);
    // The air is typed: the field follows after the same wait as an edit.
    for (QDoubleSpinBox* box : {coolRoom_, coolHumidity_})
        connect(box, &QDoubleSpinBox::valueChanged, &settle_, qOverload<>(&QTimer::start));
}

// Shows what the method and season ask for, and draws it now.
void CurvesWindow::followChoices() {
    const int methodIndex = method_->findData(int(session_.method()));
    if (method_->currentIndex() != methodIndex) {
        const QSignalBlocker quiet(method_);
        method_->setCurrentIndex(methodIndex);
    }
    const bool cooling = season_->currentData().toInt() == int(models::FieldSeason::Cooling);
    // The program's own method has no cooling: cooling is always EN 1264-5.
    method_->setEnabled(!cooling);
    method_->setToolTip(cooling ? QStringLiteral("供冷按 EN 1264-5 计算") : QString());
    coolRoom_->setEnabled(cooling);
    coolHumidity_->setEnabled(cooling);
    standardShown_ = cooling || session_.method() == method::Method::En1264;
    spacingStack_->setCurrentIndex(standardShown_ ? 1 : 0);
    coveringStack_->setCurrentIndex(standardShown_ ? 1 : 0);
    tabs_->setTabText(1, standardShown_ ? QStringLiteral("面层热阻") : QStringLiteral("面层材料"));
    table_->setModel(standardShown_ ? static_cast<QAbstractItemModel*>(fieldModel_)
                                    : static_cast<QAbstractItemModel*>(model_));
    table_->setColumnWidth(1, standardShown_ ? 260 : 170);
    recompute();
}

void CurvesWindow::recomputeStandard() {
    if (season_->currentData().toInt() == int(models::FieldSeason::Cooling))
        field_ = models::coolingFieldOf(session_.currentFields(),
                                        {coolRoom_->value(), coolHumidity_->value()});
    else
        field_ = models::en1264FieldOf(session_.currentFields(), session_.limits().category);
    fieldModel_->setField(&field_);
    fieldSpacing_->setPlot(field_.spacing);
    fieldCovering_->setPlot(field_.covering);
    status_->setText(field_.status);
}

void CurvesWindow::recompute() {
    settle_.stop();
    if (standardShown_) {
        ++recomputations_;
        recomputeStandard();
        return;
    }
    computeCurves(session_.currentFields(), set_);
    ++recomputations_;
    model_->setCurves(&set_);
    curvesStale_ = {true, true};
    updateOverlays();
    updateStatus();
}

// Only the chart on screen is redrawn; the other one when its tab is chosen.
void CurvesWindow::refreshShownChart() {
    for (int i = 0; i < 2; ++i) {
        CurveChart* chart = i == 0 ? spacing_ : covering_;
        if (chart != shownChart())
            continue;
        if (curvesStale_[i])
            chart->setCurves(i == 0 ? set_.spacing : set_.covering, set_.grid);
        if (curvesStale_[i] || overlaysStale_[i])
            chart->setOverlays(overlays_);
        curvesStale_[i] = overlaysStale_[i] = false;
    }
}

void CurvesWindow::updateOverlays() {
    CurveOverlays& overlays = overlays_;
    overlays = CurveOverlays{};
    if (const auto& last = session_.lastCalculation(); last && last->run.converged()) {
        const Evaluation& run = last->run;
        overlays.design = CurveOverlays::DesignPoint{
            (run.supplyTemp + run.returnTemp) / 2 - run.roomTemp, run.heatOutput, run.surfaceTemp,
            session_.editedSinceCalculation()};
    }
    const CheckLimits& limits = session_.limits();
    const FloorOutputLimit floor = floorOutputLimit(session_.currentFields(), limits.category);
    overlays.floorLimit = floor.floorLimit;
    overlays.limitCurve = floor.basis == FloorOutputLimit::Basis::LimitCurve;
    if (std::isfinite(floor.output))
        overlays.limitOutput = floor.output;
    if (limits.loadPerArea && std::isfinite(*limits.loadPerArea) && *limits.loadPerArea > 0)
        overlays.load = limits.loadPerArea;
    overlaysStale_ = {true, true};
    refreshShownChart();
}

void CurvesWindow::updateStatus() {
    const CurveGrid& g = set_.grid;
    QString text;
    if (g.count == 0) {
        text = QStringLiteral("室温不低于 60 ℃ 或不是有限的数，画不出曲线。");
    } else {
        int gaps = 0;
        for (const auto* family : {&set_.spacing, &set_.covering})
            for (const Curve& c : *family)
                for (const CurvePoint& p : c.points)
                    gaps += !p.hasResult();
        const NumberText from = patternText(g.roomTemp + g.tempDiff / 2 + g.x(0), 1);
        text = QStringLiteral("每条曲线 %1 点，供水温度 %2～60 ℃，供回水温差 %3 ℃ 不变；"
                              "%4 点无结果（平均水温不高于室温、不收敛或运算出错），留空不画。")
                   .arg(g.count)
                   .arg(QString::fromLatin1(from.view().data(), qsizetype(from.size())),
                        general(g.tempDiff))
                   .arg(gaps);
    }
    status_->setText(text);
}

void CurvesWindow::showTab(int index) {
    tabs_->setCurrentIndex(index);
}

CurveChart* CurvesWindow::shownChart() const {
    if (standardShown_)
        return nullptr;
    QWidget* page = tabs_->currentWidget();
    if (page == spacingStack_)
        return spacing_;
    if (page == coveringStack_)
        return covering_;
    return nullptr;
}

QChartView* CurvesWindow::shownView() const {
    QWidget* page = tabs_->currentWidget();
    if (page == spacingStack_)
        return standardShown_ ? static_cast<QChartView*>(fieldSpacing_) : spacing_;
    if (page == coveringStack_)
        return standardShown_ ? static_cast<QChartView*>(fieldCovering_) : covering_;
    return nullptr;
}

void CurvesWindow::reportWriteFailure(const QString& fileName, const QString& reason) {
    dialogs_.message(this, QMessageBox::Warning, messageTitle(),
                     QStringLiteral("无法保存文件“%1”：\r\n%2").arg(fileName, reason));
}

void CurvesWindow::saveChart() {
    QChartView* chart = shownView();
    if (chart == nullptr)
        return;
    const bool spacing = chart == spacing_ || chart == fieldSpacing_;
    QString suggested =
        spacing ? QStringLiteral("特性曲线-管间距.png") : QStringLiteral("特性曲线-面层材料.png");
    if (standardShown_)
        suggested =
            QStringLiteral("特性曲线-%1-%2.png")
                .arg(field_.season == models::FieldSeason::Cooling ? QStringLiteral("供冷")
                                                                   : QStringLiteral("EN1264"),
                     spacing ? QStringLiteral("管间距") : QStringLiteral("面层热阻"));
    QString fileName = dialogs_.saveFileName(
        this, QStringLiteral("PNG 图片 (*.png);;SVG 矢量图 (*.svg)"), suggested);
    if (fileName.isEmpty())
        return;
    const ChartFormat format = chartFormatFor(fileName);
    const QByteArray bytes =
        format == ChartFormat::Svg ? chartSvg(*chart, chart->chart()->title()) : chartPng(*chart);
    if (bytes.isEmpty()) {
        reportWriteFailure(fileName, QStringLiteral("生成图表图片失败"));
        return;
    }
    const Result<void> result = io::writeFileSafely(fileName, bytes);
    if (!result)
        reportWriteFailure(fileName, result.error());
}

void CurvesWindow::copyToClipboard() {
    QClipboard* clipboard = QApplication::clipboard();
    if (QChartView* chart = shownView()) {
        clipboard->setPixmap(chart->grab());
        return;
    }
    // The data tab: the table as tab-separated text, which spreadsheets
    // paste into cells.
    QString text;
    for (const QStringList& row : standardShown_ ? fieldModel_->exportRows() : model_->exportRows())
        text += row.join(u'\t') + u'\n';
    clipboard->setText(text);
}

void CurvesWindow::exportData() {
    QString fileName = dialogs_.saveFileName(this, QStringLiteral("CSV 文件 (*.csv)"),
                                             QStringLiteral("特性曲线数据.csv"));
    if (fileName.isEmpty())
        return;
    if (!fileName.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        fileName += QStringLiteral(".csv");
    const Result<void> result = io::writeFileSafely(
        fileName, csv::csvBytes(standardShown_ ? fieldModel_->exportRows() : model_->exportRows()));
    if (!result)
        reportWriteFailure(fileName, result.error());
}

} // namespace zorva::ui
