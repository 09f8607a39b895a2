// Placeholders until the owning subsystem lands; each is replaced by its real definition.
#include "Form1.h"

namespace daro {

void Form1::終了(const std::string&) {}
void Form1::終了_man() {}

}  // namespace daro
