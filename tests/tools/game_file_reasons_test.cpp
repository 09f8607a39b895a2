// Why a game file is refused, in the game's Japanese: every reason the
// reader gives has its Japanese wording, carrying the numbers and words that
// vary; the tool keeps the English.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <random>
#include <set>
#include <sstream>

#include "Autoplay.h"
#include "TempWorkingFolder.h"
#include "record/GameFile.h"
#include "record/GameFileReasons.h"

namespace daro::test {
namespace {

// English words left in a Japanese reason, quoted file words and the
// format's own words aside.
std::vector<std::string> englishWordsIn(const std::string& text) {
    static const std::set<std::string> formatWords = {"daro", "MiB", "mode", "human", "level", "out", "pass", "win",
                                                      "lost", "one-player", "seven-players", "free", "seats",
                                                      "random"};
    std::vector<std::string> words;
    bool quoted = false;
    std::string word;
    for (char c : text + " ") {
        if (c == '"') quoted = !quoted;
        if (!quoted && (std::isalpha(static_cast<unsigned char>(c)) || c == '-')) {
            word += c;
            continue;
        }
        if (word.size() > 1 && !formatWords.count(word)) words.push_back(word);
        word.clear();
    }
    return words;
}

std::multiset<std::string> numbersIn(const std::string& text) {
    std::multiset<std::string> numbers;
    std::string digits;
    for (char c : text + " ") {
        if (std::isdigit(static_cast<unsigned char>(c))) {
            digits += c;
        } else if (!digits.empty()) {
            numbers.insert(digits);
            digits.clear();
        }
    }
    return numbers;
}

TEST(GameFileReasons, EveryReasonOfABrokenFileReadsInJapaneseWithItsNumbers) {
    autoplay::Options o;
    o.humanSeat = 4;
    o.seed = 31;
    o.maxMoves = 150;
    std::ostringstream out;
    autoplay::Autoplay game(o, out);
    game.run();
    std::vector<std::string> lines;
    std::istringstream in(game.gameFile());
    for (std::string line; std::getline(in, line);) lines.push_back(line);

    std::vector<std::string> files = {"", "hello\n", "daro-game 2\n", "daro-game 1\n", "daro-game 1\nmode two\n",
                                      "daro-game 1\nmode one-player\nhuman 9\n",
                                      "daro-game 1\nmode seven-players\nlevel 7\n",
                                      "daro-game 1\nmode seven-players\nlevel 1"};
    std::mt19937 random(11);
    const std::string alphabet = "0123456789 movepasinwltx\r-";
    for (int trial = 0; trial < 600; ++trial) {
        std::vector<std::string> changed = lines;
        const std::size_t at = 3 + random() % (changed.size() - 3);
        std::string& line = changed[at];
        switch (random() % 4) {
            case 0: line[random() % line.size()] = alphabet[random() % alphabet.size()]; break;
            case 1: line.insert(random() % (line.size() + 1), 1, alphabet[random() % alphabet.size()]); break;
            case 2: changed.erase(changed.begin() + static_cast<long>(at)); break;
            default: changed.insert(changed.begin() + static_cast<long>(at), random() % 2 ? "lost" : "win 3"); break;
        }
        std::string text;
        for (const auto& l : changed) text += l + "\n";
        files.push_back(text);
    }
    std::set<std::string> reasons;
    for (const std::string& file : files)
        if (const GameFileResult r = replayGameFile(file); !r.game) reasons.insert(r.problem.reason);
    TempWorkingFolder folder;
    std::filesystem::create_directory("folder.daro");
    for (const char* path : {"missing.daro", "folder.daro"}) {
        std::string reason;
        EXPECT_FALSE(readGameFileBytes(path, reason));
        reasons.insert(reason);
    }
    std::string reason;
    EXPECT_FALSE(writeFileReplacing("no/such/folder.daro", "x", reason));
    reasons.insert(reason);

    std::set<std::string> wordings;
    for (const std::string& english : reasons) {
        const std::string japanese = japaneseReason(english);
        EXPECT_TRUE(englishWordsIn(japanese).empty()) << english << " -> " << japanese;
        EXPECT_EQ(numbersIn(japanese), numbersIn(english)) << english << " -> " << japanese;
        wordings.insert(japanese);
    }
    // Many kinds of fault were met, each worded on its own.
    EXPECT_GE(reasons.size(), 20u);
    EXPECT_EQ(wordings.size(), reasons.size());
    EXPECT_EQ(japaneseReason("out of turn: seat 3 (韓) is to move"), "手番が違います: 3番目 (韓) の番です");
    EXPECT_EQ(japaneseReason("move number 7 where 5 was due"), "5 手目のところが 7 手目になっています");
    EXPECT_EQ(japaneseReason("something new"), "something new");
}

}  // namespace
}  // namespace daro::test
