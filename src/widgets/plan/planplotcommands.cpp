// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/plan/planplotcommands.h"

#include "widgets/dialogs/dialogseam.h"
#include "widgets/dialogs/messages.h"
#include "widgets/plan/planplot.h"
#include "widgets/report/pdfexportjob.h"
#include "widgets/report/reportcommands.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QToolBar>

#include <memory>
#include <optional>

namespace zorva::ui {

namespace {

class PlotCommands : public QWidget {
public:
    PlotCommands(QWidget& window, DialogSeam& dialogs,
                 std::function<std::shared_ptr<const PlanPlotSource>()> source)
        : window_(window), dialogs_(dialogs), source_(std::move(source)) {
        setObjectName(QStringLiteral("planPlotCommands"));
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(0, 0, 0, 0);
        paper_ = new QComboBox;
        paper_->setObjectName(QStringLiteral("plotPaper"));
        paper_->setAccessibleName(QStringLiteral("图纸大小"));
        paper_->addItem(QStringLiteral("A3 横向"), int(QPageSize::A3));
        paper_->addItem(QStringLiteral("A4 横向"), int(QPageSize::A4));
        scale_ = new QComboBox;
        scale_->setObjectName(QStringLiteral("plotScale"));
        scale_->setAccessibleName(QStringLiteral("出图比例"));
        scale_->addItem(QStringLiteral("1:50"), 50);
        scale_->addItem(QStringLiteral("1:100"), 100);
        scale_->addItem(QStringLiteral("适合图纸"), 0);
        export_ = new QPushButton(QStringLiteral("导出平面图 PDF…"));
        export_->setObjectName(QStringLiteral("exportPlanPlot"));
        export_->setAccessibleDescription(
            QStringLiteral("把地暖盘管平面图按所选图纸和比例导出为 PDF"));
        auto* print = new QPushButton(QStringLiteral("打印平面图…"));
        print->setObjectName(QStringLiteral("printPlanPlot"));
        print->setAccessibleDescription(QStringLiteral("按所选图纸和比例打印地暖盘管平面图"));
        job_ = new PdfExportJob(this);
        job_->setObjectName(QStringLiteral("planPlotJob"));
        progress_ = new QProgressBar;
        progress_->setObjectName(QStringLiteral("planPlotProgress"));
        progress_->setAccessibleName(QStringLiteral("导出平面图进度"));
        progress_->setRange(0, 1000);
        progress_->setMaximumWidth(160);
        cancel_ = new QPushButton(QStringLiteral("取消导出"));
        cancel_->setObjectName(QStringLiteral("cancelPlanPlot"));
        cancel_->setAccessibleName(QStringLiteral("取消导出平面图"));
        status_ = new QLabel;
        status_->setObjectName(QStringLiteral("planPlotStatus"));
        progress_->hide();
        cancel_->hide();
        row->addWidget(new QLabel(QStringLiteral("出图：")));
        row->addWidget(paper_);
        row->addWidget(scale_);
        row->addWidget(export_);
        row->addWidget(print);
        row->addWidget(progress_);
        row->addWidget(cancel_);
        row->addWidget(status_, 1);
        connect(export_, &QPushButton::clicked, this, [this] { exportPdf(); });
        connect(print, &QPushButton::clicked, this, [this] { printPlot(); });
        connect(cancel_, &QPushButton::clicked, job_, &PdfExportJob::cancel);
        connect(job_, &PdfExportJob::progress, progress_, &QProgressBar::setValue);
        connect(job_, &PdfExportJob::finished, this,
                [this](const PdfExportResult& result) { finished(result); });
    }

private:
    // The options chosen, with a scale that fits; empty when the user
    // declined the scale that fits or none does.
    std::optional<PlanPlotOptions> options(const PlanPlotSource& data) {
        PlanPlotOptions o;
        o.paper = QPageSize::PageSizeId(paper_->currentData().toInt());
        o.scale = scale_->currentData().toInt();
        o.project = data.title;
        o.when = QDateTime::currentDateTime();
        const PlanPlotFrame f = planPlotFrame(data.project, data.result, o);
        if (f.fits)
            return o;
        const QString paper = paper_->currentText().left(2);
        const QString need =
            QStringLiteral("平面图 %1 × %2 m 按 1:%3 需要 %4 × %5 mm，%6 图纸的图框内"
                           "只有 %7 × %8 mm。")
                .arg(QString::number(f.plan.width() / 1000, 'f', 1),
                     QString::number(f.plan.height() / 1000, 'f', 1))
                .arg(f.scale)
                .arg(QString::number(f.plan.width() / f.scale, 'f', 0),
                     QString::number(f.plan.height() / f.scale, 'f', 0), paper,
                     QString::number(f.drawingArea.width(), 'f', 0),
                     QString::number(f.drawingArea.height(), 'f', 0));
        if (f.fittingScale == 0) {
            dialogs_.message(&window_, QMessageBox::Warning, messageTitle(),
                             need + QStringLiteral("任何标准比例都放不下，请检查房间轮廓的尺寸。"));
            return std::nullopt;
        }
        const auto answer = dialogs_.question(
            &window_, QStringLiteral("平面图出图"),
            need + QStringLiteral("改用能放下的 1:%1 出图吗？").arg(f.fittingScale),
            QMessageBox::Yes | QMessageBox::Cancel, QMessageBox::Yes);
        if (answer != QMessageBox::Yes)
            return std::nullopt;
        o.scale = f.fittingScale;
        if (scale_->findData(o.scale) < 0)
            scale_->insertItem(scale_->count() - 1, QStringLiteral("1:%1").arg(o.scale), o.scale);
        scale_->setCurrentIndex(scale_->findData(o.scale));
        return o;
    }

    void exportPdf() {
        if (job_->busy())
            return;
        const std::shared_ptr<const PlanPlotSource> data = source_();
        const auto o = options(*data);
        if (!o)
            return;
        const QString fileName = askPdfFileName(
            dialogs_, &window_, QStringLiteral("%1 地暖盘管平面图.pdf").arg(data->title));
        if (fileName.isEmpty())
            return;
        job_->start(fileName, [data, options = *o](ReportProgress& progress) {
            return planPlotPdf(data->project, data->result, options, &progress);
        });
        export_->setEnabled(false);
        progress_->setValue(0);
        progress_->show();
        cancel_->show();
        status_->setText(QStringLiteral("正在导出平面图…"));
    }

    void printPlot() {
        const std::shared_ptr<const PlanPlotSource> data = source_();
        const auto o = options(*data);
        if (!o)
            return;
        printCommand(dialogs_, &window_, [data, options = *o](QPagedPaintDevice& device) {
            return printPlanPlot(data->project, data->result, options, device);
        });
    }

    void finished(const PdfExportResult& result) {
        progress_->hide();
        cancel_->hide();
        export_->setEnabled(true);
        status_->setText(finishedExportText(dialogs_, &window_, result, QStringLiteral("平面图")));
    }

    QWidget& window_;
    DialogSeam& dialogs_;
    std::function<std::shared_ptr<const PlanPlotSource>()> source_;
    QComboBox* paper_ = nullptr;
    QComboBox* scale_ = nullptr;
    QPushButton* export_ = nullptr;
    PdfExportJob* job_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QLabel* status_ = nullptr;
};

} // namespace

void addPlanPlotCommands(QWidget& planWindow, DialogSeam& dialogs, const project::Project& project,
                         const project::ProjectResult& result, const QString& title) {
    auto data = std::make_shared<const PlanPlotSource>(PlanPlotSource{project, result, title});
    addPlanPlotCommands(planWindow, dialogs, [data] { return data; });
}

void addPlanPlotCommands(QWidget& planWindow, DialogSeam& dialogs,
                         std::function<std::shared_ptr<const PlanPlotSource>()> source) {
    auto* commands = new PlotCommands(planWindow, dialogs, std::move(source));
    if (auto* box = qobject_cast<QBoxLayout*>(planWindow.layout())) {
        box->insertWidget(0, commands);
    } else if (auto* main = qobject_cast<QMainWindow*>(&planWindow)) {
        auto* bar = main->addToolBar(QStringLiteral("出图"));
        bar->setObjectName(QStringLiteral("planPlotToolBar"));
        bar->addWidget(commands);
    } else {
        commands->setParent(&planWindow);
    }
}

} // namespace zorva::ui
