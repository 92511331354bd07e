// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tool window "多环路计算": the manifold inputs, a table with a row per
// loop (inputs and results, balancing, design-check verdicts), the totals
// and pump head, the two searches, spreadsheet editing with undo, and the
// sheet's project and CSV files. Long computations run in the background
// with a progress bar and a cancel button; typing goes on meanwhile.

#include "models/manifold/manifoldsheet.h"
#include "widgets/report/pdfexportjob.h"
#include "widgets/tools/toolwindows.h"

#include <QMainWindow>
#include <QTimer>

class QAction;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;

namespace zorva::models {
class DesignSession;
}

namespace zorva::ui {

class DialogSeam;
class ManifoldInputs;

class ManifoldWindow : public QMainWindow, public CloseGuard {
    Q_OBJECT

public:
    // How long a computation runs before the progress bar shows, ms.
    static constexpr int kProgressDelayMs = 200;

    ManifoldWindow(models::DesignSession& session, DialogSeam& dialogs, QWidget* parent = nullptr);
    ~ManifoldWindow() override;

    models::ManifoldSheet& sheet() { return *sheet_; }
    QTableView* table() const { return table_; }
    ManifoldInputs* inputs() const { return inputs_; }
    // 计算方法 and the design summary above the table.
    QComboBox* methodChoice() const { return methodChoice_; }
    QLabel* designSummary() const { return summary_; }

    // For the report: the sheet's inputs, results and totals as they stand,
    // and the menu entry "导出报告".
    const ManifoldInput& manifold() const { return sheet_->manifold(); }
    std::span<const LoopInput> loops() const { return sheet_->loops(); }
    std::span<const LoopResult> results() const { return sheet_->results(); }
    ManifoldTotals totals() const { return sheet_->totals(); }
    bool resultsCurrent() const { return sheet_->resultsCurrent(); }
    QAction* reportAction() const { return reportAction_; }
    // The report being made and written in the background, if any.
    PdfExportJob& reportJob() { return *reportJob_; }
    QString projectPath() const { return path_; }

    bool confirmClose() override;

    // The menu commands.
    // "新建": asks to save unsaved work, then a sheet of no loops by EN 1264-2.
    void newProject();
    bool saveProject();
    bool saveProjectAs();
    void openProject();
    void exportCsv();
    void importCsv();
    void copyCells();
    void pasteCells();
    void addLoop();
    void deleteLoops();
    void duplicateLoops();
    void moveLoops(int delta);
    void addFromMain();
    void openInMain();
    // "导出报告": the report of the sheet as it stands, made and written in
    // the background with a progress bar and "取消导出"; a cancel writes no
    // file. Asks to wait while loops are still being computed.
    void exportReport();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void updateTitle();
    void updateTotals();
    void updateMethod();
    void onBusy(bool busy, const QString& what);
    void reportFinished(const PdfExportResult& result);
    void showDiffReport(const models::DiffSearchReport& report);
    void showSupplyReport(const models::SupplyReport& report);
    bool askToSave();
    bool writeProject(const QString& fileName);
    void warn(const QString& text);
    std::vector<int> selectedRows() const;
    QRect selectedArea() const;
    void selectRow(int row);

    models::DesignSession& session_;
    DialogSeam& dialogs_;
    models::ManifoldSheet* sheet_;
    ManifoldInputs* inputs_;
    QComboBox* methodChoice_;
    QLabel* summary_;
    QAction* diffSearch_ = nullptr;
    QAction* supplySuggestion_ = nullptr;
    QTableView* table_;
    QLabel* totals_;
    QLabel* status_;
    QProgressBar* progress_;
    QPushButton* cancel_;
    QProgressBar* reportProgress_;
    QPushButton* reportCancel_;
    PdfExportJob* reportJob_;
    QAction* reportAction_ = nullptr;
    QTimer progressDelay_;
    QString path_;
    bool closeConfirmed_ = false;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

} // namespace zorva::ui
