// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A fresh set of the program's windows for each test, answered by a strict
// fake dialog seam, and a few helpers for driving the fields.

#include "support/fakedialogs.h"
#include "widgets/construction/constructionwindow.h"
#include "widgets/main/mainwindow.h"
#include "widgets/main/windowregistry.h"

#include <QLineEdit>
#include <QStringList>
#include <QTest>

struct TestWindows {
    FakeDialogs dialogs;
    zorva::ui::WindowRegistry registry{dialogs};

    zorva::ui::MainWindow& main() { return registry.main(); }
    zorva::ui::ConstructionWindow& construction() { return registry.construction(); }
    // Main window field Txt(index).
    QLineEdit* field(int index) { return main().field(index); }
    // Construction window thickness Txt1(row) and conductivity Text1(row).
    QLineEdit* thickness(int row) {
        return construction().thicknessField(zorva::ConstructionRow(row));
    }
    QLineEdit* conductivity(int row) {
        return construction().conductivityField(zorva::ConstructionRow(row));
    }

    // Txt(7) .. Txt(13).
    QStringList results() {
        QStringList texts;
        for (int k = 0; k < zorva::ui::MainWindow::kResultFieldCount; ++k)
            texts << main().resultField(k)->text();
        return texts;
    }
};

// Replaces the whole text of a field by typing, key by key, as a user does
// after selecting it.
inline void retype(QLineEdit* field, const QString& keys) {
    field->selectAll();
    QTest::keyClicks(field, keys);
}

// The seven results of the default design.
inline QStringList defaultResults() {
    return {"92.6", "27.1", "18.2", "38.5", "54.1", "287", "0.40"};
}
