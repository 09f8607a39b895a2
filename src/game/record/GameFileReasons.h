#pragma once
// The reasons a game file is refused, in the game's own language. The
// reading code words them in English for daro-autoplay's users; the window
// shows them in Japanese like its other texts, and translates from there.

#include <string>

namespace daro {

// The Japanese wording of a reason given by replayGameFile,
// readGameFileBytes or writeFileReplacing; a reason it does not know comes
// back as it is.
std::string japaneseReason(const std::string& englishReason);

}  // namespace daro
