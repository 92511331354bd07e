// SPDX-License-Identifier: GPL-3.0-or-later
// The plan window's imports: a DXF drawing, whose closed polylines become
// the outlines of rooms and the rest the grey background, and an image to
// trace over, scaled by two points of a known distance.
#include "widgets/plan/planediting.h"

#include "core/layout/geometry.h"
#include "core/project/planedits.h"
#include "models/project/projectdocument.h"
#include "widgets/dialogs/dialogseam.h"

#include <QFileInfo>
#include <QImageReader>
#include <QUndoStack>

#include <algorithm>
#include <cmath>

namespace zorva::ui {

namespace {

using project::PlanPoint;

std::vector<PlanPoint> toMetres(const layout::Polygon& outline) {
    std::vector<PlanPoint> out;
    out.reserve(outline.size());
    for (const layout::Point& p : outline)
        out.push_back({p.x / 1000, p.y / 1000});
    return out;
}

bool nameTaken(const project::Project& p, const std::string& name) {
    return std::any_of(p.rooms.begin(), p.rooms.end(),
                       [&](const project::Room& r) { return r.name == name; });
}

} // namespace

std::vector<int> roomsWithoutOutline(const project::Project& project) {
    std::vector<int> rows;
    for (std::size_t i = 0; i < project.rooms.size(); ++i)
        if (!project.rooms[i].plan.hasOutline())
            rows.push_back(int(i));
    return rows;
}

bool PlanWindow::importDxf() {
    if (!document_)
        return false;
    const QString file =
        dialogs_->openFileName(this, QStringLiteral("DXF 图纸 (*.dxf);;所有文件 (*)"), QString());
    return !file.isEmpty() && importDxfFile(file);
}

bool PlanWindow::importDxfFile(const QString& fileName) {
    const QString path = QFileInfo(fileName).absoluteFilePath();
    const dxf::ImportResult read = dxf::readDxfFile(path.toStdString());
    if (!read.ok) {
        dialogs_->message(
            this, QMessageBox::Warning, QStringLiteral("导入 DXF"),
            QStringLiteral("无法导入“%1”：%2").arg(fileName, QString::fromStdString(read.error)));
        return false;
    }
    const project::Project& project = document_->project();
    std::vector<OutlineOwner> owners;
    if (!read.outlines.empty()) {
        const std::optional<std::vector<OutlineOwner>> chosen =
            chooseImport_ ? chooseImport_(project, read.outlines)
                          : askImportOwners(this, project, read.outlines);
        if (!chosen || chosen->size() != read.outlines.size())
            return false;
        owners = *chosen;
    }
    QUndoStack& undo = document_->undoStack();
    undo.beginMacro(QStringLiteral("导入 DXF %1").arg(QFileInfo(fileName).fileName()));
    int rooms = 0;
    for (std::size_t k = 0; k < owners.size(); ++k) {
        const OutlineOwner& owner = owners[k];
        std::vector<PlanPoint> outline = toMetres(read.outlines[k].outline);
        if (!project::outlineProblem(outline).empty())
            continue;
        const project::Project& now = document_->project();
        if (owner.kind == OutlineOwner::Kind::Existing && owner.room >= 0 &&
            std::size_t(owner.room) < now.rooms.size()) {
            project::Room room = now.rooms[std::size_t(owner.room)];
            project::setRoomOutline(room, std::move(outline));
            document_->setRoom(owner.room, room, QStringLiteral("导入轮廓"));
            ++rooms;
        } else if (owner.kind == OutlineOwner::Kind::New) {
            project::Room room = document_->newRoom();
            const std::string name = owner.name.trimmed().toStdString();
            if (!name.empty() && !nameTaken(now, name))
                room.name = name;
            project::setRoomOutline(room, std::move(outline));
            document_->insertRooms(int(now.rooms.size()), {room}, QStringLiteral("导入房间"));
            ++rooms;
        }
    }
    project::Settings settings = document_->project().settings;
    settings.planBackground.dxfFile = path.toStdString();
    document_->setSettings(settings, QStringLiteral("DXF 底图"));
    undo.endMacro();
    say(QStringLiteral("导入 %1 个房间轮廓；其余图形作为底图").arg(rooms));
    return true;
}

bool PlanWindow::importImage() {
    if (!document_)
        return false;
    const QString file = dialogs_->openFileName(
        this, QStringLiteral("图片 (*.png *.jpg *.jpeg);;所有文件 (*)"), QString());
    if (file.isEmpty())
        return false;
    QImageReader reader(file);
    if (!reader.canRead() || !reader.size().isValid()) {
        dialogs_->message(this, QMessageBox::Warning, QStringLiteral("导入底图"),
                          QStringLiteral("无法读取图片“%1”：%2").arg(file, reader.errorString()));
        return false;
    }
    project::Settings settings = document_->project().settings;
    settings.planBackground.imageFile = QFileInfo(file).absoluteFilePath().toStdString();
    settings.planBackground.imageScale = 0;
    document_->setSettings(settings, QStringLiteral("图片底图"));
    setTool(Tool::ImageScale);
    return true;
}

void PlanWindow::finishImageScale(double metres) {
    project::Settings settings = document_->project().settings;
    project::PlanBackground& bg = settings.planBackground;
    const double now = bg.imageScale > 0 ? bg.imageScale : 0.01;
    const double pixels = layout::distance(pending_[0], pending_[1]) / now;
    pending_.clear();
    if (!(pixels > 0.5) || !(metres / pixels <= 1000)) {
        say(QStringLiteral("两点太近，无法定比例"));
        drawPending();
        return;
    }
    bg.imageScale = metres / pixels;
    document_->setSettings(settings, QStringLiteral("底图比例"));
    setTool(Tool::Select);
    say(QStringLiteral("底图比例 %1 m/像素").arg(bg.imageScale, 0, 'g', 6));
}

} // namespace zorva::ui
