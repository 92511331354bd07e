// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A key given twice in one JSON object. Qt's parser keeps one of the two
// values without a word, so a project file edited by hand could open with
// other values than the editor showed; the project reader refuses it.

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace zorva::io {

struct RepeatedKey {
    QString key;          // unescaped
    qsizetype offset = 0; // of its second appearance, bytes
};

// The first key that appears twice in one object of `json`, which must be
// JSON that Qt has parsed without error.
std::optional<RepeatedKey> findRepeatedKey(QByteArrayView json);

} // namespace zorva::io
