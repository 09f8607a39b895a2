// Placeholders until the owning subsystem lands; each is replaced by its real definition.
#include "Form1.h"

namespace daro {

void Form1::Form_Load() {}
void Form1::終了処理() {}
void Form1::Form_KeyPress(int) {}
void Form1::Form_Unload() {}
void Form1::OWARI_Click() {}

}  // namespace daro
