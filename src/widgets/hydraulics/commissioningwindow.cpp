// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/hydraulics/commissioningwindow.h"

#include "models/hydraulics/hydraulicstexts.h"
#include "models/project/projecttexts.h"
#include "widgets/common/uikit.h"
#include "widgets/common/valuelabel.h"
#include "widgets/dialogs/dialogseam.h"
#include "widgets/report/pdfexportjob.h"
#include "widgets/report/reportcommands.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>

namespace zorva::ui {

namespace {

QLineEdit* numberField(const QString& name, const QString& accessible, const QString& text) {
    auto* field = new QLineEdit(text);
    field->setObjectName(name);
    field->setAccessibleName(accessible);
    field->setMaximumWidth(90);
    makeNumberField(field);
    return field;
}

// A typed number within [low, high], else `fallback`.
double typed(const QLineEdit* field, double low, double high, double fallback) {
    const std::optional<double> v = models::cellNumber(field->text());
    return v && *v >= low && *v <= high ? *v : fallback;
}

} // namespace

CommissioningWindow::CommissioningWindow(DialogSeam& dialogs, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs) {
    setUpWindow(*this, QStringLiteral("commissioningWindow"), QStringLiteral("调试单"));
    setAccessibleName(QStringLiteral("调试单"));
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);

    auto* site = new QHBoxLayout;
    const CommissioningSite defaults;
    pressure_ = numberField(QStringLiteral("workingPressure"), QStringLiteral("系统工作压力"),
                            models::settingNumber(defaults.workingPressureMPa));
    pressure_->setAccessibleDescription(
        QStringLiteral("MPa；水压试验压力由它得出（JGJ 142-2004 §5.6，EN 1264-4）"));
    surrounding_ = numberField(QStringLiteral("surroundingTemp"), QStringLiteral("现场温度"),
                               models::settingNumber(defaults.surroundingTemp));
    surrounding_->setAccessibleDescription(
        QStringLiteral("℃；初始加热的起始供水温度由它得出（JGJ 142-2004 §6.1）"));
    screed_ = new QComboBox;
    screed_->setObjectName(QStringLiteral("screed"));
    screed_->setAccessibleName(QStringLiteral("填充层"));
    screed_->addItem(QStringLiteral("水泥砂浆"), int(hydraulics::ScreedKind::Cement));
    screed_->addItem(QStringLiteral("硫酸钙"), int(hydraulics::ScreedKind::CalciumSulphate));
    auto label = [site](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text);
        l->setBuddy(buddy);
        site->addWidget(l);
        site->addWidget(buddy);
    };
    label(QStringLiteral("工作压力(MPa)"), pressure_);
    label(QStringLiteral("现场温度(℃)"), surrounding_);
    label(QStringLiteral("填充层"), screed_);
    site->addStretch(1);
    export_ = new QPushButton(QStringLiteral("导出 PDF…"));
    export_->setObjectName(QStringLiteral("exportSheet"));
    export_->setAccessibleName(QStringLiteral("导出调试单 PDF"));
    auto* print = new QPushButton(QStringLiteral("打印…"));
    print->setObjectName(QStringLiteral("printSheet"));
    print->setAccessibleName(QStringLiteral("打印调试单"));
    site->addWidget(export_);
    site->addWidget(print);
    layout->addLayout(site);

    model_ = new QStandardItemModel(this);
    table_ = new QTableView;
    table_->setObjectName(QStringLiteral("commissioningTable"));
    table_->setAccessibleName(QStringLiteral("调试单环路表"));
    table_->setAccessibleDescription(
        QStringLiteral("每个环路的阀门预设定值、流量计设定值与预计回水温度"));
    table_->setModel(model_);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setAlternatingRowColors(true);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(table_, 1);
    duty_ = new ValueLabel(QStringLiteral("循环泵工况"));
    duty_->setObjectName(QStringLiteral("pumpDuty"));
    duty_->setWordWrap(true);
    layout->addWidget(duty_);
    setCentralWidget(central);

    status_ = new ValueLabel(QStringLiteral("导出状态"));
    status_->setObjectName(QStringLiteral("sheetStatus"));
    statusBar()->addWidget(status_, 1);
    job_ = new PdfExportJob(this);
    progress_ = new QProgressBar;
    progress_->setObjectName(QStringLiteral("sheetProgress"));
    progress_->setAccessibleName(QStringLiteral("导出调试单进度"));
    progress_->setRange(0, 1000);
    progress_->setMaximumWidth(220);
    progress_->hide();
    cancel_ = new QPushButton(QStringLiteral("取消导出"));
    cancel_->setObjectName(QStringLiteral("cancelSheet"));
    cancel_->setAccessibleName(QStringLiteral("取消导出调试单"));
    cancel_->hide();
    statusBar()->addPermanentWidget(progress_);
    statusBar()->addPermanentWidget(cancel_);

    connect(export_, &QPushButton::clicked, this, [this] { exportPdf(); });
    connect(print, &QPushButton::clicked, this, [this] { this->print(); });
    connect(cancel_, &QPushButton::clicked, job_, &PdfExportJob::cancel);
    connect(job_, &PdfExportJob::progress, progress_, &QProgressBar::setValue);
    connect(job_, &PdfExportJob::finished, this, &CommissioningWindow::exportFinished);
    for (QLineEdit* field : {pressure_, surrounding_})
        connect(field, &QLineEdit::editingFinished, this, &CommissioningWindow::rebuild);
    connect(screed_, &QComboBox::activated, this, &CommissioningWindow::rebuild);
    resize(1100, 600);
}

CommissioningWindow::~CommissioningWindow() {
    // A field that loses the focus while the window goes would otherwise
    // rebuild the sheet from members already gone.
    for (QLineEdit* field : {pressure_, surrounding_})
        field->disconnect(this);
}

CommissioningSite CommissioningWindow::site() const {
    CommissioningSite s;
    s.workingPressureMPa = typed(pressure_, 0.01, 10, s.workingPressureMPa);
    s.surroundingTemp = typed(surrounding_, -30, 40, s.surroundingTemp);
    s.screed = hydraulics::ScreedKind(screed_->currentData().toInt());
    return s;
}

void CommissioningWindow::setProject(const project::Project& project,
                                     const project::ProjectResult& result, const QString& title) {
    project_ = project;
    result_ = result;
    title_ = title;
    rebuild();
}

void CommissioningWindow::rebuild() {
    const CommissioningSite s = site();
    // A number out of range is shown as the value the sheet uses.
    rewriteField(pressure_, models::settingNumber(s.workingPressureMPa));
    rewriteField(surrounding_, models::settingNumber(s.surroundingTemp));
    sheet_ = commissioningSheet(project_, result_, title_, s);
    model_->clear();
    model_->setHorizontalHeaderLabels(
        {QStringLiteral("分集水器"), QStringLiteral("环路"), QStringLiteral("房间"),
         QStringLiteral("长度(m)"), QStringLiteral("阀门预设定值"),
         QStringLiteral("流量计设定(l/min)"), QStringLiteral("预计回水温度(℃)")});
    QStringList duty;
    for (const CommissioningManifold& m : sheet_.manifolds) {
        for (const hydraulics::CommissioningRow& r : m.rows) {
            QList<QStandardItem*> items;
            for (const QString& text :
                 {m.name, QString::fromStdString(r.name), QString::fromStdString(r.room),
                  models::fixed(r.lengthM, 1), models::valveSettingText(r),
                  r.flowMeterLpm > 0 ? models::fixed(r.flowMeterLpm, 2) : QStringLiteral("—"),
                  models::fixed(r.returnTemp, 1)})
                items << new QStandardItem(text);
            for (int c = 3; c < items.size(); ++c)
                items[c]->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            model_->appendRow(items);
        }
        if (m.computed && m.pump.ok())
            duty << QStringLiteral("%1：循环泵 %2 m³/h（%3 l/h），扬程 %4 kPa（%5 m），"
                                   "混合回水 %6 ℃")
                        .arg(m.name, models::fixed(m.pump.flowM3h, 3),
                             models::fixed(m.pump.flowLh, 0), models::fixed(m.pump.headKpa, 1),
                             models::fixed(m.pump.headM, 2),
                             m.mixedReturn.ok() ? models::fixed(m.mixedReturn.mixedReturnTemp, 1)
                                                : QStringLiteral("—"));
        else
            duty << QStringLiteral("%1：没有可平衡的环路").arg(m.name);
    }
    duty_->setText(duty.join(u'\n') +
                   QStringLiteral("\n依据：docs/hydraulics.md §3–§6（预设定、循环泵、混合回水、"
                                  "水压试验与初始加热）"));
}

bool CommissioningWindow::exportPdf() {
    if (job_->busy())
        return false;
    const QString base = title_.isEmpty() ? QStringLiteral("项目") : title_;
    const QString fileName = askPdfFileName(dialogs_, this, base + QStringLiteral("-调试单.pdf"));
    if (fileName.isEmpty())
        return false;
    // Made from a copy: the window stays in use meanwhile.
    auto copy = std::make_shared<const CommissioningSheet>(sheet_);
    const QDateTime when = QDateTime::currentDateTime();
    job_->start(fileName, [copy, when](ReportProgress& progress) {
        return commissioningSheetPdf(*copy, when, &progress);
    });
    export_->setEnabled(false);
    progress_->setValue(0);
    progress_->show();
    cancel_->show();
    status_->setText(QStringLiteral("正在导出调试单…"));
    return true;
}

bool CommissioningWindow::print() {
    const CommissioningSheet sheet = sheet_;
    return printCommand(dialogs_, this, [&sheet](QPagedPaintDevice& device) {
        return printCommissioningSheet(sheet, device, QDateTime::currentDateTime());
    });
}

void CommissioningWindow::exportFinished(const PdfExportResult& result) {
    progress_->hide();
    cancel_->hide();
    export_->setEnabled(true);
    status_->setText(finishedExportText(dialogs_, this, result, QStringLiteral("调试单")));
}

} // namespace zorva::ui
