#include <QApplication>

#include <cstdio>
#include <memory>

#include "Form1.h"
#include "MainWindow.h"
#include "QtClock.h"
#include "SoundLibraryLoader.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fprintf(stderr,
                     "daro: no display; run it under xvfb-run -a -s \"-screen 0 1280x1024x24\" ./daro\n");
        return 1;
    }
    QApplication app(argc, argv);
    daro::qt::MainWindow window;
    daro::qt::QtClock clock([&window](daro::qt::QtClock::Leave how) {
        window.leaveDuringWait(how == daro::qt::QtClock::Leave::Escape);
    });
    // The sound library lies beside the program; without it the game is silent.
    std::unique_ptr<daro::SoundLibrary> soundLibrary =
        daro::loadSoundLibrary(QCoreApplication::applicationDirPath().toStdString());
    daro::Form1 form(window, clock, soundLibrary.get());
    window.attach(form);
    window.load();
    window.show();
    return app.exec();
}
