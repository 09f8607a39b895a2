// daro-autoplay: plays one game without a screen and writes its events.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "Autoplay.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto options = daro::autoplay::parseArguments(args);
    if (!options) {
        std::cerr << daro::autoplay::usageText();
        return 2;
    }
    try {
        daro::autoplay::Autoplay game(*options, std::cout);
        game.run();
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << "daro-autoplay: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
