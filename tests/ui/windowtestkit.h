#pragma once
// A fresh set of the program's windows for each test, answered by a
// scripted dialog seam, and a few helpers for driving the fields.

#include "scripteddialogs.h"
#include "shezhi.h"
#include "windowregistry.h"
#include "zorva.h"

#include <QLineEdit>
#include <QStringList>
#include <QTest>

struct TestWindows {
    ScriptedDialogs dialogs;
    WindowRegistry registry{dialogs};

    Zorva& main() { return registry.main(); }
    shezhi& settings() { return registry.settings(); }
    QLineEdit* txt(int index) { return main().txt(index); }
    QLineEdit* txt1(int index) { return settings().txt1(index); }
    QLineEdit* text1(int index) { return settings().text1(index); }

    // Txt(7) .. Txt(13).
    QStringList results() {
        QStringList texts;
        for (int i = 7; i <= 13; ++i)
            texts << txt(i)->text();
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
