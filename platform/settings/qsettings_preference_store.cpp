// SPDX-License-Identifier: MIT
#include "platform/settings/qsettings_preference_store.h"

#include <QFile>
#include <QSettings>
#include <QVariant>

namespace quelmo {

namespace {

QString toKey(std::string_view key) {
    return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

} // namespace

QSettingsPreferenceStore::QSettingsPreferenceStore()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            QStringLiteral("Quelmo"), QStringLiteral("Quelmo"))) {
    init();
}

QSettingsPreferenceStore::QSettingsPreferenceStore(const QString& filePath)
    : settings_(std::make_unique<QSettings>(filePath, QSettings::NativeFormat)) {
    init();
}

QSettingsPreferenceStore::~QSettingsPreferenceStore() = default;

void QSettingsPreferenceStore::init() {
    // QSettings parses sections lazily; list the keys so that a format error
    // anywhere in the file shows in status() now.
    (void)settings_->allKeys();
    corruptUncopied_ = settings_->status() == QSettings::FormatError;
}

QString QSettingsPreferenceStore::fileName() const {
    return settings_->fileName();
}

QString QSettingsPreferenceStore::corruptCopyFileName() const {
    return settings_->fileName() + QStringLiteral(".corrupt");
}

std::optional<std::string> QSettingsPreferenceStore::read(std::string_view key) const {
    const QVariant value = settings_->value(toKey(key));
    if (!value.isValid()) {
        return std::nullopt;
    }
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString().toStdString();
    case QMetaType::Bool:
        return value.toBool() ? "true" : "false";
    case QMetaType::Double:
    case QMetaType::Float:
        return formatStoredDouble(value.toDouble());
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return value.toString().toStdString();
    default:
        // A list ("a, b" in the file), a byte array, a geometry...: not text.
        return std::nullopt;
    }
}

void QSettingsPreferenceStore::beforeWrite() {
    if (!corruptUncopied_) {
        return;
    }
    corruptUncopied_ = false;
    const QString copy = corruptCopyFileName();
    QFile::remove(copy);
    QFile::copy(settings_->fileName(), copy);
}

void QSettingsPreferenceStore::writeBool(std::string_view key, bool value) {
    beforeWrite();
    settings_->setValue(toKey(key), value);
    settings_->sync();
}

void QSettingsPreferenceStore::writeDouble(std::string_view key, double value) {
    beforeWrite();
    settings_->setValue(toKey(key), value);
    settings_->sync();
}

} // namespace quelmo
