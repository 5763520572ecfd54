// SPDX-License-Identifier: MIT
#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

namespace quelmo::i18n {

// The languages Quelmo is translated into, besides English (the language of
// its source texts): "de", "fr", "es".
QStringList shippedLanguages();

// The language to show for these preferred languages (most wanted first, as
// QLocale::uiLanguages() gives them): the first that is English or shipped,
// English ("en") when none is.
QString chooseLanguage(const QStringList& preferred);

// Installs the translators for `language` in the application: Quelmo's own
// catalogue and Qt's (the standard buttons of dialogs), replacing any
// installed before; English installs none. Returns whether Quelmo's
// catalogue was found (always true for English).
bool useLanguage(const QString& language);

// At start: the language of the user's locale (LANGUAGE, LC_ALL,
// LC_MESSAGES, LANG), installed as by useLanguage(). Returns the language.
QString useSystemLanguage();

} // namespace quelmo::i18n
