#include "SoundLibraryLoader.h"

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#  include <windows.h>
#else
#  include <dlfcn.h>
#endif

namespace daro {
namespace {

using Unary = std::int32_t (*)(std::int32_t);
using Create = std::int32_t (*)(std::int32_t, const std::uint8_t*, std::size_t, std::int32_t);

#if defined(_WIN32)
using Module = HMODULE;

Module openModule(const std::string& path) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
    if (n <= 0) return nullptr;
    std::wstring wide(std::size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), n);
    return LoadLibraryW(wide.c_str());
}
void* symbol(Module m, const char* name) { return reinterpret_cast<void*>(GetProcAddress(m, name)); }
void closeModule(Module m) { FreeLibrary(m); }
constexpr char separator = '\\';
#else
using Module = void*;

Module openModule(const std::string& path) { return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL); }
void* symbol(Module m, const char* name) { return dlsym(m, name); }
void closeModule(Module m) { dlclose(m); }
constexpr char separator = '/';
#endif

template <typename F>
bool resolve(Module m, const char* name, F& out) {
    out = reinterpret_cast<F>(symbol(m, name));
    return out != nullptr;
}

class LoadedSoundLibrary : public SoundLibrary {
public:
    // The module stays loaded for the life of the process: the device's audio
    // thread may still be running inside it while the program exits.
    explicit LoadedSoundLibrary(Module m) : module_(m) {}

    bool resolveAll() {
        return resolve(module_, "dsInitialize", initialize_) && resolve(module_, "dsTerminate", terminate_) &&
               resolve(module_, "dsCreateDSB", create_) && resolve(module_, "dsFree", free_) &&
               resolve(module_, "dsPlay", play_) && resolve(module_, "dsPlayLooping", playLooping_) &&
               resolve(module_, "dsStop", stop_);
    }

    std::int32_t dsInitialize(std::int32_t windowHandle) override { return initialize_(windowHandle); }
    std::int32_t dsTerminate(std::int32_t device) override { return terminate_(device); }
    std::int32_t dsCreateDSB(std::int32_t device, const std::uint8_t* image, std::size_t length,
                             std::int32_t flags) override {
        return create_(device, image, length, flags);
    }
    std::int32_t dsFree(std::int32_t buffer) override { return free_(buffer); }
    std::int32_t dsPlay(std::int32_t buffer) override { return play_(buffer); }
    std::int32_t dsPlayLooping(std::int32_t buffer) override { return playLooping_(buffer); }
    std::int32_t dsStop(std::int32_t buffer) override { return stop_(buffer); }

private:
    Module module_;
    Unary initialize_ = nullptr;
    Unary terminate_ = nullptr;
    Create create_ = nullptr;
    Unary free_ = nullptr;
    Unary play_ = nullptr;
    Unary playLooping_ = nullptr;
    Unary stop_ = nullptr;
};

}  // namespace

std::string soundLibraryFileName() { return std::string(DARO_SHARED_PREFIX) + "ZT七国将棋" + DARO_SHARED_SUFFIX; }

std::unique_ptr<SoundLibrary> loadSoundLibrary(const std::string& folder) {
    std::string path = folder.empty() ? std::string(".") : folder;
    if (path.back() != '/' && path.back() != separator) path += separator;
    path += soundLibraryFileName();

    Module m = openModule(path);
    if (m == nullptr) return nullptr;
    auto library = std::make_unique<LoadedSoundLibrary>(m);
    if (!library->resolveAll()) {
        closeModule(m);
        return nullptr;
    }
    return library;
}

}  // namespace daro
