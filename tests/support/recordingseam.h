#pragma once
// A DialogSeam for the file-command tests: file dialogs answer from queues
// the test fills beforehand, message boxes are recorded. A dialog without a
// queued answer fails the running test and is kept in surprises.

#include "dialogseam.h"

#include <QList>
#include <QMessageBox>
#include <QStringList>
#include <QTest>

struct FileDialogCall {
    bool save = false;
    QString nameFilter;
    QString selected;
};

struct ShownMessage {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
};

class ScriptedSeam : public DialogSeam {
public:
    QStringList saveAnswers;
    QStringList openAnswers;
    QList<FileDialogCall> fileCalls;
    QList<ShownMessage> messages;
    QStringList surprises;

    void message(QWidget*, QMessageBox::Icon icon, const QString& title,
                 const QString& text) override {
        messages.append({icon, title, text});
    }
    QString saveFileName(QWidget*, const QString& nameFilter, const QString& selected) override {
        return answer(true, saveAnswers, nameFilter, selected);
    }
    QString openFileName(QWidget*, const QString& nameFilter, const QString& selected) override {
        return answer(false, openAnswers, nameFilter, selected);
    }

private:
    QString answer(bool save, QStringList& answers, const QString& nameFilter,
                   const QString& selected) {
        fileCalls.append({save, nameFilter, selected});
        if (answers.isEmpty()) {
            surprises << QStringLiteral("unexpected %1 dialog").arg(save ? "save" : "open");
            QTest::qFail(qPrintable(surprises.constLast()), __FILE__, __LINE__);
            return {};
        }
        return answers.takeFirst();
    }
};
