// The portable/installed rule: the only code that builds paths for the
// game's named files.
#include "shell/FilePlaces.h"

#include <system_error>

// Set by the build from the install layout; the defaults are what a plain
// GNU-style install gives.
#ifndef DARO_INSTALLED_DATA_FROM_PROGRAM
#define DARO_INSTALLED_DATA_FROM_PROGRAM "../share/daro"
#endif
#ifndef DARO_INSTALLED_LIBRARY_FROM_PROGRAM
#define DARO_INSTALLED_LIBRARY_FROM_PROGRAM "../lib/daro"
#endif

namespace daro {
namespace {

namespace fs = std::filesystem;

// Any one of them is enough: a player may have removed a sound they dislike.
bool holdsWaveFiles(const fs::path& folder) {
    std::error_code ec;
    for (const char* name : waveFileNames)
        if (fs::is_regular_file(folder / pathOfName(name), ec)) return true;
    return false;
}

}  // namespace

fs::path pathOfName(const std::string& name) { return fs::path(reinterpret_cast<const char8_t*>(name.c_str())); }

fs::path FilePlaces::settingsFile() const {
    if (!installed) return pathOfName(settingsFileName);
    // An empty path opens nowhere: reading and writing simply fail.
    if (settingsFolder.empty()) return {};
    return settingsFolder / pathOfName(settingsFileName);
}

std::string FilePlaces::waveFile(const std::string& name) const {
    if (!installed) return name;
    const std::u8string text = (soundFolder / pathOfName(name)).u8string();
    return std::string(text.begin(), text.end());
}

FilePlaces decideFilePlaces(const fs::path& programFolder, const fs::path& userConfigFolder) {
    FilePlaces places;
    if (holdsWaveFiles(programFolder)) {
        places.soundLibraryFolder = programFolder;
        return places;
    }
    places.installed = true;
    places.soundFolder = (programFolder / DARO_INSTALLED_DATA_FROM_PROGRAM).lexically_normal();
    places.soundLibraryFolder = (programFolder / DARO_INSTALLED_LIBRARY_FROM_PROGRAM).lexically_normal();
    places.settingsFolder = userConfigFolder;
    std::error_code ec;
    if (!userConfigFolder.empty()) fs::create_directories(userConfigFolder, ec);
    return places;
}

}  // namespace daro
