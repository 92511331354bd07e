#pragma once
// Every modal dialog the program shows goes through a DialogSeam. The
// program passes a QtDialogs; tests pass a scripted seam that answers
// without blocking.

#include <QMessageBox>
#include <QString>

class QWidget;

class DialogSeam {
public:
    virtual ~DialogSeam() = default;

    // A modal message box with one button that closes it.
    virtual void message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                         const QString& text) = 0;

    // Modal file dialogs. `nameFilter` is in Qt's form; `selected` is the
    // name to start from. An empty result means the user cancelled.
    virtual QString saveFileName(QWidget* parent, const QString& nameFilter,
                                 const QString& selected) = 0;
    virtual QString openFileName(QWidget* parent, const QString& nameFilter,
                                 const QString& selected) = 0;
};

// The real dialogs: QMessageBox and QFileDialog.
class QtDialogs : public DialogSeam {
public:
    void message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                 const QString& text) override;
    QString saveFileName(QWidget* parent, const QString& nameFilter,
                         const QString& selected) override;
    QString openFileName(QWidget* parent, const QString& nameFilter,
                         const QString& selected) override;
};
