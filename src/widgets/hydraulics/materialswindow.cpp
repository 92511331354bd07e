// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/hydraulics/materialswindow.h"

#include "core/io/materialscsv.h"
#include "core/io/safesave.h"
#include "models/hydraulics/materialstablemodel.h"
#include "widgets/common/uikit.h"
#include "widgets/common/valuelabel.h"
#include "widgets/dialogs/dialogseam.h"
#include "widgets/dialogs/messages.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

namespace zorva::ui {

namespace {

QTableView* tableView(const QString& name, const QString& accessible, const QString& description,
                      QAbstractItemModel* model) {
    auto* view = new QTableView;
    view->setObjectName(name);
    view->setAccessibleName(accessible);
    view->setAccessibleDescription(description);
    view->setModel(model);
    view->setAlternatingRowColors(true);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view->horizontalHeader()->setStretchLastSection(true);
    return view;
}

} // namespace

MaterialsWindow::MaterialsWindow(DialogSeam& dialogs, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs) {
    setUpWindow(*this, QStringLiteral("materialsWindow"), QStringLiteral("材料表"));
    setAccessibleName(QStringLiteral("材料表"));
    bill_ = new models::MaterialsTableModel(this);
    cutting_ = new models::CuttingPlanModel(this);

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    auto* bar = new QHBoxLayout;
    encoding_ = new QComboBox;
    encoding_->setObjectName(QStringLiteral("csvEncoding"));
    encoding_->setAccessibleName(QStringLiteral("CSV 编码"));
    encoding_->addItem(QStringLiteral("UTF-8（带字节顺序标记）"),
                       int(io::CsvEncoding::Utf8WithMark));
    encoding_->addItem(QStringLiteral("GBK"), int(io::CsvEncoding::Gbk));
    auto* caption = new QLabel(QStringLiteral("CSV 编码"));
    caption->setBuddy(encoding_);
    auto* exportButton = new QPushButton(QStringLiteral("导出 CSV…"));
    exportButton->setObjectName(QStringLiteral("exportMaterials"));
    exportButton->setAccessibleName(QStringLiteral("导出材料表 CSV"));
    connect(exportButton, &QPushButton::clicked, this, [this] { exportCsv(); });
    bar->addStretch(1);
    bar->addWidget(caption);
    bar->addWidget(encoding_);
    bar->addWidget(exportButton);
    layout->addLayout(bar);

    billView_ = tableView(QStringLiteral("materialsTable"), QStringLiteral("材料清单"),
                          QStringLiteral("每种材料的数量、单位与计算依据"), bill_);
    cuttingView_ = tableView(QStringLiteral("cuttingTable"), QStringLiteral("裁管方案"),
                             QStringLiteral("每卷管材裁出的环路、用量与余料"), cutting_);
    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(billView_);
    split->addWidget(cuttingView_);
    layout->addWidget(split, 1);
    summary_ = new ValueLabel(QStringLiteral("裁管方案合计"));
    summary_->setObjectName(QStringLiteral("cuttingSummary"));
    summary_->setWordWrap(true);
    layout->addWidget(summary_);
    setCentralWidget(central);
    status_ = new ValueLabel(QStringLiteral("导出状态"));
    status_->setObjectName(QStringLiteral("materialsStatus"));
    statusBar()->addWidget(status_, 1);
    resize(900, 640);
}

void MaterialsWindow::setProject(const project::Project& project,
                                 const project::ProjectResult& result, const QString& title) {
    title_ = title;
    bill_->setMaterials(result.materials, project.settings.materials.bill);
    cutting_->setMaterials(result.materials);
    summary_->setText(models::cuttingSummary(result.materials));
}

bool MaterialsWindow::exportCsv() {
    const QString base = title_.isEmpty() ? QStringLiteral("项目") : title_;
    const QString fileName = dialogs_.saveFileName(this, QStringLiteral("CSV 文件 (*.csv)"),
                                                   base + QStringLiteral("-材料表.csv"));
    if (fileName.isEmpty())
        return false;
    const auto fail = [&](const QString& reason) {
        status_->clear();
        dialogs_.message(this, QMessageBox::Warning, messageTitle(),
                         QStringLiteral("无法保存材料表“%1”：\r\n%2").arg(fileName, reason));
        return false;
    };
    if (!bill_->materials().computed)
        return fail(QStringLiteral("材料表无法计算：环路、房间或材料选项有误。"));
    const Result<QByteArray> bytes =
        io::csvFileBytes(io::materialsCsvRows(bill_->materials()),
                         io::CsvEncoding(encoding_->currentData().toInt()));
    if (!bytes)
        return fail(bytes.error());
    if (const Result<void> written = io::writeFileSafely(fileName, *bytes); !written)
        return fail(written.error());
    status_->setText(QStringLiteral("材料表已导出：%1").arg(QFileInfo(fileName).fileName()));
    return true;
}

} // namespace zorva::ui
