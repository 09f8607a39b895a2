// Placeholders until the owning subsystem lands; each is replaced by its real definition.
#include "Form1.h"

namespace daro {

void Form1::PLAY_7_Click() {}
void Form1::LEVEL1_Click() {}
void Form1::LEVEL2_Click() {}
void Form1::LEVEL3_Click() {}
void Form1::消去_アイコン() {}

}  // namespace daro
