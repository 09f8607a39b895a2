// The sound library over SDL2_mixer. Every buffer is a chunk already in the
// device's own sample format, so playing never converts anything.

#include "ds.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <condition_variable>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "convert.h"
#include "wave.h"

namespace {

struct Buffer {
    std::vector<Uint8> samples;  // owned here: the chunk only points at them
    Mix_Chunk* chunk = nullptr;
    int loopChannel = -1;
    ~Buffer() {
        if (chunk != nullptr) Mix_FreeChunk(chunk);
    }
};

constexpr int firstChannelCount = 16;
constexpr int mostChannels = 64;

std::mutex gate;
std::int32_t openDevice = 0;
std::int32_t lastDevice = 0;
int deviceRate = 0;
Uint16 deviceFormat = 0;
int deviceChannels = 0;
std::map<std::int32_t, std::unique_ptr<Buffer>> buffers;
std::int32_t lastBuffer = 0;

std::int32_t nextHandle(std::int32_t& last, bool (*inUse)(std::int32_t)) {
    do {
        last = last == std::numeric_limits<std::int32_t>::max() ? 1 : last + 1;
    } while (inUse(last));
    return last;
}

Buffer* find(std::int32_t handle) {
    if (handle == 0) return nullptr;
    auto it = buffers.find(handle);
    return it == buffers.end() ? nullptr : it->second.get();
}

void haltChannelsOf(Buffer& b) {
    const int count = Mix_AllocateChannels(-1);
    for (int ch = 0; ch < count; ++ch)
        if (Mix_GetChunk(ch) == b.chunk) Mix_HaltChannel(ch);
    b.loopChannel = -1;
}

// A free channel of its own for every play; more channels when all are busy.
int playOnFreeChannel(Buffer& b, int loops) {
    int ch = Mix_PlayChannel(-1, b.chunk, loops);
    if (ch < 0) {
        const int count = Mix_AllocateChannels(-1);
        if (count < mostChannels) {
            Mix_AllocateChannels(count * 2 < mostChannels ? count * 2 : mostChannels);
            ch = Mix_PlayChannel(-1, b.chunk, loops);
        }
    }
    return ch;
}

// The device sleeps while nothing plays. SDL's audio thread would mix and
// hand out silence dozens of times a second; instead, once a whole buffer
// of silence has gone out, the mixer's last step waits for the next call of
// ours. Every call that touches the mixer wakes it first, since the sleeping
// thread holds the mixer's lock.
struct Sleep {
    std::mutex mutex;
    std::condition_variable wake;
    int callers = 0;        // calls of ours in progress
    bool silentBefore = false;
    bool exiting = false;   // the process is ending: never sleep again
};
// Never destroyed: the audio thread may still be waiting on it while the
// process exits.
Sleep& deviceSleep = *new Sleep;

// A program that exits with the device still open must not hang: the
// buffers' destructors take the mixer's lock, which the sleeping thread
// holds. Declared after `buffers`, so this wakes the thread first.
struct WakeAtExit {
    ~WakeAtExit() {
        std::lock_guard lock(deviceSleep.mutex);
        deviceSleep.exiting = true;
        deviceSleep.wake.notify_all();
    }
} wakeAtExit;

void afterMixing(void*, Uint8*, int) {
    if (Mix_Playing(-1) != 0) {
        deviceSleep.silentBefore = false;
        return;
    }
    std::unique_lock lock(deviceSleep.mutex);
    if (!deviceSleep.silentBefore || deviceSleep.callers > 0 || deviceSleep.exiting) {
        deviceSleep.silentBefore = true;
        return;
    }
    deviceSleep.wake.wait(lock, [] { return deviceSleep.callers > 0 || deviceSleep.exiting; });
}

// Keeps the device awake for the length of one call.
class Awake {
public:
    Awake() {
        std::lock_guard lock(deviceSleep.mutex);
        ++deviceSleep.callers;
        deviceSleep.wake.notify_all();
    }
    ~Awake() {
        std::lock_guard lock(deviceSleep.mutex);
        --deviceSleep.callers;
    }
    Awake(const Awake&) = delete;
    Awake& operator=(const Awake&) = delete;
};

void closeDevice() {
    Mix_HaltChannel(-1);
    buffers.clear();
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    openDevice = 0;
}

}  // namespace

extern "C" {

DS_API int32_t dsInitialize(int32_t) {
    std::lock_guard lock(gate);
    Awake awake;
    if (openDevice != 0) return openDevice;
    // SDL would otherwise take SIGINT and SIGTERM from the program and turn
    // them into events nobody reads, so the game could no longer be stopped.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return 0;
    }
    if (Mix_QuerySpec(&deviceRate, &deviceFormat, &deviceChannels) == 0) {
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return 0;
    }
    Mix_AllocateChannels(firstChannelCount);
    Mix_SetPostMix(afterMixing, nullptr);
    openDevice = nextHandle(lastDevice, [](std::int32_t) { return false; });
    return openDevice;
}

DS_API int32_t dsTerminate(int32_t device) {
    std::lock_guard lock(gate);
    Awake awake;
    if (device == 0 || device != openDevice) return 0;
    closeDevice();
    return 1;
}

// The creation flags told the original device how a buffer would be played;
// here every buffer can be played once or looped, so they change nothing.
DS_API int32_t dsCreateDSB(int32_t device, const uint8_t* image, size_t length, int32_t) {
    std::lock_guard lock(gate);
    Awake awake;
    if (device == 0 || device != openDevice) return 0;
    const auto wave = daro::sound::parseWave(image, length);
    if (!wave) return 0;

    auto samples = daro::sound::convertForDevice(*wave, {deviceFormat, deviceChannels, deviceRate});
    if (!samples) return 0;
    auto b = std::make_unique<Buffer>();
    b->samples = std::move(*samples);
    b->chunk = Mix_QuickLoad_RAW(b->samples.data(), Uint32(b->samples.size()));
    if (b->chunk == nullptr) return 0;

    const std::int32_t handle =
        nextHandle(lastBuffer, [](std::int32_t h) { return buffers.count(h) != 0; });
    buffers[handle] = std::move(b);
    return handle;
}

DS_API int32_t dsFree(int32_t buffer) {
    std::lock_guard lock(gate);
    Awake awake;
    Buffer* b = find(buffer);
    if (b == nullptr) return 0;
    haltChannelsOf(*b);
    buffers.erase(buffer);
    return 1;
}

DS_API int32_t dsPlay(int32_t buffer) {
    std::lock_guard lock(gate);
    Awake awake;
    Buffer* b = find(buffer);
    if (b == nullptr) return 0;
    return playOnFreeChannel(*b, 0) >= 0 ? 1 : 0;
}

DS_API int32_t dsPlayLooping(int32_t buffer) {
    std::lock_guard lock(gate);
    Awake awake;
    Buffer* b = find(buffer);
    if (b == nullptr) return 0;
    if (b->loopChannel >= 0 && Mix_Playing(b->loopChannel) != 0 && Mix_GetChunk(b->loopChannel) == b->chunk)
        return 1;
    b->loopChannel = playOnFreeChannel(*b, -1);
    return b->loopChannel >= 0 ? 1 : 0;
}

DS_API int32_t dsStop(int32_t buffer) {
    std::lock_guard lock(gate);
    Awake awake;
    Buffer* b = find(buffer);
    if (b == nullptr) return 0;
    haltChannelsOf(*b);
    return 1;
}

}  // extern "C"
