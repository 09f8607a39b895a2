#include "Language.h"

#include <QCoreApplication>
#include <QDir>
#include <QTranslator>

// The translations are built into the library; a static library's
// resources are registered by hand.
static void registerTranslations() { Q_INIT_RESOURCE(daro_translations); }

namespace daro::qt {
namespace {

const QString kFolder = QStringLiteral(":/i18n");

QString fileOf(const QString& code) { return kFolder + QStringLiteral("/daro_") + code + QStringLiteral(".qm"); }

}  // namespace

Language::Language() = default;

Language::~Language() {
    if (translator_) QCoreApplication::removeTranslator(translator_.get());
}

QStringList Language::available() {
    static const bool registered = (registerTranslations(), true);
    (void)registered;
    QStringList codes{QString::fromLatin1(source)};
    const QStringList files = QDir(kFolder).entryList({QStringLiteral("daro_*.qm")}, QDir::Files, QDir::Name);
    for (const QString& file : files) codes << file.mid(5, file.size() - 8);
    return codes;
}

QString Language::forSystem(const QLocale& system) {
    const QStringList carried = available();
    for (QString wanted : system.uiLanguages()) {
        wanted.replace(QLatin1Char('-'), QLatin1Char('_'));
        if (carried.contains(wanted)) return wanted;
        const QString language = wanted.section(QLatin1Char('_'), 0, 0);
        if (carried.contains(language)) return language;
        // Only the first choice counts: a Japanese system lists English
        // after Japanese, and an English one may list Japanese later.
        break;
    }
    return QStringLiteral("en");
}

QString Language::nameOf(const QString& code) {
    // Each translation names its own language as the translation of "日本語".
    if (code == QLatin1String(source)) return QStringLiteral("日本語");
    QTranslator translator;
    if (!available().contains(code) || !translator.load(fileOf(code))) return code;
    const QString name = translator.translate("Language", "日本語");
    return name.isEmpty() ? code : name;
}

bool Language::use(const QString& code) {
    if (code == current_) return true;
    std::unique_ptr<QTranslator> next;
    if (code != QLatin1String(source)) {
        if (!available().contains(code)) return false;
        next = std::make_unique<QTranslator>();
        if (!next->load(fileOf(code))) return false;
    }
    // Qt tells the widgets at once, while the translators change.
    current_ = code;
    if (translator_) QCoreApplication::removeTranslator(translator_.get());
    translator_ = std::move(next);
    if (translator_) QCoreApplication::installTranslator(translator_.get());
    return true;
}

}  // namespace daro::qt
