#pragma once
// A record host for tests: scripted file dialogs, recorded messages and the
// real calculation engine on a plain field record.

#include "calculate.h"
#include "checked.h"
#include "commondialog.h"
#include "dialogseam.h"
#include "inputs.h"
#include "record.h"

#include <QList>
#include <QStringList>

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

// Answers file dialogs from queues; a dialog without a queued answer is a
// surprise the test's cleanup reports.
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
            return {};
        }
        return answers.takeFirst();
    }
};

class ScriptedHost : public RecordHost {
public:
    ScriptedSeam seam;
    CommonDialog dialog{seam};
    zorva::WorkingVars working;
    zorva::FieldRecord fields = zorva::FieldRecord::defaults();
    QString buffer;
    int calculations = 0;

    CommonDialog& commonDialog() override { return dialog; }
    DialogSeam& dialogs() override { return seam; }
    QWidget* dialogParent() override { return nullptr; }
    const zorva::WorkingVars& vars() override { return working; }
    QString recordBuffer() const override { return buffer; }
    void setRecordBuffer(const QString& text) override { buffer = text; }

    // As the main window does it, minus the message it shows on failure.
    bool calculate() override {
        ++calculations;
        try {
            return zorva::Calculate(working, fields).outcome == zorva::Outcome::Converged;
        } catch (const zorva::ArithmeticError&) {
            return false;
        }
    }
};
