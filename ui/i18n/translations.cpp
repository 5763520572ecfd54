// SPDX-License-Identifier: MIT
#include "ui/i18n/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace quelmo::i18n {
namespace {

// Compiled in by the build from the catalogues beside this file.
constexpr char kCatalogueFolder[] = ":/i18n";

std::unique_ptr<QTranslator>& ownTranslator() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

std::unique_ptr<QTranslator>& qtTranslator() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

void uninstall(std::unique_ptr<QTranslator>& translator) {
    if (translator) {
        QCoreApplication::removeTranslator(translator.get());
        translator.reset();
    }
}

} // namespace

QStringList shippedLanguages() {
    return {QStringLiteral("de"), QStringLiteral("fr"), QStringLiteral("es")};
}

QString chooseLanguage(const QStringList& preferred) {
    const QStringList shipped = shippedLanguages();
    for (const QString& name : preferred) {
        // "de-DE", "de_AT", "fr-Latn-FR": the language is the part before the
        // first separator.
        const QString language =
            name.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0).toLower();
        if (language == QLatin1String("en") || shipped.contains(language)) {
            return language;
        }
    }
    return QStringLiteral("en");
}

bool useLanguage(const QString& language) {
    uninstall(ownTranslator());
    uninstall(qtTranslator());
    if (language == QLatin1String("en") || language.isEmpty()) {
        return true;
    }
    auto own = std::make_unique<QTranslator>();
    if (!own->load(QStringLiteral("quelmo_") + language, QString::fromLatin1(kCatalogueFolder))) {
        return false;
    }
    QCoreApplication::installTranslator(own.get());
    ownTranslator() = std::move(own);
    // Qt's own catalogue is optional (Debian's qt6-translations-l10n).
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(QStringLiteral("qtbase_") + language,
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qt.get());
        qtTranslator() = std::move(qt);
    }
    return true;
}

QString useSystemLanguage() {
    const QString language = chooseLanguage(QLocale::system().uiLanguages());
    useLanguage(language);
    return language;
}

} // namespace quelmo::i18n
