// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the main window may do to the construction window: read its texts,
// and keep its filling layer in step with the burial depth. Reaching the
// construction window builds it hidden, with its defaults, when it does not
// exist.

class QString;

namespace zorva {
struct FieldRecord;
}

namespace zorva::ui {

class ConstructionLink {
public:
    virtual ~ConstructionLink() = default;

    // Copies the construction texts (thicknesses, elbows, conductivities)
    // into the record.
    virtual void readConstruction(zorva::FieldRecord& record) = 0;

    // Writes the filling-layer thickness Txt1(2); a changed text runs the
    // construction window's thickness handling at once.
    virtual void setFillText(const QString& text) = 0;
};

} // namespace zorva::ui
