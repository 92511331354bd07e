// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/curves/curveswindow.h"

#include "core/csv/csvwriter.h"
#include "core/engine/numtext.h"
#include "core/io/safesave.h"
#include "models/curves/curvesmodel.h"
#include "models/session/designsession.h"
#include "widgets/common/valuelabel.h"
#include "widgets/curves/chartexport.h"
#include "widgets/curves/curvechart.h"
#include "widgets/dialogs/dialogseam.h"
#include "widgets/dialogs/messages.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
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
    tabs_->addTab(spacing_, QStringLiteral("管间距"));
    tabs_->addTab(covering_, QStringLiteral("面层材料"));
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
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addLayout(buttons);

    connect(save_, &QPushButton::clicked, this, &CurvesWindow::saveChart);
    connect(copy_, &QPushButton::clicked, this, &CurvesWindow::copyToClipboard);
    connect(export_, &QPushButton::clicked, this, &CurvesWindow::exportData);
    connect(tabs_, &QTabWidget::currentChanged, this, [this] {
        save_->setEnabled(shownChart() != nullptr);
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
    connect(&session_, &models::DesignSession::limitsChanged, this, &CurvesWindow::updateOverlays);

    recompute();
}

void CurvesWindow::recompute() {
    settle_.stop();
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
    QWidget* page = tabs_->currentWidget();
    if (page == spacing_)
        return spacing_;
    if (page == covering_)
        return covering_;
    return nullptr;
}

void CurvesWindow::reportWriteFailure(const QString& fileName, const QString& reason) {
    dialogs_.message(this, QMessageBox::Warning, messageTitle(),
                     QStringLiteral("无法保存文件“%1”：\r\n%2").arg(fileName, reason));
}

void CurvesWindow::saveChart() {
    CurveChart* chart = shownChart();
    if (chart == nullptr)
        return;
    const bool spacing = chart == spacing_;
    QString fileName = dialogs_.saveFileName(
        this, QStringLiteral("PNG 图片 (*.png);;SVG 矢量图 (*.svg)"),
        spacing ? QStringLiteral("特性曲线-管间距.png") : QStringLiteral("特性曲线-面层材料.png"));
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
    if (CurveChart* chart = shownChart()) {
        clipboard->setPixmap(chart->grab());
        return;
    }
    // The data tab: the table as tab-separated text, which spreadsheets
    // paste into cells.
    QString text;
    for (const QStringList& row : model_->exportRows())
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
    const Result<void> result = io::writeFileSafely(fileName, csv::csvBytes(model_->exportRows()));
    if (!result)
        reportWriteFailure(fileName, result.error());
}

} // namespace zorva::ui
