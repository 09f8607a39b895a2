// Placeholders until the owning subsystem lands; each is replaced by its real definition.
#include "Form1.h"

namespace daro {

void Form1::JYUNBAN_1_Click() {}
void Form1::JYUNBAN_2_Click() {}
void Form1::JYUNBAN_3_Click() {}
void Form1::JYUNBAN_4_Click() {}
void Form1::JYUNBAN_5_Click() {}
void Form1::JYUNBAN_6_Click() {}
void Form1::JYUNBAN_7_Click() {}

}  // namespace daro
