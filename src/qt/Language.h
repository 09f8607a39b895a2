#pragma once
// The language of the window. The game's texts are Japanese; every other
// language is a translation built from translations/daro_LANG.ts into the
// program, so switching needs no file beside it.

#include <QLocale>
#include <QString>
#include <QStringList>

#include <memory>

class QTranslator;

namespace daro::qt {

class Language {
public:
    // The language the game's texts are written in.
    static constexpr const char* source = "ja";

    Language();
    ~Language();

    // "ja" and every language the program carries a translation for.
    static QStringList available();
    // The language a player of this system wants: its own when the program
    // has it, English otherwise.
    static QString forSystem(const QLocale& system = QLocale::system());
    // The name of `code` in that language itself ("日本語", "English").
    static QString nameOf(const QString& code);

    // Installs the translation of `code` (none for Japanese); Qt then tells
    // every widget the language changed. False for a language not carried.
    bool use(const QString& code);
    const QString& current() const { return current_; }

private:
    std::unique_ptr<QTranslator> translator_;
    QString current_ = QString::fromLatin1(source);
};

}  // namespace daro::qt
