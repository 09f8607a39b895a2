// Placeholders until the owning subsystem lands; each is replaced by its real definition.
#include "Form1.h"

namespace daro {

Score Form1::評価_移動得点(int, int, int, int) { return 0; }
Score Form1::評価_盤(int, int, int, int, int, int) const { return 0; }
void Form1::com_ban(int) {}

}  // namespace daro
