#include "Preferences.h"

#include <QFileInfo>
#include <QSettings>

namespace daro::qt {

Preferences::Preferences(const QString& file) {
    // A pipe, device or folder in its place is left alone, never waited on.
    const QFileInfo info(file);
    if (file.isEmpty() || (info.exists() && !info.isFile())) return;
    settings_ = std::make_unique<QSettings>(file, QSettings::IniFormat);
}

Preferences::~Preferences() = default;

QString Preferences::besideClassic(const std::filesystem::path& classicSettingsFile) {
    // A bare name (the portable game) has the current folder as its own.
    const std::filesystem::path folder = classicSettingsFile.parent_path();
    const std::filesystem::path file = folder.empty() ? std::filesystem::path(fileName) : folder / fileName;
    if (classicSettingsFile.empty()) return {};
    return QString::fromStdU16String(file.u16string());
}

QVariant Preferences::value(const QString& key, const QVariant& fallback) const {
    if (auto it = memory_.constFind(key); it != memory_.constEnd()) return *it;
    return settings_ ? settings_->value(key, fallback) : fallback;
}

void Preferences::setValue(const QString& key, const QVariant& value) {
    memory_.insert(key, value);
    if (!settings_) return;
    settings_->setValue(key, value);
    settings_->sync();
}

}  // namespace daro::qt
