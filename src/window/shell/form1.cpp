#include "Form1.h"

#include <utility>

namespace daro {

Form1::Form1(Window& w, Clock& c, SoundLibrary* soundLibrary, FilePlaces filePlaces, Searcher* s)
    : window(w), clock(c), module1(soundLibrary, w), places(std::move(filePlaces)),
      searcher(s != nullptr ? *s : syncSearcher_) {}

}  // namespace daro
