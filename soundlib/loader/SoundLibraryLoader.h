#pragma once
// Finds the sound library file beside the program and reaches its ds*
// functions through the SoundLibrary seam.

#include <memory>
#include <string>

#include "platform/SoundLibrary.h"

namespace daro {

// The library's file name under the platform's rules ("libZT七国将棋.so",
// "libZT七国将棋.dylib", "ZT七国将棋.dll").
std::string soundLibraryFileName();

// The library in `folder` (UTF-8), or nullptr when the file or any of the
// seven functions is missing: the game then runs without sound.
std::unique_ptr<SoundLibrary> loadSoundLibrary(const std::string& folder);

}  // namespace daro
