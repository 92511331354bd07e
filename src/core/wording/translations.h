// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Qt's own texts (file dialog, its "already exists" question, standard
// buttons) in the user's language, from the qtbase translations that Qt
// installs (Debian package qt6-translations-l10n).

class QCoreApplication;
class QLocale;

namespace zorva {

// Loads qtbase_<language>.qm for `locale` from Qt's translation folder and
// installs it in `app`, which owns it. Returns false, leaving Qt's English
// texts, when Qt has no translation for the locale or the file cannot be
// read.
bool installQtTranslations(QCoreApplication& app, const QLocale& locale);

} // namespace zorva
