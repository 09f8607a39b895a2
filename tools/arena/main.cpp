// daro-arena: plays many headless games between written, engine and random
// seats and sums up who won, who dropped out and how long the engine thought.
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "Arena.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto options = daro::arena::parseArguments(args);
    if (!options) {
        std::cerr << daro::arena::usageText();
        return 2;
    }
    if (!options->saveDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(options->saveDir, ec);
        if (!std::filesystem::is_directory(options->saveDir)) {
            std::cerr << "daro-arena: cannot use the folder " << options->saveDir << '\n';
            return 1;
        }
    }
    try {
        const auto games = daro::arena::run(*options, std::cout);
        for (const auto& g : games)
            if (!g.error.empty()) return 1;
    } catch (const std::exception& e) {
        std::cerr << "daro-arena: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
