// The main window's menu bar and its commands.

#include "zorva.h"

#include "infotexts.h"
#include "picturesave.h"
#include "record.h"
#include "windowregistry.h"
#include "yuanli.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

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
    explicit FileHost(Zorva& window) : window_(window) {}

    CommonDialog& commonDialog() override { return window_.commonDialog(); }
    DialogSeam& dialogs() override { return window_.dialogs(); }
    QWidget* dialogParent() override { return &window_; }
    bool calculate() override { return window_.calculate() == CalcOutcome::Converged; }
    const zorva::WorkingVars& vars() override { return window_.workingVars(); }
    QString recordBuffer() const override { return window_.recordBuffer(); }
    void setRecordBuffer(const QString& text) override { window_.setRecordBuffer(text); }
    QImage principlePicture() override { return window_.windows().principle().picture(); }

private:
    Zorva& window_;
};

} // namespace

void Zorva::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));

    auto* file = new QMenu(QStringLiteral("文件"), bar);
    file->setObjectName(QStringLiteral("file"));
    file->menuAction()->setObjectName(QStringLiteral("file"));
    bar->addMenu(file);
    connect(addItem(file, "save", QStringLiteral("保存文件")), &QAction::triggered, this,
            &Zorva::saveClick);
    connect(addItem(file, "open", QStringLiteral("打开文件")), &QAction::triggered, this,
            &Zorva::openClick);
    connect(addItem(file, "image", QStringLiteral("保存图片")), &QAction::triggered, this,
            &Zorva::imageClick);
    connect(addItem(file, "print", QStringLiteral("打印图片")), &QAction::triggered, this,
            &Zorva::printClick);

    connect(addItem(bar, "setting", QStringLiteral("设置")), &QAction::triggered, this,
            &Zorva::settingClick);
    connect(addItem(bar, "principle", QStringLiteral("原理")), &QAction::triggered, this,
            &Zorva::principleClick);
    connect(addItem(bar, "introdce", QStringLiteral("说明")), &QAction::triggered, this,
            &Zorva::introdceClick);
    connect(addItem(bar, "character", QStringLiteral("特性")), &QAction::triggered, this,
            &Zorva::characterClick);
    connect(addItem(bar, "about", QStringLiteral("关于")), &QAction::triggered, this,
            &Zorva::aboutClick);
}

void Zorva::saveClick() {
    FileHost host(*this);
    saveRecordCommand(host);
}

void Zorva::openClick() {
    FileHost host(*this);
    openRecordCommand(host);
}

void Zorva::imageClick() {
    FileHost host(*this);
    savePictureCommand(host);
}

void Zorva::printClick() {
    // Printing the picture does nothing.
}

void Zorva::settingClick() {
    windows_.showSettings();
}

void Zorva::principleClick() {
    windows_.showPrinciple();
}

void Zorva::introdceClick() {
    showInfo(dialogs(), this, InfoText::Guidance);
}

void Zorva::characterClick() {
    showInfo(dialogs(), this, InfoText::Characteristics);
}

void Zorva::aboutClick() {
    showInfo(dialogs(), this, InfoText::About);
}
