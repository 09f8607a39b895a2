#pragma once
// The sound module: opens the sound device, loads wave files into buffers
// of the sound library and warns the player when that fails.

#include <cstdint>
#include <string>

namespace daro {

class SoundLibrary;
class Window;

class Module1 {
public:
    // `library` may be null: no library beside the program means no device.
    Module1(SoundLibrary* library, Window& window);

    void InitSound(std::int32_t windowHandle);
    void TermSound();
    std::int32_t LoadSound(const std::string& fileName, std::int32_t flags);
    void ShowSoundError(const std::string& text);

    // The option that silences the effects; the music plays on.
    static constexpr const char* effectsOffControl = "KOUKAON_NASHI";

    // The play requests of the rest of the program; handle 0 is a no-op.
    // play() is for the effects, playLooping() for the music.
    void play(std::int32_t buffer);
    void playLooping(std::int32_t buffer);
    void stop(std::int32_t buffer);
    void free(std::int32_t buffer);

    std::int32_t soundDevice = 0;

private:
    SoundLibrary* library_;
    Window& window_;
};

}  // namespace daro
