// daro-tune: fits LEVEL5's weights to self-play games and writes them as source.
#include <cstdio>
#include <iostream>

#include "Tune.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    auto options = daro::tune::parseArguments(args);
    if (!options) {
        std::cerr << daro::tune::usageText();
        return 2;
    }
    options->command = "daro-tune";
    for (const auto& a : args) options->command += " " + a;
    std::string reason;
    std::optional<daro::tune::Samples> read;
    if (!options->from.empty() && !(read = daro::tune::readFolder(*options, reason))) {
        std::cerr << "daro-tune: " << reason << '\n';
        return 1;
    }
    const auto samples = read ? *read : daro::tune::collect(*options);
    if (samples.fit.empty() || samples.heldOut.empty()) {
        std::cerr << "daro-tune: too few positions from games with a winner to fit and to check\n";
        return 1;
    }
    const auto fit = daro::tune::fit(samples, options->iterations, options->fitChoice);
    std::fprintf(stderr, "held-out loss before %.4f after %.4f (fitted %.4f -> %.4f), %zu + %zu positions\n",
                 fit.heldOutBefore, fit.heldOutAfter, fit.fitBefore, fit.fitAfter, samples.fit.size(),
                 samples.heldOut.size());
    const std::string source = daro::tune::weightsSource(*options, samples, fit);
    if (options->out.empty()) {
        std::cout << source;
        return 0;
    }
    if (!daro::writeFileReplacing(options->out, source, reason)) {
        std::cerr << "daro-tune: " << reason << '\n';
        return 1;
    }
    return 0;
}
