// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window "调试单": every manifold's loops with the setting to dial and
// the flow-meter target, the site's working pressure, temperature and
// screed the steps are made for, and the commands that save the sheet as a
// PDF (in the background, with progress and cancel) or print it.

#include "core/project/projectresult.h"
#include "widgets/hydraulics/commissioningsheet.h"

#include <QMainWindow>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace zorva::ui {

class DialogSeam;
class PdfExportJob;
struct PdfExportResult;

class CommissioningWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit CommissioningWindow(DialogSeam& dialogs, QWidget* parent = nullptr);
    ~CommissioningWindow() override;

    // The project and its latest results; `title` names the project.
    void setProject(const project::Project& project, const project::ProjectResult& result,
                    const QString& title);
    const CommissioningSheet& sheet() const { return sheet_; }
    CommissioningSite site() const;

    // Asks for a file name and writes the PDF in the background; false when
    // nothing was started.
    bool exportPdf();
    bool print();
    PdfExportJob& job() { return *job_; }
    QTableView* table() const { return table_; }

private:
    void rebuild();
    void exportFinished(const PdfExportResult& result);

    DialogSeam& dialogs_;
    project::Project project_;
    project::ProjectResult result_;
    QString title_;
    CommissioningSheet sheet_;
    QLineEdit* pressure_ = nullptr;
    QLineEdit* surrounding_ = nullptr;
    QComboBox* screed_ = nullptr;
    QStandardItemModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    QLabel* duty_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* export_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* cancel_ = nullptr;
    PdfExportJob* job_ = nullptr;
};

} // namespace zorva::ui
