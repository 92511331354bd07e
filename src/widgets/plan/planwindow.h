// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window "平面布管图": the project's rooms with an outline, the placed
// manifolds and the routed loops, one colour per loop with a legend (loop,
// room, routed length, spacing), the rule violations drawn in red and
// listed; zoom with the wheel or the buttons, pan by dragging
// (docs/project.md, "The floor plan").
//
// Opened on a project document it edits the plan (docs/project.md,
// "Editing the floor plan"): rooms drawn as rectangles or polygons, by
// clicks on the grid or by typed dimensions, doors, no-pipe areas and the
// manifold placed, vertices, rooms, dividers and leader paths dragged, a
// DXF drawing or an image imported as the background. Every edit is an
// undo step of the document; the window redraws on each new result and
// keeps its zoom and selection. Opened on one result it only shows it.

#include "core/dxf/dxfreader.h"
#include "core/project/projectresult.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QActionGroup;
class QGraphicsPathItem;
class QGraphicsScene;
class QGraphicsView;
class QLabel;
class QLineEdit;
class QToolBar;
class QTreeWidget;

namespace zorva::models {
class ProjectDocument;
}

namespace zorva::ui {

class DialogSeam;
struct PlanDrag;

// Whom a drawn or imported outline belongs to.
struct OutlineOwner {
    enum class Kind { Skip, Existing, New };
    Kind kind = Kind::Skip;
    int room = -1; // Existing: the room's row
    QString name;  // New: the new room's name
};

class PlanWindow : public QWidget {
    Q_OBJECT

public:
    enum class Tool { Select, Rectangle, Polygon, Door, NoPipeArea, Manifold, ImageScale };

    // A view of one result.
    PlanWindow(const project::Project& project, const project::ProjectResult& result,
               QWidget* parent = nullptr);
    // The editor of the document's plan.
    PlanWindow(models::ProjectDocument& document, DialogSeam& dialogs, QWidget* parent = nullptr);
    ~PlanWindow() override;

    QGraphicsScene* scene() const { return scene_; }
    QGraphicsView* view() const { return view_; }
    QTreeWidget* legend() const { return legend_; }
    QTreeWidget* violations() const { return violations_; }

    // The view's scale: 1 shows the whole plan.
    double zoom() const;
    void zoomBy(double factor);
    void fitAll();

    // The colour of the n-th loop of the plan, from 0.
    static QColor loopColour(int n);

    // Editing; all of it does nothing in a view of one result.
    bool editable() const { return document_ != nullptr; }
    Tool tool() const { return tool_; }
    void setTool(Tool tool);
    double grid() const { return grid_; } // m; 0: no grid
    void setGrid(double metres);
    int selectedRoom() const { return selectedRoom_; }
    void selectRoom(int row);
    QLineEdit* typedInput() const { return typed_; }
    QLabel* status() const { return status_; }
    const std::vector<project::PlanPoint>& pendingPoints() const { return pending_; }

    // Where a clicked point lands: on the grid and, unless Shift is held,
    // square to the previous point of the outline being drawn.
    project::PlanPoint snapped(project::PlanPoint raw, Qt::KeyboardModifiers modifiers) const;

    // The pointer in plan coordinates (m); the view's mouse events come
    // here, and tests may call them directly.
    void pressAt(project::PlanPoint raw, Qt::KeyboardModifiers modifiers = {});
    void moveTo(project::PlanPoint raw, Qt::KeyboardModifiers modifiers = {});
    void releaseAt(project::PlanPoint raw, Qt::KeyboardModifiers modifiers = {});
    // What Enter in the typed box does; false, with the reason shown, when
    // the text means nothing for the tool.
    bool enterTyped(const QString& text);
    // Closes the polygon being drawn.
    bool finishPolygon();
    // Takes the selected room's outline off the plan; the room stays.
    bool deleteSelectedOutline();
    void cancelDrawing();

    // Asked for the owner of each new outline; the default asks in a
    // dialog. nullopt cancels.
    using OwnerChooser = std::function<std::optional<OutlineOwner>(
        const project::Project& project, const std::vector<project::PlanPoint>& outline)>;
    void setOwnerChooser(OwnerChooser chooser) { chooseOwner_ = std::move(chooser); }
    // Asked for the owners of the outlines of an imported DXF, one per
    // outline; the default asks in a dialog. nullopt cancels the import.
    using ImportChooser = std::function<std::optional<std::vector<OutlineOwner>>(
        const project::Project& project, const std::vector<dxf::ImportedOutline>& outlines)>;
    void setImportChooser(ImportChooser chooser) { chooseImport_ = std::move(chooser); }

    // 导入 DXF… and 导入底图…; false when nothing was imported.
    bool importDxf();
    bool importImage();
    // The DXF file's outlines given to their owners and the rest of it as
    // the background, as one undo step.
    bool importDxfFile(const QString& fileName);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void draw(const project::Project& project, const project::ProjectResult& result);
    void redraw();
    void buildEditing();
    void drawBackground(const project::Project& project);
    void drawEditing(const project::Project& project, const project::ProjectResult& result);
    void drawPending();
    bool handleViewEvent(QEvent* event);
    void addPoint(project::PlanPoint p);
    void editRoom(int row, const std::function<void(project::Room&)>& change, const QString& text);
    bool finishOutline(std::vector<project::PlanPoint> outline);
    void finishRectangle(project::PlanPoint far);
    bool addDoor(project::PlanPoint at);
    bool addNoPipeArea(const std::vector<project::PlanPoint>& outline);
    void placeManifold(project::PlanPoint at);
    void finishImageScale(double metres);
    void commitDrag(project::PlanPoint raw, Qt::KeyboardModifiers modifiers);
    int roomAt(project::PlanPoint p) const;
    double pickRadius() const; // m
    void say(const QString& text);

    QGraphicsScene* scene_ = nullptr;
    QGraphicsView* view_ = nullptr;
    QTreeWidget* legend_ = nullptr;
    QTreeWidget* violations_ = nullptr;
    QLabel* summary_ = nullptr;
    double fitScale_ = 1;

    models::ProjectDocument* document_ = nullptr;
    DialogSeam* dialogs_ = nullptr;
    QToolBar* tools_ = nullptr;
    QActionGroup* toolGroup_ = nullptr;
    QLineEdit* typed_ = nullptr;
    QLabel* status_ = nullptr;
    Tool tool_ = Tool::Select;
    double grid_ = 0.1;
    int selectedRoom_ = -1;
    std::vector<project::PlanPoint> pending_;
    std::optional<project::PlanPoint> hover_;
    QGraphicsPathItem* pendingItem_ = nullptr;
    std::unique_ptr<PlanDrag> drag_;
    bool fitted_ = false;
    OwnerChooser chooseOwner_;
    ImportChooser chooseImport_;
    // The background drawing as read, and the file it came from.
    std::string backgroundFile_;
    std::optional<dxf::Drawing> background_;
};

} // namespace zorva::ui
