// Placeholders until the owning subsystem lands; each is replaced by its real definition.
#include "Form1.h"

namespace daro {

std::string Form1::pictureControlName(int) { return {}; }
std::string Form1::iconControlName(int, int) { return {}; }
void Form1::描画_絵(int, double, double) {}
void Form1::描画_桝輪郭(int, double, double) {}
void Form1::描画_盤() {}
void Form1::描画_将棋盤桝() {}
void Form1::描画_移動可能桝色(int, int, int, int) {}
void Form1::描画_桝点滅(int, int, int) {}
void Form1::描画_背景(int) {}
void Form1::画面_再描画() {}
void Form1::描画_数値(double, double, const std::string&, int, int, double) {}
void Form1::描画_数値(double, double, int, int, int, double) {}
void Form1::描画_文字列(double, double, int, int, double) {}
void Form1::描画_手数(int, int) {}
void Form1::描画_レベル(int) {}
void Form1::描画_アイコン(int, bool) {}
void Form1::描画_持ち駒数(int) {}
void Form1::描画_桝_数値() {}

}  // namespace daro
