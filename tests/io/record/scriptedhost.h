#pragma once
// A record host for tests: scripted file dialogs, recorded messages and the
// real calculation engine on a plain field record.

#include "calculate.h"
#include "checked.h"
#include "commondialog.h"
#include "dialogseam.h"
#include "inputs.h"
#include "record.h"
#include "recordingseam.h"

#include <QList>
#include <QStringList>

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
