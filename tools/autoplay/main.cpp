// daro-autoplay: plays one game without a screen and writes its events, or
// checks a game file.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "Autoplay.h"
#include "record/GameFile.h"

namespace {

int verify(const std::string& path) {
    std::string reason;
    const auto bytes = daro::readGameFileBytes(path, reason);
    if (!bytes) {
        std::cerr << path << ": " << reason << '\n';
        return 1;
    }
    const daro::GameFileResult result = daro::replayGameFile(*bytes);
    if (!result.game) {
        const daro::GameFileProblem& p = result.problem;
        if (p.line > 0)
            std::cerr << "line " << p.line << ": " << p.reason << '\n';
        else
            std::cerr << path << ": " << p.reason << '\n';
        return 1;
    }
    for (const std::string& line : result.game->eventLines) std::cout << line << '\n';
    std::cout.flush();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto options = daro::autoplay::parseArguments(args);
    if (!options) {
        std::cerr << daro::autoplay::usageText();
        return 2;
    }
    if (!options->verifyFile.empty()) return verify(options->verifyFile);
    try {
        daro::autoplay::Autoplay game(*options, std::cout);
        game.run();
        if (!options->saveFile.empty()) {
            std::string reason;
            if (!daro::writeFileReplacing(options->saveFile, game.gameFile(), reason)) {
                std::cerr << "daro-autoplay: " << options->saveFile << ": " << reason << '\n';
                return 1;
            }
        }
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << "daro-autoplay: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
