// Placeholders until the owning subsystem lands; each is replaced by its real definition.
#include "Form1.h"

namespace daro {

void Form1::取得_駒移動座標(int, int, int, int&, int&, int&, int&) {}
void Form1::勢力調査() {}

}  // namespace daro
