// The sound module: the device, the wave files and the warnings about them.

#include "shell/Module1.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "platform/SoundLibrary.h"
#include "platform/Window.h"

namespace daro {
namespace {

// No wave file of the game comes near this; a bigger file is not worth the memory.
constexpr std::uintmax_t largestWaveFile = 64u * 1024u * 1024u;

std::string systemText(int error) {
    return error != 0 ? std::generic_category().message(error) : std::string("読み込めませんでした");
}

}  // namespace

Module1::Module1(SoundLibrary* library, Window& window) : library_(library), window_(window) {}

void Module1::InitSound(std::int32_t windowHandle) {
    soundDevice = library_ != nullptr ? library_->dsInitialize(windowHandle) : 0;
    if (soundDevice == 0) ShowSoundError("Direct Soundインターフェースが作成できません。");
}

void Module1::TermSound() {
    if (soundDevice == 0 || library_ == nullptr) return;
    library_->dsTerminate(soundDevice);
    soundDevice = 0;
}

std::int32_t Module1::LoadSound(const std::string& fileName, std::int32_t flags) {
    if (soundDevice == 0 || library_ == nullptr) return 0;

    namespace fs = std::filesystem;
    const fs::path path(reinterpret_cast<const char8_t*>(fileName.c_str()));
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status)) return 0;  // a missing sound is simply not heard

    auto fail = [&](const std::string& why) {
        ShowSoundError(fileName + ": " + why);
        return 0;
    };
    if (fs::is_directory(status)) return fail(systemText(EISDIR));
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec) return fail(ec.message());
    if (size == 0) return fail("ファイルが空です");
    if (size > largestWaveFile) return fail("ファイルが大きすぎます (64 MiB まで)");

    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) return fail(systemText(errno));
    std::vector<std::uint8_t> image(static_cast<std::size_t>(size));
    errno = 0;
    in.read(reinterpret_cast<char*>(image.data()), static_cast<std::streamsize>(image.size()));
    if (static_cast<std::uintmax_t>(in.gcount()) != size) return fail(systemText(errno));
    in.close();

    const std::int32_t buffer = library_->dsCreateDSB(soundDevice, image.data(), image.size(), flags);
    // The file is there but cannot be played: say so once, like an unreadable one.
    if (buffer == 0) return fail("音声として再生できない形式です");
    return buffer;
}

void Module1::ShowSoundError(const std::string& text) {
    window_.messageBox(text, "ZT七国将棋.dll", BoxButtons::Ok, BoxIcon::Warning);
}

void Module1::play(std::int32_t buffer) {
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
