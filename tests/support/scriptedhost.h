// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A record host for tests: scripted file dialogs, recorded messages and the
// real calculation engine on a plain field record.

#include "core/engine/calculate.h"
#include "core/engine/checked.h"
#include "core/engine/inputs.h"
#include "support/fakedialogs.h"
#include "widgets/dialogs/dialogseam.h"
#include "widgets/dialogs/filedialog.h"
#include "widgets/main/filecommands.h"

class ScriptedHost : public zorva::ui::RecordHost {
public:
    using FileDialog = zorva::ui::FileDialog;
    using DialogSeam = zorva::ui::DialogSeam;

    // Messages are claimed by the test afterwards.
    FakeDialogs seam{FakeDialogs::Mode::Tolerant};
    FileDialog dialog{seam};
    zorva::WorkingVars working;
    zorva::FieldRecord fields = zorva::FieldRecord::defaults();
    QString buffer;
    int calculations = 0;

    FileDialog& fileDialog() override { return dialog; }
    DialogSeam& dialogs() override { return seam; }
    QWidget* dialogParent() override { return nullptr; }
    const zorva::WorkingVars& vars() override { return working; }
    QString recordBuffer() const override { return buffer; }
    void setRecordBuffer(const QString& text) override { buffer = text; }

    // The engine's whole Calculate run, as the main window makes it, minus
    // the message it shows on failure.
    bool calculate() override {
        ++calculations;
        try {
            return zorva::calculate(working, fields).outcome == zorva::Outcome::Converged;
        } catch (const zorva::ArithmeticError&) {
            return false;
        }
    }
};
