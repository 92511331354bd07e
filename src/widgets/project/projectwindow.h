// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tool window "项目" (docs/project-window.md): a whole project of rooms
// and manifolds. The settings bar (load method with the city or a typed
// outdoor temperature, the JGJ 142-2012 allowance, the calculation
// method), the room table, the envelope and load breakdown of the selected
// room, the loops of the selected manifold under its EN 1264-3 design line,
// and the totals per manifold and for the project. Files through the safe
// save; every edit can be undone; the project is computed in the
// background after each edit.

#include "models/project/projectdocument.h"
#include "widgets/tools/toolwindows.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTableView;

namespace zorva::models {
class EnvelopeTableModel;
class LoadBreakdownModel;
class LoopTableModel;
class RoomTableModel;
} // namespace zorva::models

namespace zorva::ui {

class DialogSeam;

class ProjectWindow : public QMainWindow, public CloseGuard {
    Q_OBJECT

public:
    explicit ProjectWindow(DialogSeam& dialogs, QWidget* parent = nullptr,
                           std::shared_ptr<const heatload::CityTable> cities = nullptr);
    ~ProjectWindow() override;

    models::ProjectDocument& document() { return *document_; }
    QTableView* roomTable() const { return rooms_; }
    QTableView* envelopeTable() const { return envelope_; }
    QTableView* loopTable() const { return loops_; }
    QComboBox* manifoldBox() const { return manifold_; }

    bool confirmClose() override;

    // The file commands; false when nothing was saved or opened.
    void newProject();
    bool openProject();
    bool saveProject();
    bool saveProjectAs();
    bool importRooms();
    void addRoom();
    void deleteRooms();
    // The project's floor plan and its both-seasons table, each in a window
    // of its own that follows the project's latest result.
    void showPlan();
    void showSeasons();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildActions();
    // 调试单, 材料表 and 调试后平衡 (projecthydraulicsactions.cpp).
    void addHydraulicsActions(QMenu* file, QMenu* view);
    void refreshViews();
    QWidget* buildSettingsBar();
    QWidget* buildRoomPanel();
    QWidget* buildLoopPanel();
    void showSettings();
    void editSettings(const project::Settings& settings, const QString& text);
    void outdoorEdited();
    void citySelected(int index);
    void roomSelected();
    void refreshManifolds();
    void showResults();
    void updateTitle();
    bool askToSave();
    bool writeTo(const QString& fileName);
    void warn(const QString& text);

    DialogSeam& dialogs_;
    std::unique_ptr<models::ProjectDocument> document_;
    models::RoomTableModel* roomModel_ = nullptr;
    models::EnvelopeTableModel* envelopeModel_ = nullptr;
    models::LoadBreakdownModel* breakdownModel_ = nullptr;
    models::LoopTableModel* loopModel_ = nullptr;

    QComboBox* loadMethod_ = nullptr;
    QComboBox* city_ = nullptr;
    QLineEdit* outdoor_ = nullptr;
    QComboBox* allowance_ = nullptr;
    QComboBox* method_ = nullptr;
    QTableView* rooms_ = nullptr;
    QTableView* envelope_ = nullptr;
    QTableView* breakdown_ = nullptr;
    QLabel* breakdownTitle_ = nullptr;
    QComboBox* manifold_ = nullptr;
    QLabel* designLine_ = nullptr;
    QTableView* loops_ = nullptr;
    QLabel* manifoldTotals_ = nullptr;
    QLabel* projectTotals_ = nullptr;
    QLabel* status_ = nullptr;
    bool closeConfirmed_ = false;
    QPointer<QWidget> plan_;
    QPointer<QWidget> seasons_;
};

} // namespace zorva::ui
