// The sound module: the device, the wave files and the warnings about them.

#include "shell/Module1.h"

#include <filesystem>

#include "platform/SoundLibrary.h"
#include "platform/Window.h"
#include "shell/RegularFile.h"
#include "wave.h"

namespace daro {
namespace {

// No wave file of the game comes near this; a bigger file is not worth the memory.
constexpr std::uintmax_t largestWaveFile = 64u * 1024u * 1024u;

const std::string tooLargeText = "ファイルが大きすぎます (64 MiB まで)";

// A machine without sound stays so: its warning is given once, not at every start.
const std::string noDeviceWarned = "soundDeviceWarned";

}  // namespace

Module1::Module1(SoundLibrary* library, Window& window) : library_(library), window_(window) {}

void Module1::InitSound(std::int32_t windowHandle) {
    soundDevice = library_ != nullptr ? library_->dsInitialize(windowHandle) : 0;
    if (soundDevice != 0 || window_.keepsFact(noDeviceWarned)) return;
    ShowSoundError("Direct Soundインターフェースが作成できません。");
    window_.keepFact(noDeviceWarned);
}

void Module1::TermSound() {
    if (soundDevice == 0 || library_ == nullptr) return;
    library_->dsTerminate(soundDevice);
    soundDevice = 0;
}

std::int32_t Module1::LoadSound(const std::string& fileName, std::int32_t flags) {
    if (soundDevice == 0 || library_ == nullptr) return 0;

    const std::filesystem::path path(reinterpret_cast<const char8_t*>(fileName.c_str()));
    const FileContents file = readRegularFile(path, largestWaveFile);
    if (file.problem == FileProblem::missing) return 0;  // a missing sound is simply not heard

    auto fail = [&](const std::string& why) {
        ShowSoundError(fileName + ": " + why);
        return 0;
    };
    if (file.problem == FileProblem::tooLarge) return fail(tooLargeText);
    if (file.problem != FileProblem::none) return fail(describeFileProblem(file.problem, file.error));
    if (file.bytes.empty()) return fail("ファイルが空です");

    const auto* image = reinterpret_cast<const std::uint8_t*>(file.bytes.data());
    const std::int32_t buffer = library_->dsCreateDSB(soundDevice, image, file.bytes.size(), flags);
    if (buffer != 0) return buffer;
    // The library refuses a wave it cannot play, and one that would take more
    // than the file limit once converted for the device: a sound that long is
    // too large whatever the size of its file.
    if (sound::parseWave(image, file.bytes.size())) return fail(tooLargeText);
    return fail("再生できる形式の音声ではありません");
}

void Module1::ShowSoundError(const std::string& text) {
    window_.messageBox(text, "ZT七国将棋.dll", BoxButtons::Ok, BoxIcon::Warning);
}

void Module1::play(std::int32_t buffer) {
    if (window_.isChecked(effectsOffControl)) return;
    if (buffer != 0 && library_ != nullptr) library_->dsPlay(buffer);
}

void Module1::playLooping(std::int32_t buffer) {
    if (buffer != 0 && library_ != nullptr) library_->dsPlayLooping(buffer);
}

void Module1::stop(std::int32_t buffer) {
    if (buffer != 0 && library_ != nullptr) library_->dsStop(buffer);
}

void Module1::free(std::int32_t buffer) {
    if (buffer != 0 && library_ != nullptr) library_->dsFree(buffer);
}

}  // namespace daro
