#pragma once
// Where the game's named files live. The game names its files as it always
// did ("ZT七国将棋.ini", "その他.wav", ...); this is the one place that turns
// such a name into a path, so no other code builds one.
//
// Portable (the program's own folder holds the wave files: the build's game
// folder, an unpacked archive): bare names in the current folder.
// Installed: the wave files from the installed data folder, the settings
// file in the user's configuration folder, nothing in the current folder.

#include <filesystem>
#include <string>

namespace daro {

struct FilePlaces {
    bool installed = false;
    // Only when installed; an empty settings folder there means the platform
    // named none, and the settings then live in memory only.
    std::filesystem::path settingsFolder;
    std::filesystem::path soundFolder;
    // Where the sound library file lies (the program's folder when portable).
    std::filesystem::path soundLibraryFolder;
    // The game in progress, kept after every move; empty keeps nothing.
    std::filesystem::path autosaveFile;

    std::filesystem::path settingsFile() const;
    // UTF-8, as the sound module takes its file names.
    std::string waveFile(const std::string& name) const;
};

// The five wave files, in the order start-up loads them.
inline constexpr const char* waveFileNames[] = {"その他.wav", "禁止.wav", "駒打音.wav", "終局.wav", "BGM.wav"};

// The name of the settings file, wherever it lives.
inline constexpr const char* settingsFileName = "ZT七国将棋.ini";

// Decides between the two ways to run. `programFolder` is the folder of the
// running program; `userConfigFolder` the platform's configuration folder for
// this game (created here when missing; if that fails the settings simply
// cannot be written, as with any unwritable folder). The installed data and
// library folders are found relative to the program, as the install laid
// them out, so a package may move the whole tree.
FilePlaces decideFilePlaces(const std::filesystem::path& programFolder,
                            const std::filesystem::path& userConfigFolder);

// A UTF-8 name as a path, whatever the platform's own encoding.
std::filesystem::path pathOfName(const std::string& name);

}  // namespace daro
