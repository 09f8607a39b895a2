// Placeholders until the owning subsystem lands; each is replaced by its real definition.
#include "Form1.h"

namespace daro {

int Form1::存在チェック駒(int) const { return valueNo; }
void Form1::取得_王座標(int) {}
int Form1::取得_手番王(int) { return noPieceCode; }
void Form1::初期設定() {}
int Form1::移動チェック(int, int, int, int, int) const { return valueNo; }
int Form1::移動チェック飛車(int, int, int, int) const { return valueNo; }
int Form1::移動チェック角(int, int, int, int) const { return valueNo; }
int Form1::移動チェック砲取(int, int, int, int) const { return valueNo; }
int Form1::移動チェック騎(int, int, int, int) const { return valueNo; }
void Form1::駒移動(int, int, int, int, int) {}
void Form1::調査_駒取得(const std::string&, int, int) {}
int Form1::調査_駒数(int) const { return 0; }
int Form1::手番_進(int seat) const { return seat; }
int Form1::手番_戻(int seat) const { return seat; }
void Form1::戦線離脱処理(int) {}
int Form1::調査_終了(int) const { return valueNo; }
void Form1::待ち時間(double) {}

}  // namespace daro
