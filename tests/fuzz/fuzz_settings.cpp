// Any bytes as the settings file: reading it leaves every option in a state
// the menus can show, and the file the game then writes reads back to the
// same options.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "Form1.h"
#include "InstantClock.h"
#include "RecordingSoundLibrary.h"
#include "RecordingWindow.h"

namespace {

using daro::Form1;
const char* const settingsName = "ZT七国将棋.ini";
const char* const backgrounds[] = {"MIDORI", "TAKE", "TATAMI", "UCHU", "RENGA"};

void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz_settings: %s\n", what);
    std::abort();
}

struct Game {
    daro::test::RecordingWindow window;
    daro::test::InstantClock clock;
    daro::test::RecordingSoundLibrary sound;
    Form1 form{window, clock, &sound};

    // The menus as start-up leaves them just before the file is read.
    Game() {
        window.setChecked("SIDOU", false);
        window.setChecked("AICON", true);
        window.setChecked("TATAMI", true);
        form.gridColor = Form1::colorGreen;
        form.guideColor = Form1::colorGreen;
        form.backgroundCode = Form1::bgCodeTatami;
        form.soundBgm = 5;
        form.読込_環境設定ファイル();
    }

    struct Options {
        bool guide, icons, captures, music;
        int background;
        bool operator==(const Options&) const = default;
    };
    Options options() const {
        int checkedBackgrounds = 0;
        for (const char* item : backgrounds) checkedBackgrounds += window.isChecked(item);
        require(checkedBackgrounds == 1, "not exactly one background checked");
        const bool guide = window.isChecked("SIDOU");
        require(form.guideColor == (guide ? Form1::colorWhite : Form1::colorGreen), "guide colour off its check");
        require(form.backgroundCode >= Form1::bgCodeMidori && form.backgroundCode <= Form1::bgCodeRenga,
                "background code out of range");
        return {guide, window.isChecked("AICON"), window.isChecked("mochikoma"), window.isChecked("BGM"),
                form.backgroundCode};
    }
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The game reads and writes its settings in the current folder; in memory,
    // flushing each write to a disk would make this a hundred times slower.
    std::string folder = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    folder += "/daro-fuzz-settings-XXXXXX";
    require(mkdtemp(folder.data()) != nullptr, "no temporary folder");
    require(chdir(folder.c_str()) == 0, "cannot enter the temporary folder");
    static const std::filesystem::path made = folder;
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(made, ec);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    {
        std::ofstream out(settingsName, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    Game first;
    const Game::Options read = first.options();
    first.form.書込_環境設定ファイル();
    Game second;
    require(second.options() == read, "the written file reads back to other options");
    return 0;
}
