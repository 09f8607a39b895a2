// Placeholders until the owning subsystem lands; each is replaced by its real definition.
#include "Form1.h"

namespace daro {

void Form1::対局_回転() {}

}  // namespace daro
