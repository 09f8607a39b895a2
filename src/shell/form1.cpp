#include "Form1.h"

namespace daro {

Form1::Form1(Window& w, Clock& c, SoundLibrary* soundLibrary)
    : window(w), clock(c), module1(soundLibrary, w) {
    moveRecord.resize(1);
}

}  // namespace daro
