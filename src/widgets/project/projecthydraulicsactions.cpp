// SPDX-License-Identifier: GPL-3.0-or-later
// The installer's windows of the project window: the commissioning sheet
// (调试单), the bill of materials (材料表) and the re-balancing after
// commissioning (调试后平衡), each following the project's latest result.
#include "widgets/dialogs/dialogseam.h"
#include "widgets/hydraulics/commissioningwindow.h"
#include "widgets/hydraulics/manifoldhydraulicseditor.h"
#include "widgets/hydraulics/materialswindow.h"
#include "widgets/hydraulics/rebalancewindow.h"
#include "widgets/project/projectwindow.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace zorva::ui {

namespace {

QString projectTitle(const models::ProjectDocument& document) {
    const QString name = QFileInfo(document.fileName()).completeBaseName();
    return name.isEmpty() ? QStringLiteral("未命名项目") : name;
}

// The window of that kind kept as a child of `owner`, made on first use;
// shown and raised when `show`.
template <typename Window>
Window* ownedWindow(QWidget* owner, DialogSeam& dialogs, const QString& name, bool make) {
    auto* w = owner->findChild<Window*>(name, Qt::FindDirectChildrenOnly);
    if (!w && make) {
        w = new Window(dialogs, owner);
        w->setWindowFlag(Qt::Window);
    }
    return w;
}

} // namespace

void ProjectWindow::addHydraulicsActions(QMenu* file, QMenu* view) {
    // Each window is made once, kept as a child and brought up to date
    // whenever the project's result changes.
    const auto open = [this](auto* window, bool show) {
        if (window == nullptr)
            return window;
        window->setProject(document_->project(), document_->result(), projectTitle(*document_));
        if (show) {
            window->show();
            window->raise();
        }
        return window;
    };
    const auto sheet = [this, open](bool make, bool show) {
        return open(ownedWindow<CommissioningWindow>(this, dialogs_,
                                                     QStringLiteral("commissioningWindow"), make),
                    show);
    };
    const auto bill = [this, open](bool make, bool show) {
        return open(
            ownedWindow<MaterialsWindow>(this, dialogs_, QStringLiteral("materialsWindow"), make),
            show);
    };
    auto add = [this](QMenu* menu, const char* name, const QString& text, auto slot) {
        auto* action = new QAction(text, this);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, slot);
        menu->addAction(action);
        return action;
    };
    view->addSeparator();
    add(view, "showMaterials", QStringLiteral("材料表…"), [bill] { bill(true, true); });
    add(view, "showCommissioning", QStringLiteral("调试单…"), [sheet] { sheet(true, true); });
    add(view, "showRebalance", QStringLiteral("调试后平衡…"), [this] {
        auto* w = findChild<RebalanceWindow*>(QStringLiteral("rebalanceWindow"),
                                              Qt::FindDirectChildrenOnly);
        if (!w) {
            w = new RebalanceWindow(*document_, this);
            w->setWindowFlag(Qt::Window);
        }
        w->show();
        w->raise();
    });
    add(view, "editManifoldHydraulics", QStringLiteral("分集水器水力参数…"), [this] {
        auto* w = findChild<ManifoldHydraulicsEditor*>(QStringLiteral("manifoldHydraulicsEditor"),
                                                       Qt::FindDirectChildrenOnly);
        if (!w) {
            w = new ManifoldHydraulicsEditor(*document_, dialogs_, this);
            w->setWindowFlag(Qt::Window);
        }
        w->show();
        w->raise();
    });
    file->addSeparator();
    add(file, "exportCommissioning", QStringLiteral("导出调试单 PDF…"), [this, sheet] {
        // A sheet of an older state of the project would mislead.
        if (!document_->resultCurrent()) {
            dialogs_.message(this, QMessageBox::Information, QStringLiteral("调试单"),
                             QStringLiteral("项目仍在计算中，请在计算完成后再导出调试单。"));
            return;
        }
        sheet(true, true)->exportPdf();
    });
    connect(document_.get(), &models::ProjectDocument::resultChanged, this, [sheet, bill] {
        sheet(false, false);
        bill(false, false);
    });
}

} // namespace zorva::ui
