// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/manifold/manifoldwindow.h"

#include "core/engine/numtext.h"
#include "core/io/manifoldfields.h"
#include "models/session/designsession.h"
#include "widgets/common/valuelabel.h"
#include "widgets/dialogs/dialogseam.h"
#include "widgets/dialogs/messages.h"
#include "widgets/manifold/manifoldinputs.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <set>

namespace zorva::ui {

namespace {

QString fixed(double value, int decimals) {
    return QString::fromUtf8(patternText(value, decimals).view());
}

} // namespace

ManifoldWindow::ManifoldWindow(models::DesignSession& session, DialogSeam& dialogs, QWidget* parent)
    : QMainWindow(parent), session_(session), dialogs_(dialogs) {
    setAccessibleName(QStringLiteral("多环路计算"));
    resize(1180, 680);
    // A new sheet designs by the standard; an opened file keeps its method.
    sheet_ = new models::ManifoldSheet(models::manifoldFromDesign(session.currentFields()), this,
                                       method::Method::En1264);
    sheet_->model().setLimits(session.limits());

    inputs_ = new ManifoldInputs;
    inputs_->setObjectName(QStringLiteral("manifoldInputs"));
    inputs_->setManifold(sheet_->manifold());
    auto* group = new QGroupBox(QStringLiteral("分集水器"));
    group->setAccessibleName(QStringLiteral("分集水器参数"));
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(inputs_);

    table_ = new QTableView;
    table_->setObjectName(QStringLiteral("loopTable"));
    table_->setAccessibleName(QStringLiteral("环路表"));
    table_->setModel(&sheet_->model());
    table_->setAlternatingRowColors(true);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    // Fixed sizes: sizing to contents would read every row of a large sheet.
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    table_->horizontalHeader()->setDefaultSectionSize(96);
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 8);
    // Each column as wide as its caption, from the header texts alone.
    const QFontMetrics headerFont = table_->horizontalHeader()->fontMetrics();
    for (int c = 0; c < models::ManifoldModel::ColumnCount; ++c) {
        const QString caption = sheet_->model().headerData(c, Qt::Horizontal).toString();
        table_->setColumnWidth(c, std::max(64, headerFont.horizontalAdvance(caption) + 24));
    }
    table_->setColumnWidth(models::ManifoldModel::Name, 120);
    table_->horizontalHeader()->setSortIndicatorShown(false);
    table_->horizontalHeader()->setSectionsClickable(true);
    table_->horizontalHeader()->setToolTip(QStringLiteral("单击列标题按该列排序"));
    connect(table_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        sortOrder_ = column == sortColumn_ && sortOrder_ == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                               : Qt::AscendingOrder;
        sortColumn_ = column;
        table_->horizontalHeader()->setSortIndicatorShown(true);
        table_->horizontalHeader()->setSortIndicator(column, sortOrder_);
        sheet_->sortBy(column, sortOrder_);
    });

    methodChoice_ = new QComboBox;
    methodChoice_->setObjectName(QStringLiteral("methodChoice"));
    methodChoice_->setAccessibleName(QStringLiteral("计算方法"));
    for (const method::Method m : {method::Method::Program, method::Method::En1264})
        methodChoice_->addItem(QString::fromUtf8(method::methodName(m)), static_cast<int>(m));
    methodChoice_->setToolTip(
        QStringLiteral("本程序方法：每个环路一次逐次逼近计算（docs/method.md）；\n"
                       "EN 1264-2：按 EN 1264-2 特性曲线，整个分集水器按 EN 1264-3 "
                       "设计（docs/en1264-design.md）"));
    auto* methodLabel = new QLabel(QStringLiteral("计算方法："));
    methodLabel->setBuddy(methodChoice_);
    summary_ = new ValueLabel(QStringLiteral("设计"));
    summary_->setObjectName(QStringLiteral("designSummary"));
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    summary_->setWordWrap(true);
    auto* methodRow = new QHBoxLayout;
    methodRow->addWidget(methodLabel);
    methodRow->addWidget(methodChoice_);
    methodRow->addWidget(summary_, 1);
    connect(methodChoice_, &QComboBox::activated, this, [this](int index) {
        sheet_->setMethod(static_cast<method::Method>(methodChoice_->itemData(index).toInt()));
    });

    totals_ = new ValueLabel(QStringLiteral("合计"));
    totals_->setObjectName(QStringLiteral("totals"));
    totals_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(group);
    layout->addLayout(methodRow);
    layout->addWidget(table_, 1);
    layout->addWidget(totals_);
    setCentralWidget(central);

    status_ = new ValueLabel(QStringLiteral("状态"));
    status_->setObjectName(QStringLiteral("status"));
    progress_ = new QProgressBar;
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setAccessibleName(QStringLiteral("计算进度"));
    progress_->setMaximumWidth(220);
    cancel_ = new QPushButton(QStringLiteral("取消计算"));
    cancel_->setObjectName(QStringLiteral("cancelJob"));
    cancel_->setAccessibleName(QStringLiteral("取消计算"));
    statusBar()->addWidget(status_, 1);
    statusBar()->addPermanentWidget(progress_);
    statusBar()->addPermanentWidget(cancel_);
    progress_->hide();
    cancel_->hide();
    progressDelay_.setSingleShot(true);
    progressDelay_.setInterval(kProgressDelayMs);
    connect(&progressDelay_, &QTimer::timeout, this, [this] {
        progress_->setVisible(sheet_->busy());
        cancel_->setVisible(sheet_->busy());
    });
    connect(cancel_, &QPushButton::clicked, sheet_, &models::ManifoldSheet::cancel);

    // The report's own progress and cancel: exporting goes on beside the
    // sheet's computations.
    reportJob_ = new PdfExportJob(this);
    reportProgress_ = new QProgressBar;
    reportProgress_->setObjectName(QStringLiteral("reportProgress"));
    reportProgress_->setAccessibleName(QStringLiteral("导出报告进度"));
    reportProgress_->setRange(0, 1000);
    reportProgress_->setMaximumWidth(220);
    reportCancel_ = new QPushButton(QStringLiteral("取消导出"));
    reportCancel_->setObjectName(QStringLiteral("cancelReport"));
    reportCancel_->setAccessibleName(QStringLiteral("取消导出报告"));
    statusBar()->addPermanentWidget(reportProgress_);
    statusBar()->addPermanentWidget(reportCancel_);
    reportProgress_->hide();
    reportCancel_->hide();
    connect(reportCancel_, &QPushButton::clicked, reportJob_, &PdfExportJob::cancel);
    connect(reportJob_, &PdfExportJob::progress, reportProgress_, &QProgressBar::setValue);
    connect(reportJob_, &PdfExportJob::finished, this, &ManifoldWindow::reportFinished);

    buildMenus();

    connect(inputs_, &ManifoldInputs::edited, this, [this](const ManifoldInput& m) {
        sheet_->setManifold(m, QStringLiteral("修改分集水器参数"));
    });
    connect(sheet_, &models::ManifoldSheet::manifoldChanged, this,
            [this] { inputs_->setManifold(sheet_->manifold()); });
    connect(&sheet_->undoStack(), &QUndoStack::indexChanged, this, [this] {
        inputs_->setManifold(sheet_->manifold());
        updateMethod();
        closeConfirmed_ = false;
    });
    connect(sheet_, &models::ManifoldSheet::modifiedChanged, this, &ManifoldWindow::updateTitle);
    connect(&sheet_->model(), &models::ManifoldModel::resultsChanged, this,
            &ManifoldWindow::updateTotals);
    connect(sheet_, &models::ManifoldSheet::busyChanged, this, &ManifoldWindow::onBusy);
    connect(sheet_, &models::ManifoldSheet::progress, this, [this](int done, int total) {
        progress_->setRange(0, std::max(total, 1));
        progress_->setValue(done);
    });
    connect(sheet_, &models::ManifoldSheet::diffSearchFinished, this,
            &ManifoldWindow::showDiffReport);
    connect(sheet_, &models::ManifoldSheet::supplySuggestionReady, this,
            &ManifoldWindow::showSupplyReport);
    connect(&session_, &models::DesignSession::limitsChanged, this,
            [this] { sheet_->model().setLimits(session_.limits()); });
    updateTitle();
    updateMethod();
    updateTotals();
}

// The sheet goes with the window's children, after this part of the window
// is gone: what it signals while it ends must not reach the window. A report
// still being made is cancelled and waited for; it writes nothing.
ManifoldWindow::~ManifoldWindow() {
    reportJob_->disconnect(this);
    reportJob_->cancel();
    reportJob_->waitForFinished();
    sheet_->disconnect(this);
    sheet_->undoStack().disconnect(this);
    sheet_->model().disconnect(this);
}

void ManifoldWindow::buildMenus() {
    auto add = [this](QMenu* menu, const QString& text, const char* name, auto slot,
                      QKeySequence key = {}) {
        auto* action = menu->addAction(text);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("文件"));
    add(file, QStringLiteral("新建"), "newProject", &ManifoldWindow::newProject, QKeySequence::New);
    add(file, QStringLiteral("打开项目…"), "openProject", &ManifoldWindow::openProject,
        QKeySequence::Open);
    add(file, QStringLiteral("保存项目"), "saveProject", &ManifoldWindow::saveProject,
        QKeySequence::Save);
    add(file, QStringLiteral("项目另存为…"), "saveProjectAs", &ManifoldWindow::saveProjectAs);
    file->addSeparator();
    add(file, QStringLiteral("导入CSV…"), "importCsv", &ManifoldWindow::importCsv);
    add(file, QStringLiteral("导出CSV…"), "exportCsv", &ManifoldWindow::exportCsv);
    reportAction_ =
        add(file, QStringLiteral("导出报告…"), "exportReport", &ManifoldWindow::exportReport);
    file->addSeparator();
    add(file, QStringLiteral("关闭"), "closeSheet", &QWidget::close);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("编辑"));
    QAction* undo = sheet_->undoStack().createUndoAction(this, QStringLiteral("撤销"));
    undo->setObjectName(QStringLiteral("undo"));
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = sheet_->undoStack().createRedoAction(this, QStringLiteral("重做"));
    redo->setObjectName(QStringLiteral("redo"));
    redo->setShortcut(QKeySequence::Redo);
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();
    add(edit, QStringLiteral("复制单元格"), "copyCells", &ManifoldWindow::copyCells,
        QKeySequence::Copy);
    add(edit, QStringLiteral("粘贴单元格"), "pasteCells", &ManifoldWindow::pasteCells,
        QKeySequence::Paste);
    add(
        edit, QStringLiteral("清除单元格"), "clearCells",
        [this] { sheet_->clearCells(selectedArea()); }, QKeySequence::Delete);
    edit->addSeparator();
    QAction* addLoop = add(edit, QStringLiteral("添加环路"), "addLoop", &ManifoldWindow::addLoop,
                           QKeySequence(Qt::CTRL | Qt::Key_Insert));
    QAction* duplicate = add(edit, QStringLiteral("复制环路"), "duplicateLoops",
                             &ManifoldWindow::duplicateLoops, QKeySequence(Qt::CTRL | Qt::Key_D));
    QAction* remove = add(edit, QStringLiteral("删除环路"), "deleteLoops",
                          &ManifoldWindow::deleteLoops, QKeySequence(Qt::CTRL | Qt::Key_Delete));
    add(
        edit, QStringLiteral("上移"), "moveUp", [this] { moveLoops(-1); },
        QKeySequence(Qt::ALT | Qt::Key_Up));
    add(
        edit, QStringLiteral("下移"), "moveDown", [this] { moveLoops(1); },
        QKeySequence(Qt::ALT | Qt::Key_Down));
    edit->addSeparator();
    QAction* fromMain =
        add(edit, QStringLiteral("从主窗口添加"), "addFromMain", &ManifoldWindow::addFromMain);
    QAction* toMain =
        add(edit, QStringLiteral("在主窗口中打开"), "openInMain", &ManifoldWindow::openInMain);

    QMenu* calc = menuBar()->addMenu(QStringLiteral("计算"));
    QAction* diffs = diffSearch_ = add(calc, QStringLiteral("按负荷求温差"), "diffSearch",
                                       [this] { sheet_->startDiffSearch(); });
    QAction* supply = supplySuggestion_ = add(calc, QStringLiteral("建议供水温度"), "suggestSupply",
                                              [this] { sheet_->startSupplySuggestion(); });
    add(calc, QStringLiteral("取消计算"), "cancelJobs", [this] { sheet_->cancel(); });

    QToolBar* bar = addToolBar(QStringLiteral("环路"));
    bar->setObjectName(QStringLiteral("loopTools"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (QAction* a : {addLoop, duplicate, remove, fromMain, toMain})
        bar->addAction(a);
    bar->addSeparator();
    bar->addAction(undo);
    bar->addAction(redo);
    bar->addSeparator();
    bar->addAction(diffs);
    bar->addAction(supply);
}

void ManifoldWindow::updateTitle() {
    const QString name = path_.isEmpty() ? QString() : QFileInfo(path_).fileName();
    setWindowTitle(name.isEmpty() ? QStringLiteral("多环路计算[*]")
                                  : QStringLiteral("多环路计算 - %1[*]").arg(name));
    setWindowModified(sheet_->isModified());
}

// The method shown in the choice, the summary above the table, and the two
// searches, which are the program's method's own.
void ManifoldWindow::updateMethod() {
    const bool standard = sheet_->method() == method::Method::En1264;
    methodChoice_->setCurrentIndex(methodChoice_->findData(static_cast<int>(sheet_->method())));
    const QString why = standard ? QStringLiteral("EN 1264-3 设计自行求出供水温度和各环路温差，"
                                                  "这项计算只用于本程序方法")
                                 : QString();
    for (QAction* a : {diffSearch_, supplySuggestion_}) {
        a->setEnabled(!standard);
        a->setToolTip(standard ? why : a->text());
    }
    summary_->setText(sheet_->model().designSummary());
}

void ManifoldWindow::updateTotals() {
    summary_->setText(sheet_->model().designSummary());
    const ManifoldTotals t = sheet_->totals();
    QString text = QStringLiteral("环路 %1 个（有结果 %2 个）　面积 %3 m²　散热量 %4 W　"
                                  "流量 %5 kg/h（%6 l/min）　水泵扬程 %7 kPa（%8 mH₂O）")
                       .arg(t.loops)
                       .arg(t.computed)
                       .arg(fixed(t.area, 2), fixed(t.output, 0), fixed(t.flowKgh, 1),
                            fixed(t.flowLpm, 2), fixed(t.pumpHeadKpa, 2), fixed(t.pumpHeadM, 2));
    if (t.indexLoop) {
        const auto& loop = sheet_->loops()[*t.indexLoop];
        text += QStringLiteral("　最不利环路：%1")
                    .arg(io::loopLabel(static_cast<int>(*t.indexLoop) + 1,
                                       QString::fromStdString(loop.name)));
    }
    if (const auto& standard = sheet_->model().standard())
        text += QStringLiteral("　辅助散热 %1 W　向下热损失在内的供热量 %2 W（EN 1264-3）")
                    .arg(fixed(standard->totals.supplementaryHeat, 0),
                         fixed(standard->totals.waterOutput, 0));
    if (!sheet_->resultsCurrent())
        text += QStringLiteral("　（计算中）");
    totals_->setText(text);
}

void ManifoldWindow::onBusy(bool busy, const QString& what) {
    if (busy) {
        if (!what.isEmpty())
            status_->setText(what + QStringLiteral("…"));
        if (!progressDelay_.isActive() && !progress_->isVisible())
            progressDelay_.start();
    } else {
        progressDelay_.stop();
        progress_->hide();
        cancel_->hide();
        status_->clear();
    }
}

void ManifoldWindow::warn(const QString& text) {
    dialogs_.message(this, QMessageBox::Warning, QStringLiteral("多环路计算"), text);
}

namespace {

// At most ten lines of a list, then how many there are in all.
QString listed(const QStringList& lines) {
    QString text = lines.mid(0, 10).join(QStringLiteral("\r\n"));
    if (lines.size() > 10)
        text += QStringLiteral("\r\n…… 共 %1 个").arg(lines.size());
    return text;
}

} // namespace

void ManifoldWindow::showDiffReport(const models::DiffSearchReport& report) {
    using Outcome = models::DiffSearchReport::Outcome;
    if (report.outcome == Outcome::Cancelled) {
        status_->setText(QStringLiteral("按负荷求温差已取消。"));
        return;
    }
    if (report.outcome == Outcome::InputsChanged) {
        warn(
            QStringLiteral("计算期间输入或校核限值已修改，按负荷求温差的结果未应用，请再求一次。"));
        return;
    }
    if (report.searched == 0) {
        status_->clear();
        warn(QStringLiteral("没有输入热负荷的环路。"));
        return;
    }
    status_->setText(QStringLiteral("按负荷求温差：%1 个有热负荷的环路，%2 个可设定本环路温差，"
                                    "%3 个在校核限值内无法满足。")
                         .arg(report.searched)
                         .arg(report.answers.size())
                         .arg(report.cannotServe.size()));
    QString text = QStringLiteral("按负荷求温差（%1）：").arg(report.limits);
    if (!report.cannotServe.isEmpty())
        text += QStringLiteral("\r\n\r\n以下环路在校核限值内无法满足，本环路温差不变：\r\n") +
                listed(report.cannotServe);
    if (report.answers.isEmpty()) {
        warn(text);
        return;
    }
    text += QStringLiteral("\r\n\r\n将设定以下环路的本环路温差：\r\n") + listed(report.answers) +
            QStringLiteral("\r\n\r\n是否写入多环路计算表？");
    const auto answer = dialogs_.question(this, QStringLiteral("按负荷求温差"), text,
                                          QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes)
        return;
    if (!sheet_->applyDiffSearch(report))
        warn(QStringLiteral("求温差后输入或校核限值已修改，结果未应用，请再求一次。"));
}

void ManifoldWindow::showSupplyReport(const models::SupplyReport& report) {
    using Outcome = models::SupplyReport::Outcome;
    if (report.outcome == Outcome::Cancelled) {
        status_->setText(QStringLiteral("建议供水温度已取消。"));
        return;
    }
    if (report.outcome == Outcome::InputsChanged) {
        warn(QStringLiteral("计算期间输入或校核限值已修改，请再求一次建议供水温度。"));
        return;
    }
    const SupplySuggestion& s = report.suggestion;
    if (s.result == SupplySuggestion::Result::NoLoads) {
        warn(QStringLiteral("没有输入热负荷的环路。"));
        return;
    }
    QString unserved =
        report.cannotServe.isEmpty()
            ? QString()
            : QStringLiteral("\r\n\r\n以下环路在校核限值内无法满足，不参与建议：\r\n") +
                  listed(report.cannotServe);
    if (!report.breaksRules.isEmpty())
        unserved += QStringLiteral("\r\n\r\n以下环路能达到热负荷，但仍有规则不满足：\r\n") +
                    listed(report.breaksRules);
    if (s.result == SupplySuggestion::Result::NotReachable) {
        warn(QStringLiteral("建议供水温度（%1）：没有环路能在校核限值内达到热负荷。")
                 .arg(report.limits) +
             unserved);
        return;
    }
    const QString t = fixed(s.supplyTemp, 1);
    status_->setText(
        QStringLiteral("建议供水温度 %1 ℃，由%2的热负荷决定。").arg(t, report.decidingLoop));
    QString advice;
    if (s.supplyTemp > kRecommendedSupplyTemp.high || s.supplyTemp < kRecommendedSupplyTemp.low)
        advice = QStringLiteral("（%1推荐范围 %2~%3 ℃）")
                     .arg(s.supplyTemp > kRecommendedSupplyTemp.high ? QStringLiteral("高于")
                                                                     : QStringLiteral("低于"),
                          QString::fromUtf8(generalText(kRecommendedSupplyTemp.low).view()),
                          QString::fromUtf8(generalText(kRecommendedSupplyTemp.high).view()));
    const auto answer = dialogs_.question(
        this, QStringLiteral("建议供水温度"),
        QStringLiteral(
            "建议供水温度（%1）：\r\n能在校核限值内满足的环路都达到热负荷的最低供水温度为 "
            "%2 ℃%3，由%4的热负荷决定。")
                .arg(report.limits, t, advice, report.decidingLoop) +
            unserved + QStringLiteral("\r\n\r\n是否把供水温度改为 %1 ℃？").arg(t),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer == QMessageBox::Yes)
        sheet_->applySupplyTemp(s.supplyTemp);
}

std::vector<int> ManifoldWindow::selectedRows() const {
    std::set<int> rows;
    for (const QModelIndex& i : table_->selectionModel()->selectedIndexes())
        rows.insert(i.row());
    if (rows.empty() && table_->currentIndex().isValid())
        rows.insert(table_->currentIndex().row());
    return {rows.begin(), rows.end()};
}

QRect ManifoldWindow::selectedArea() const {
    QRect area;
    for (const QModelIndex& i : table_->selectionModel()->selectedIndexes())
        area |= QRect(i.column(), i.row(), 1, 1);
    if (area.isEmpty() && table_->currentIndex().isValid())
        area = QRect(table_->currentIndex().column(), table_->currentIndex().row(), 1, 1);
    return area;
}

void ManifoldWindow::selectRow(int row) {
    if (row < 0 || row >= sheet_->model().rowCount())
        return;
    const QModelIndex index = sheet_->model().index(row, 0);
    table_->setCurrentIndex(index);
    table_->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect |
                                                QItemSelectionModel::Rows);
    table_->scrollTo(index);
}

void ManifoldWindow::copyCells() {
    const QRect area = selectedArea();
    if (!area.isEmpty())
        QApplication::clipboard()->setText(sheet_->copy(area));
}

void ManifoldWindow::pasteCells() {
    QRect area = selectedArea();
    if (area.isEmpty())
        area = QRect(0, sheet_->model().rowCount(), 1, 1);
    const Result<void> pasted = sheet_->paste(area, QApplication::clipboard()->text());
    if (!pasted)
        warn(QStringLiteral("无法粘贴：%1").arg(pasted.error()));
}

void ManifoldWindow::addLoop() {
    const std::vector<int> rows = selectedRows();
    const int at = rows.empty() ? sheet_->model().rowCount() : rows.back() + 1;
    const int added = sheet_->addLoop(at, sheet_->newLoop());
    if (added < 0)
        warn(models::ManifoldSheet::fullText());
    else
        selectRow(added);
}

void ManifoldWindow::deleteLoops() {
    sheet_->deleteRows(selectedRows());
}

void ManifoldWindow::duplicateLoops() {
    if (!sheet_->duplicateRows(selectedRows()))
        warn(models::ManifoldSheet::fullText());
}

void ManifoldWindow::moveLoops(int delta) {
    const std::vector<int> rows = selectedRows();
    if (!sheet_->moveRows(rows, delta))
        return;
    table_->selectionModel()->clearSelection();
    for (const int row : rows)
        table_->selectionModel()->select(sheet_->model().index(row + delta, 0),
                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void ManifoldWindow::addFromMain() {
    LoopInput loop = models::loopFromDesign(session_.currentFields(), session_.limits());
    loop.name = sheet_->newLoop().name;
    const int added = sheet_->addLoop(sheet_->model().rowCount(), loop);
    if (added < 0)
        warn(models::ManifoldSheet::fullText());
    else
        selectRow(added);
}

void ManifoldWindow::openInMain() {
    const std::vector<int> rows = selectedRows();
    if (rows.empty()) {
        warn(QStringLiteral("请先选择一个环路。"));
        return;
    }
    const ManifoldInput& m = sheet_->manifold();
    const LoopInput& loop = sheet_->loops()[static_cast<std::size_t>(rows.front())];
    session_.writeFields(loopFields(m, loop, m.supplyTemp, loopTempDiff(m, loop)));
}

} // namespace zorva::ui
