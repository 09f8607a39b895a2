// Synthesises the game's five wave files (16-bit PCM mono, 22050 Hz) into
// the folder given as the only argument.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <vector>

namespace {

constexpr int rate = 22050;
constexpr double pi = std::numbers::pi;
using Signal = std::vector<double>;

int samplesOf(double seconds) { return static_cast<int>(std::lround(seconds * rate)); }

// A raised-cosine ramp from 0 to 1 over `length` seconds.
double ramp(double t, double length) {
    if (t <= 0) return 0;
    if (t >= length) return 1;
    return 0.5 - 0.5 * std::cos(pi * t / length);
}

// Fades both ends to exactly zero so that no file starts or ends with a click.
void fadeEnds(Signal& s, double seconds) {
    const int n = static_cast<int>(s.size());
    const double len = seconds * rate;
    for (int i = 0; i < n; ++i) {
        const double g = std::min(ramp(i, len), ramp(n - 1 - i, len));
        s[i] *= g;
    }
}

void normalise(Signal& s, double peak) {
    double most = 0;
    for (double v : s) most = std::max(most, std::abs(v));
    if (most > 0)
        for (double& v : s) v *= peak / most;
}

struct Partial {
    double ratio;
    double amplitude;
    double decay;  // seconds for the amplitude to fall to 1/e
};

// A struck note: partials dying away at their own pace.
double strike(double t, double frequency, const std::vector<Partial>& partials, double attack) {
    if (t < 0) return 0;
    double v = 0;
    for (const auto& p : partials)
        v += p.amplitude * std::exp(-t / p.decay) * std::sin(2 * pi * frequency * p.ratio * t);
    return v * ramp(t, attack);
}

bool writeWave(const std::filesystem::path& path, const Signal& s) {
    std::vector<std::uint8_t> bytes;
    auto put16 = [&](unsigned v) {
        bytes.push_back(std::uint8_t(v & 0xFF));
        bytes.push_back(std::uint8_t(v >> 8 & 0xFF));
    };
    auto put32 = [&](std::uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    auto tag = [&](const char* t) {
        for (int i = 0; i < 4; ++i) bytes.push_back(std::uint8_t(t[i]));
    };
    const std::uint32_t dataBytes = std::uint32_t(s.size() * 2);
    bytes.reserve(44 + dataBytes);
    tag("RIFF");
    put32(36 + dataBytes);
    tag("WAVE");
    tag("fmt ");
    put32(16);
    put16(1);  // PCM
    put16(1);  // mono
    put32(rate);
    put32(rate * 2);
    put16(2);
    put16(16);
    tag("data");
    put32(dataBytes);
    for (double v : s) {
        const long q = std::lround(std::clamp(v, -1.0, 1.0) * 32767.0);
        put16(static_cast<unsigned>(static_cast<std::int16_t>(q)) & 0xFFFF);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

// The About box: one soft bell-like tone.
Signal softTone() {
    Signal s(samplesOf(0.7));
    const std::vector<Partial> partials{{1, 1.0, 0.25}, {2, 0.25, 0.12}, {3, 0.08, 0.08}};
    for (std::size_t i = 0; i < s.size(); ++i) s[i] = strike(double(i) / rate, 784.0, partials, 0.015);
    fadeEnds(s, 0.05);
    normalise(s, 0.4);
    return s;
}

// A refusal: a short low buzz.
Signal buzz() {
    Signal s(samplesOf(0.28));
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / rate;
        double v = 0;
        for (int k = 1; k <= 12; ++k) v += std::sin(2 * pi * 180.0 * k * t) / k + 0.5 * std::sin(2 * pi * 186.0 * k * t) / k;
        s[i] = v;
    }
    fadeEnds(s, 0.02);
    normalise(s, 0.35);
    return s;
}

// A piece set down: a few quickly dying wooden resonances and a click of noise.
Signal knock() {
    Signal s(samplesOf(0.18));
    const std::vector<Partial> body{{1, 1.0, 0.025}, {1.82, 0.6, 0.015}, {3.02, 0.4, 0.010}, {4.76, 0.25, 0.006}};
    std::uint32_t seed = 12345;
    double lowPassed = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / rate;
        seed = seed * 1664525u + 1013904223u;
        const double noise = (double(seed >> 8) / double(1u << 24)) * 2 - 1;
        lowPassed += 0.35 * (noise - lowPassed);
        s[i] = strike(t, 620.0, body, 0.001) + 0.8 * lowPassed * std::exp(-t / 0.002);
    }
    fadeEnds(s, 0.01);
    normalise(s, 0.7);
    return s;
}

// The end of a game: four bell notes rising.
Signal chime() {
    Signal s(samplesOf(2.6));
    const std::vector<Partial> bell{{1, 1.0, 0.9}, {2.0, 0.4, 0.5}, {2.76, 0.25, 0.3}, {5.4, 0.1, 0.15}};
    const double notes[] = {1046.5, 1318.5, 1568.0, 2093.0};
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / rate;
        for (int n = 0; n < 4; ++n) s[i] += strike(t - 0.18 * n, notes[n], bell, 0.003);
    }
    fadeEnds(s, 0.2);
    normalise(s, 0.45);
    return s;
}

// The background music: sixteen slow beats of D minor pentatonic over a
// pad, rendered round a circle so that the end flows into the start.
Signal music() {
    constexpr double beat = 1.0;
    const int n = samplesOf(16 * beat);
    Signal s(n);
    auto addCircular = [&](double start, double length, auto voice) {
        const int first = samplesOf(start);
        const int count = samplesOf(length);
        for (int i = 0; i < count; ++i) s[(first + i) % n] += voice(double(i) / rate, length);
    };

    const double chords[4][3] = {{146.83, 220.00, 349.23},   // Dm
                                 {116.54, 174.61, 293.66},   // B♭
                                 {174.61, 261.63, 440.00},   // F
                                 {130.81, 196.00, 329.63}};  // C
    const double roots[4] = {73.42, 58.27, 87.31, 65.41};
    for (int bar = 0; bar < 4; ++bar) {
        for (double f : chords[bar])
            addCircular(bar * 4 * beat, 4.6 * beat, [f](double t, double len) {
                const double env = ramp(t, 1.2) * ramp(len - t, 1.4);
                return 0.07 * env * (std::sin(2 * pi * f * t) + 0.2 * std::sin(4 * pi * f * t));
            });
        for (int half = 0; half < 2; ++half) {
            const double f = roots[bar];
            addCircular((bar * 4 + half * 2) * beat, 2.0 * beat, [f](double t, double len) {
                const double env = ramp(t, 0.01) * std::exp(-t / 1.2) * ramp(len - t, 0.3);
                return 0.12 * env * std::sin(2 * pi * f * t);
            });
        }
    }

    constexpr double A4 = 440.0, C5 = 523.25, D5 = 587.33, F5 = 698.46, G5 = 783.99, A5 = 880.0;
    const std::pair<double, double> melody[] = {
        {0, D5},  {1, A4},  {1.5, C5}, {2, D5},   {3, F5},   {4, D5},  {5, F5},  {5.5, G5}, {6, F5},
        {7, D5},  {8, C5},  {9, F5},   {10, A5},  {10.5, G5}, {11, F5}, {12, G5}, {13.5, D5}, {14, C5},
        {15, A4},
    };
    const std::vector<Partial> pluck{{1, 1.0, 0.9}, {2, 0.45, 0.5}, {3, 0.2, 0.3}, {4, 0.1, 0.2}};
    for (const auto& note : melody) {
        const double f = note.second;
        addCircular(note.first * beat, 3.0, [f, &pluck](double t, double len) {
            return 0.16 * strike(t, f, pluck, 0.004) * ramp(len - t, 0.3);
        });
    }

    normalise(s, 0.5);
    // Start on the gentlest rising zero crossing of the last 0.3 s before the
    // first beat: the last sample is just below zero and the first just above,
    // one ordinary step apart, so the loop joins without a click.
    int best = 0;
    double bestStep = 1e9;
    for (int k = n - samplesOf(0.3); k < n; ++k) {
        const double before = s[k - 1], at = s[k];
        if (before < 0 && at >= 0 && at - before < bestStep) {
            best = k;
            bestStep = at - before;
        }
    }
    std::rotate(s.begin(), s.begin() + best, s.end());
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    const struct {
        const char8_t* name;
        Signal (*make)();
    } files[] = {
        {u8"その他.wav", softTone}, {u8"禁止.wav", buzz}, {u8"駒打音.wav", knock},
        {u8"終局.wav", chime},      {u8"BGM.wav", music},
    };
    for (const auto& file : files) {
        if (!writeWave(folder / std::filesystem::path(file.name), file.make())) {
            std::fprintf(stderr, "cannot write %s\n", reinterpret_cast<const char*>(file.name));
            return 1;
        }
    }
    return 0;
}
