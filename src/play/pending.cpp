// Placeholders until the owning subsystem lands; each is replaced by its real definition.
#include "Form1.h"

namespace daro {

void Form1::Form_MouseDown(int, int, double, double) {}
void Form1::描画_手番エラーメッセージ(int) {}
void Form1::手順保存(int) {}
void Form1::REPLAY_Click() {}
void Form1::AFTER_Click() {}
void Form1::CANCEL_Click() {}

}  // namespace daro
