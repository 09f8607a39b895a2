// Bringing the window up, and every way out of the program.
#include "Form1.h"

namespace daro {

namespace {

constexpr int kEscapeKey = 27;

// Where a seat's two icons sit, in twips; the human and the computer icon
// share one place since only one of them is ever shown.
struct IconPlace {
    int seat;
    int left, top;
};
constexpr std::array<IconPlace, 7> kIconPlaces = {{
    {5, 10160, 3000},  // 魏
    {7, 3600, 120},    // 燕
    {4, 10160, 6720},  // 斉
    {6, 7420, 120},    // 趙
    {1, 940, 4800},    // 秦
    {2, 3600, 9360},   // 楚
    {3, 7420, 9360},   // 韓
}};

constexpr int kWindowLeft = -60;
constexpr int kWindowTop = -60;
constexpr int kWindowWidth = 14000;
constexpr int kWindowHeight = 11000;

}  // namespace

void Form1::Form_Load() {
    module1.InitSound(window.nativeHandle());
    soundOther = module1.LoadSound(places.waveFile("その他.wav"), effectSoundFlags);
    soundForbidden = module1.LoadSound(places.waveFile("禁止.wav"), effectSoundFlags);
    soundPiece = module1.LoadSound(places.waveFile("駒打音.wav"), effectSoundFlags);
    soundGameEnd = module1.LoadSound(places.waveFile("終局.wav"), effectSoundFlags);
    soundBgm = module1.LoadSound(places.waveFile("BGM.wav"), musicSoundFlags);

    // 初期設定 sets these again at the end of start-up.
    moveNumber = 0;
    recordEnd = moveNumber;

    // Defaults for options the settings file may not name.
    window.setChecked("SIDOU", false);
    window.setChecked("LEVEL3", true);
    window.setChecked("AICON", true);
    computerLevel = 3;

    for (const IconPlace& place : kIconPlaces) {
        window.setIconPosition(iconControlName(place.seat, playerComputer), place.left, place.top);
        window.setIconPosition(iconControlName(place.seat, playerHuman), place.left, place.top);
    }

    outlineColor = colorGreen;
    gridColor = outlineColor;
    guideColor = outlineColor;
    window.setBackColor(outlineColor);

    gameStarted = valueNo;

    boardLeft = 1100;
    boardTop = 130;
    cellWidth = 465;
    cellHeight = 465;

    // May start the music and paints the background: needs the sounds and
    // the geometry above.
    読込_環境設定ファイル();
    初期設定();

    if (window.windowTop() != kWindowTop) window.placeWindow(kWindowLeft, kWindowTop, kWindowWidth, kWindowHeight);
}

void Form1::終了処理() {
    // Handles must not be freed twice, whichever ways out were taken.
    if (ended) return;
    ended = true;
    module1.free(soundOther);
    module1.free(soundForbidden);
    module1.free(soundPiece);
    module1.free(soundGameEnd);
    module1.free(soundBgm);
    module1.TermSound();
}

void Form1::Form_KeyPress(int keyAscii) {
    if (keyAscii != kEscapeKey) return;
    if (ended) return;
    // The first Esc after ヒント takes the hint away; the next one ends.
    if (hintWanted()) {
        dropHint();
        return;
    }
    終了処理();
    window.endProgram();
}

void Form1::Form_Unload() {
    // The window's close may still arrive after another way out.
    if (ended) return;
    終了処理();
    window.endProgram();
}

void Form1::OWARI_Click() {
    if (ended) return;
    終了処理();
    window.endProgram();
}

}  // namespace daro
