#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QStandardPaths>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "Artwork.h"
#include "Form1.h"
#include "MainWindow.h"
#include "Preferences.h"
#include "QtClock.h"
#include "QtSearcher.h"
#include "SoundLibraryLoader.h"

namespace {

QIcon applicationIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        daro::art::paintApplicationIcon(p, QSizeF(size, size));
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fprintf(stderr,
                     "daro: no display; run it under xvfb-run -a -s \"-screen 0 1280x1024x24\" ./daro\n");
        return 1;
    }
    QApplication app(argc, argv);
    // Names the configuration folder, whatever the program file is called.
    QCoreApplication::setApplicationName(QStringLiteral("daro"));
    // The desktop entry's name, so the window is matched with its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(DARO_APP_ID));
    QApplication::setWindowIcon(applicationIcon());
    daro::FilePlaces places = daro::decideFilePlaces(
        std::filesystem::path(QCoreApplication::applicationDirPath().toStdU16String()),
        std::filesystem::path(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation).toStdU16String()));
    // The game in progress is kept in the user's data folder, however it was started.
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!dataFolder.isEmpty())
        places.autosaveFile = std::filesystem::path(dataFolder.toStdU16String()) / "autosave.daro";
    daro::qt::Preferences preferences(daro::qt::Preferences::besideClassic(places.settingsFile()));
    daro::qt::MainWindow window;
    window.setPreferences(&preferences);
    // The language chosen from the menu, or else the system's.
    if (!window.useLanguage(preferences.value(QStringLiteral("language")).toString()))
        window.useLanguage(daro::qt::Language::forSystem());
    daro::qt::QtClock clock([&window](daro::qt::QtClock::Leave how) {
        window.leaveDuringWait(how == daro::qt::QtClock::Leave::Escape);
    });
    // Without the sound library the game is silent.
    const std::u8string libraryFolder = places.soundLibraryFolder.u8string();
    std::unique_ptr<daro::SoundLibrary> soundLibrary =
        daro::loadSoundLibrary(std::string(libraryFolder.begin(), libraryFolder.end()));
    daro::qt::QtSearcher searcher;
    daro::Form1 form(window, clock, soundLibrary.get(), places, &searcher);
    window.attach(form);
    clock.setReleased([&window] { window.gameIdle(); });
    window.load();
    window.show();
    return app.exec();
}
