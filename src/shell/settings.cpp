// The options menu and its mirror, the settings file "ZT七国将棋.ini":
// Shift_JIS (code page 932), one "key=value" per line, CR LF.

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Form1.h"

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

void applySetting(Form1& f, const std::string& key, const std::string& value) {
    Window& w = f.window;
    if (key == keyGuide) {
        if (value == valueOn) {
            w.setChecked("SIDOU", true);
            f.guideColor = Form1::colorWhite;
        } else if (value == valueOff) {
            w.setChecked("SIDOU", false);
            f.guideColor = f.gridColor;
        }
    } else if (key == keyIcons || key == keyCaptures) {
        const char* control = key == keyIcons ? "AICON" : "mochikoma";
        if (value == valueOn) w.setChecked(control, true);
        else if (value == valueOff) w.setChecked(control, false);
    } else if (key == keyBackground) {
        for (const auto& item : backgroundItems) {
            if (value != item.name) continue;
            f.チェック設定(item.code);
            f.描画_背景(item.code);
            f.backgroundCode = item.code;
        }
    } else if (key == keyMusic) {
        if (value == valueOn) {
            w.setChecked("BGM", true);
            f.module1.playLooping(f.soundBgm);
        } else if (value == valueOff) {
            w.setChecked("BGM", false);
            f.module1.stop(f.soundBgm);
        }
    }
}

// Applies the file line by line; false at the first failure, after the lines
// before it have taken effect.
bool readSettings(Form1& f) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path path = f.places.settingsFile();
    if (!fs::is_regular_file(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string bytes(largestSettingsFile + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) return false;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (bytes.size() > largestSettingsFile) return false;
    in.close();

    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t eol = bytes.find('\n', pos);
        if (eol == std::string::npos) eol = bytes.size();
        std::string_view line(bytes.data() + pos, eol - pos);
        pos = eol + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        // Text files hold no NUL; one means the file is something else.
        if (line.find('\0') != std::string_view::npos) return false;
        const auto text = convert(line, "CP932", "UTF-8");
        if (!text) return false;
        const std::size_t eq = text->find('=');
        if (eq == std::string::npos) return false;
        applySetting(f, text->substr(0, eq), text->substr(eq + 1));
    }
    return true;
}

bool writeSettings(const std::filesystem::path& path, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) {
        const auto encoded = convert(line, "UTF-8", "CP932");
        if (!encoded) return false;
        bytes += *encoded;
        bytes += "\r\n";
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

// When even these cannot be written the game goes on with them in memory only.
void writeAndApplyDefaults(Form1& f) {
    writeSettings(f.places.settingsFile(), defaultLines);
    for (const auto& line : defaultLines) {
        const std::size_t eq = line.find('=');
        applySetting(f, line.substr(0, eq), line.substr(eq + 1));
    }
}

const std::string& onOff(bool checked) { return checked ? valueOn : valueOff; }

}  // namespace

void Form1::読込_環境設定ファイル() {
    if (!readSettings(*this)) writeAndApplyDefaults(*this);
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
