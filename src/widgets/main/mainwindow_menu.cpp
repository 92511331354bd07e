// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's menu bar and its commands.

#include "widgets/main/mainwindow.h"

#include "widgets/info/infobox.h"
#include "widgets/main/filecommands.h"
#include "widgets/main/pictureprint.h"
#include "widgets/main/windowcommands.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace zorva::ui {

namespace {

QAction* addItem(QWidget* menu, const char* name, const QString& caption) {
    auto* action = new QAction(caption, menu);
    action->setObjectName(QLatin1String(name));
    menu->addAction(action);
    return action;
}

// What the file commands reach of the main window.
class FileHost : public RecordHost, public PictureHost {
public:
    explicit FileHost(MainWindow& window) : window_(window) {}

    FileDialog& fileDialog() override { return window_.fileDialog(); }
    DialogSeam& dialogs() override { return window_.dialogs(); }
    QWidget* dialogParent() override { return &window_; }
    bool calculate() override { return window_.calculate() == CalcOutcome::Converged; }
    const zorva::WorkingVars& vars() override { return window_.workingVars(); }
    QString recordBuffer() const override { return window_.recordBuffer(); }
    void setRecordBuffer(const QString& text) override { window_.setRecordBuffer(text); }
    QImage principlePicture() override { return window_.commands().principlePicture(); }

private:
    MainWindow& window_;
};

} // namespace

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));

    auto* file = new QMenu(QStringLiteral("文件"), bar);
    file->setObjectName(QStringLiteral("file"));
    file->menuAction()->setObjectName(QStringLiteral("file"));
    bar->addMenu(file);
    connect(addItem(file, "save", QStringLiteral("保存文件")), &QAction::triggered, this,
            &MainWindow::saveRecordClick);
    connect(addItem(file, "open", QStringLiteral("打开文件")), &QAction::triggered, this,
            &MainWindow::openRecordClick);
    connect(addItem(file, "image", QStringLiteral("保存图片")), &QAction::triggered, this,
            &MainWindow::savePictureClick);
    connect(addItem(file, "print", QStringLiteral("打印图片")), &QAction::triggered, this,
            &MainWindow::printPictureClick);

    connect(addItem(bar, "setting", QStringLiteral("设置")), &QAction::triggered, this,
            &MainWindow::constructionClick);
    connect(addItem(bar, "principle", QStringLiteral("原理")), &QAction::triggered, this,
            &MainWindow::principleClick);
    connect(addItem(bar, "introdce", QStringLiteral("说明")), &QAction::triggered, this,
            &MainWindow::guidanceClick);
    connect(addItem(bar, "character", QStringLiteral("特性")), &QAction::triggered, this,
            &MainWindow::characteristicsClick);
    connect(addItem(bar, "about", QStringLiteral("关于")), &QAction::triggered, this,
            &MainWindow::aboutClick);
}

void MainWindow::saveRecordClick() {
    FileHost host(*this);
    saveRecordCommand(host);
}

void MainWindow::openRecordClick() {
    FileHost host(*this);
    openRecordCommand(host);
}

void MainWindow::savePictureClick() {
    FileHost host(*this);
    savePictureCommand(host);
}

void MainWindow::printPictureClick() {
    FileHost host(*this);
    printPictureCommand(host);
}

void MainWindow::constructionClick() {
    commands_.showConstruction();
}

void MainWindow::principleClick() {
    commands_.showPrinciple();
}

void MainWindow::guidanceClick() {
    showInfo(dialogs(), this, InfoText::Guidance);
}

void MainWindow::characteristicsClick() {
    showInfo(dialogs(), this, InfoText::Characteristics);
}

void MainWindow::aboutClick() {
    showInfo(dialogs(), this, InfoText::About);
}

} // namespace zorva::ui
