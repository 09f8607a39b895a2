// The options menu and its mirror, the settings file "ZT七国将棋.ini":
// Shift_JIS (code page 932), one "key=value" per line, CR LF.

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Form1.h"
#include "shell/RegularFile.h"

namespace daro {
namespace {

// The file the game writes is under a hundred bytes; anything this big is not ours.
constexpr std::size_t largestSettingsFile = 64 * 1024;

const std::string keyGuide = "移動指導";
const std::string keyIcons = "ｱｲｺﾝ表示";
const std::string keyCaptures = "持駒数表示";
const std::string keyBackground = "背景画";
const std::string keyMusic = "BGM";
const std::string valueOn = "OK";
const std::string valueOff = "NG";

struct BackgroundItem {
    int code;
    const char* control;
    const char* name;
};
// The order in which the writer looks for the checked background.
constexpr std::array<BackgroundItem, 5> backgroundItems{{
    {Form1::bgCodeMidori, "MIDORI", "緑"},
    {Form1::bgCodeTake, "TAKE", "竹"},
    {Form1::bgCodeTatami, "TATAMI", "畳"},
    {Form1::bgCodeUchu, "UCHU", "宇宙"},
    {Form1::bgCodeRenga, "RENGA", "煉瓦"},
}};

const std::vector<std::string> defaultLines = {
    "移動指導=OK", "ｱｲｺﾝ表示=OK", "持駒数表示=OK", "背景画=緑", "BGM=NG",
};

// Whole text through iconv; nothing when any byte does not convert.
std::optional<std::string> convert(std::string_view text, const char* from, const char* to) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(text.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* dst = out.data();
    std::size_t outLeft = out.size();
    const std::size_t done = iconv(cd, &in, &inLeft, &dst, &outLeft);
    const bool ok = done != static_cast<std::size_t>(-1) &&
                    iconv(cd, nullptr, nullptr, &dst, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    if (!ok || inLeft != 0) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

// What a settings file says: each option as the last line that gave it a
// valid value left it.
struct SavedOptions {
    std::optional<bool> guide, icons, captures, music;
    std::optional<int> background;
    int recognised = 0;  // lines with a known key and a valid value
};

std::optional<bool> onOffValue(const std::string& value) {
    if (value == valueOn) return true;
    if (value == valueOff) return false;
    return std::nullopt;
}

void noteSetting(SavedOptions& options, const std::string& key, const std::string& value) {
    std::optional<bool>* flag = key == keyGuide      ? &options.guide
                                : key == keyIcons    ? &options.icons
                                : key == keyCaptures ? &options.captures
                                : key == keyMusic    ? &options.music
                                                     : nullptr;
    if (flag != nullptr) {
        const auto on = onOffValue(value);
        if (!on) return;
        *flag = on;
        ++options.recognised;
        return;
    }
    if (key != keyBackground) return;
    for (const auto& item : backgroundItems) {
        if (value != item.name) continue;
        options.background = item.code;
        ++options.recognised;
    }
}

// Lines end in CR LF, LF or CR; blank lines are skipped. Nothing when a line
// has no "=", or when there is no line at all: such a file holds no settings
// of ours and gives way to the defaults.
std::optional<SavedOptions> parseSettings(std::string_view text) {
    SavedOptions options;
    bool anyLine = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t eol = text.find_first_of("\r\n", pos);
        if (eol == std::string_view::npos) eol = text.size();
        const std::string line(text.substr(pos, eol - pos));
        pos = eol + 1;
        if (eol < text.size() && text[eol] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
        if (line.empty()) continue;
        anyLine = true;
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) return std::nullopt;
        noteSetting(options, line.substr(0, eq), line.substr(eq + 1));
    }
    if (!anyLine) return std::nullopt;
    return options;
}

bool isUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        char32_t code = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xc2 && c <= 0xdf) {
            extra = 1, code = c & 0x1f;
        } else if (c >= 0xe0 && c <= 0xef) {
            extra = 2, code = c & 0x0f;
        } else if (c >= 0xf0 && c <= 0xf4) {
            extra = 3, code = c & 0x07;
        } else {
            return false;
        }
        if (text.size() - i <= extra) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto cc = static_cast<unsigned char>(text[i + k]);
            if ((cc & 0xc0) != 0x80) return false;
            code = code << 6 | (cc & 0x3f);
        }
        // Overlong forms, surrogates and code points past Unicode are not text.
        const char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
        if (code < smallest[extra] || (code >= 0xd800 && code <= 0xdfff) || code > 0x10ffff) return false;
        i += extra + 1;
    }
    return true;
}

// The game writes Shift_JIS; editors today save UTF-8, often with a byte-order
// mark. Text that is valid both ways is read the way that finds more settings.
std::optional<SavedOptions> decodeSettings(std::string_view bytes) {
    // Text files hold no NUL; one means the file is something else.
    if (bytes.find('\0') != std::string_view::npos) return std::nullopt;
    constexpr std::string_view byteOrderMark = "\xef\xbb\xbf";
    if (bytes.substr(0, byteOrderMark.size()) == byteOrderMark) {
        const std::string_view rest = bytes.substr(byteOrderMark.size());
        if (isUtf8(rest)) return parseSettings(rest);
    }
    const auto shiftJis = convert(bytes, "CP932", "UTF-8");
    std::optional<SavedOptions> fromShiftJis;
    if (shiftJis) fromShiftJis = parseSettings(*shiftJis);
    std::optional<SavedOptions> fromUtf8;
    if (isUtf8(bytes)) fromUtf8 = parseSettings(bytes);
    if (fromShiftJis && fromUtf8) return fromUtf8->recognised > fromShiftJis->recognised ? fromUtf8 : fromShiftJis;
    return fromShiftJis ? fromShiftJis : fromUtf8;
}

std::optional<SavedOptions> readSettings(const std::filesystem::path& path) {
    const FileContents file = readRegularFile(path, largestSettingsFile);
    if (file.problem != FileProblem::none) return std::nullopt;
    return decodeSettings(file.bytes);
}

// Once for the whole file: however many lines name a background, it is
// painted once.
void applyOptions(Form1& f, const SavedOptions& options) {
    Window& w = f.window;
    if (options.guide) {
        w.setChecked("SIDOU", *options.guide);
        f.guideColor = *options.guide ? Form1::colorWhite : f.gridColor;
    }
    if (options.icons) w.setChecked("AICON", *options.icons);
    if (options.captures) w.setChecked("mochikoma", *options.captures);
    if (options.background) {
        f.チェック設定(*options.background);
        f.描画_背景(*options.background);
        f.backgroundCode = *options.background;
    }
    if (options.music) {
        w.setChecked("BGM", *options.music);
        if (*options.music) f.module1.playLooping(f.soundBgm);
        else f.module1.stop(f.soundBgm);
    }
}

bool writeSettings(const std::filesystem::path& path, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) {
        const auto encoded = convert(line, "UTF-8", "CP932");
        if (!encoded) return false;
        bytes += *encoded;
        bytes += "\r\n";
    }
    return replaceFile(path, bytes);
}

// When even these cannot be written the game goes on with them in memory only.
void writeAndApplyDefaults(Form1& f) {
    writeSettings(f.places.settingsFile(), defaultLines);
    SavedOptions defaults;
    for (const auto& line : defaultLines) {
        const std::size_t eq = line.find('=');
        noteSetting(defaults, line.substr(0, eq), line.substr(eq + 1));
    }
    applyOptions(f, defaults);
}

const std::string& onOff(bool checked) { return checked ? valueOn : valueOff; }

}  // namespace

void Form1::読込_環境設定ファイル() {
    const auto options = readSettings(places.settingsFile());
    if (options) applyOptions(*this, *options);
    else writeAndApplyDefaults(*this);
}

void Form1::書込_環境設定ファイル() {
    std::vector<std::string> lines;
    lines.push_back(keyGuide + "=" + onOff(window.isChecked("SIDOU")));
    lines.push_back(keyIcons + "=" + onOff(window.isChecked("AICON")));
    lines.push_back(keyCaptures + "=" + onOff(window.isChecked("mochikoma")));
    for (const auto& item : backgroundItems) {
        if (!window.isChecked(item.control)) continue;
        lines.push_back(keyBackground + "=" + item.name);
        break;
    }
    lines.push_back(keyMusic + "=" + onOff(window.isChecked("BGM")));
    if (writeSettings(places.settingsFile(), lines)) return;
    writeSettings(places.settingsFile(), defaultLines);
    チェック設定(bgCodeMidori);
}

void Form1::チェック設定(int pictureCode) {
    for (const char* control : {"MIDORI", "TAKE", "TATAMI", "UCHU", "RENGA"}) window.setChecked(control, false);
    for (const auto& item : backgroundItems)
        if (item.code == pictureCode) window.setChecked(item.control, true);
}

void Form1::SIDOU_Click() {
    if (window.isChecked("SIDOU")) {
        // Wipes any destinations still outlined for a picked piece.
        for (int x = 1; x <= boardSize; ++x)
            for (int y = 1; y <= boardSize; ++y) 描画_桝輪郭(gridColor, x, y);
        window.setChecked("SIDOU", false);
        guideColor = gridColor;
    } else {
        window.setChecked("SIDOU", true);
        guideColor = colorWhite;
    }
    書込_環境設定ファイル();
}

void Form1::AICON_Click() {
    if (window.isChecked("AICON")) {
        window.setChecked("AICON", false);
        消去_アイコン();
    } else {
        window.setChecked("AICON", true);
        描画_アイコン(turnSeat, true);
    }
    書込_環境設定ファイル();
}

void Form1::mochikoma_Click() {
    window.setChecked("mochikoma", !window.isChecked("mochikoma"));
    描画_持ち駒数(backgroundCode);
    書込_環境設定ファイル();
}

void Form1::BGM_Click() {
    if (window.isChecked("BGM")) {
        window.setChecked("BGM", false);
        module1.stop(soundBgm);
    } else {
        window.setChecked("BGM", true);
        module1.playLooping(soundBgm);
    }
    書込_環境設定ファイル();
}

namespace {

void chooseBackground(Form1& f, int code) {
    for (const auto& item : backgroundItems) {
        if (item.code != code || f.window.isChecked(item.control)) continue;
        f.チェック設定(code);
        f.backgroundCode = code;
    }
    f.書込_環境設定ファイル();
    f.画面_再描画();
}

}  // namespace

void Form1::MIDORI_Click() { chooseBackground(*this, bgCodeMidori); }
void Form1::TATAMI_Click() { chooseBackground(*this, bgCodeTatami); }
void Form1::TAKE_Click() { chooseBackground(*this, bgCodeTake); }
void Form1::UCHU_Click() { chooseBackground(*this, bgCodeUchu); }
void Form1::RENGA_Click() { chooseBackground(*this, bgCodeRenga); }

}  // namespace daro
