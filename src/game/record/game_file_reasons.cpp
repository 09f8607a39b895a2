// Each English reason with the Japanese sentence that says the same. "%1"
// and "%2" stand for the parts taken over unchanged: numbers, a kingdom, a
// word quoted from the file, a message of the system.
#include "record/GameFileReasons.h"

#include <array>
#include <string_view>
#include <vector>

namespace daro {
namespace {

struct Wording {
    std::string_view english;
    std::string_view japanese;
};

constexpr std::array<Wording, 39> kWordings = {{
    {"not a daro game file", "daro の対局ファイルではありません"},
    {"a game file of another version", "別の版の対局ファイルです"},
    {"the file ends before its %1 line", "ファイルが %1 の行の前で終わっています"},
    {"expected \"mode one-player\", \"mode seven-players\" or \"mode free\"",
     "\"mode one-player\"、\"mode seven-players\" か \"mode free\" の行のはずです"},
    {"expected \"seats\" and seven players", "\"seats\" と七つの指し手の行のはずです"},
    {"a player is human, level1..level5 or random", "指し手は human、level1～level5 か random です"},
    {"expected \"human SEAT\", SEAT 1..7", "\"human 番目\" の行のはずです (番目は 1～7)"},
    {"expected \"level K\", K 1..5", "\"level K\" の行のはずです (K は 1～5)"},
    {"the line is cut off (no line end)", "行が途中で切れています (行末がありません)"},
    {"the file is larger than 16 MiB", "ファイルが 16 MiB より大きいです"},
    {"the game was already over", "対局はもう終わっています"},
    {"unknown event \"%1\"", "知らない記録です: \"%1\""},
    {"no kingdom is left to move", "指す国が残っていません"},
    {"out of turn: seat %1 (%2) is to move", "手番が違います: %1番目 (%2) の番です"},
    {"a move has eight numbers", "指し手の行には数が八つ要ります"},
    {"move number %1 where %2 was due", "%2 手目のところが %1 手目になっています"},
    {"no such seat", "その番目はありません"},
    {"a kingdom without its king leaves the game instead of moving", "王を失った国は指さずに離脱します"},
    {"a kingdom with 10 pieces or fewer leaves the game instead of moving", "駒が 10 以下の国は指さずに離脱します"},
    {"the king would stand where another kingdom reaches", "王がほかの国の利く桝に立つことになります"},
    {"a square off the board", "盤の外の桝です"},
    {"no such piece of that kingdom on the square", "その桝にその国のその駒はありません"},
    {"the target square holds something else", "行き先の桝にあるものが違います"},
    {"an illegal move", "指せない手です"},
    {"an out names one seat 1..7", "out の行には番目 (1～7) を一つ書きます"},
    {"a kingdom with its king and more than 10 pieces left", "王があって駒が 10 より多い国は離脱しません"},
    {"a pass names one seat 1..7", "pass の行には番目 (1～7) を一つ書きます"},
    {"a kingdom without its king leaves the game instead of passing", "王を失った国はパスせずに離脱します"},
    {"a pass with a legal move to make", "指せる手があるのにパスしています"},
    {"a win names one seat 1..7", "win の行には番目 (1～7) を一つ書きます"},
    {"\"lost\" stands alone", "\"lost\" の後には何も書きません"},
    {"nobody has won or lost here", "ここではまだ勝負がついていません"},
    {"the result is \"%1\"", "結果は \"%1\" のはずです"},
    {"the file cannot be opened", "ファイルを開けません"},
    {"not a regular file", "通常のファイルではありません"},
    {"the file cannot be read", "ファイルを読めません"},
    {"the folder cannot be written to", "フォルダに書き込めません"},
    {"the file could not be written completely", "ファイルを最後まで書き込めませんでした"},
    {"the file could not be put in place: %1", "ファイルを置き換えられませんでした: %1"},
}};

// Matches `text` against `pattern`, whose "%N" each stand for any text;
// the last placeholder takes as much as it can, the others as little.
bool matches(std::string_view pattern, std::string_view text, std::vector<std::string>& parts) {
    parts.clear();
    std::size_t p = 0, t = 0;
    while (p < pattern.size()) {
        if (pattern[p] != '%' || p + 1 >= pattern.size()) {
            if (t >= text.size() || text[t] != pattern[p]) return false;
            ++p;
            ++t;
            continue;
        }
        p += 2;
        const std::size_t nextHole = pattern.find('%', p);
        const std::string_view literal = pattern.substr(p, nextHole == std::string_view::npos ? nextHole : nextHole - p);
        std::size_t end;
        if (nextHole == std::string_view::npos) {
            // The rest of the pattern ends the text.
            if (text.size() - t < literal.size() || text.substr(text.size() - literal.size()) != literal) return false;
            end = text.size() - literal.size();
        } else {
            end = literal.empty() ? t : text.find(literal, t);
            if (end == std::string_view::npos) return false;
        }
        parts.emplace_back(text.substr(t, end - t));
        t = end;
    }
    return t == text.size();
}

std::string filled(std::string_view pattern, const std::vector<std::string>& parts) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const auto n = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (n < parts.size()) out += parts[n];
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

}  // namespace

std::string japaneseReason(const std::string& englishReason) {
    std::vector<std::string> parts;
    for (const Wording& w : kWordings)
        if (matches(w.english, englishReason, parts)) return filled(w.japanese, parts);
    return englishReason;
}

}  // namespace daro
