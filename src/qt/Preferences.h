#pragma once
// The game's own settings: what it adds to the classic options (the
// language, and later the pace, the marks, the window's size). They live in
// a file of their own beside "ZT七国将棋.ini", whose lines stay the classic
// ones. Without a place to keep them they live in memory only.

#include <QString>
#include <QVariant>

#include <filesystem>
#include <memory>

class QSettings;

namespace daro::qt {

class Preferences {
public:
    // The file's name, beside the classic settings file.
    static constexpr const char* fileName = "daro.conf";

    // `file` empty: in memory only.
    explicit Preferences(const QString& file);
    ~Preferences();
    Preferences(const Preferences&) = delete;
    Preferences& operator=(const Preferences&) = delete;

    // The file beside the classic settings file; empty when that has no folder.
    static QString besideClassic(const std::filesystem::path& classicSettingsFile);

    QVariant value(const QString& key, const QVariant& fallback = {}) const;
    // Written to the file at once; a file that cannot be written keeps the
    // value for this run.
    void setValue(const QString& key, const QVariant& value);

private:
    std::unique_ptr<QSettings> settings_;
    QVariantMap memory_;
};

}  // namespace daro::qt
