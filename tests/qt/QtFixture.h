#pragma once
// A Form1 on the real Qt window, with the instant clock and a recording
// sound library, run in a folder of its own (the game writes its settings
// file into the current folder). Ending the program is counted, not done.

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include "Canvas.h"
#include "Form1.h"
#include "InstantClock.h"
#include "MainWindow.h"
#include "RecordingSoundLibrary.h"

namespace daro::test {

class QtWindowTest : public ::testing::Test {
protected:
    QtWindowTest() {
        QDir::setCurrent(folder.path());
        window.setExitAction([this] { ++exits; });
        window.attach(form);
    }
    ~QtWindowTest() override { QDir::setCurrent(previousFolder); }

    QString previousFolder = QDir::currentPath();
    QTemporaryDir folder;
    qt::MainWindow window;
    InstantClock clock;
    RecordingSoundLibrary sound;
    Form1 form{window, clock, &sound};
    int exits = 0;
};

struct SeenBox {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool shown = false;
};

// Answers the next modal message box with `button`, noting what it showed.
inline void answerNextBox(QMessageBox::StandardButton button, SeenBox* seen) {
    auto* poll = new QTimer;
    poll->setInterval(0);
    QObject::connect(poll, &QTimer::timeout, [poll, button, seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        poll->stop();
        poll->deleteLater();
        seen->text = box->text();
        seen->title = box->windowTitle();
        seen->icon = box->icon();
        seen->buttons = box->standardButtons();
        seen->shown = true;
        box->button(button)->click();
    });
    poll->start();
}

inline QColor pixel(const QImage& image, int x, int y) { return QColor(image.pixel(x, y)); }

}  // namespace daro::test
