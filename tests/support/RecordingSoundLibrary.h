#pragma once
// A sound library that records every call and hands out small handles.

#include <string>
#include <vector>

#include "platform/SoundLibrary.h"

namespace daro::test {

struct SoundCall {
    std::string op;          // "dsInitialize", "dsPlay", ...
    std::int32_t arg = 0;    // handle or device
    std::size_t length = 0;  // dsCreateDSB: bytes of the image
    std::int32_t flags = 0;
};

class RecordingSoundLibrary : public SoundLibrary {
public:
    std::int32_t dsInitialize(std::int32_t windowHandle) override {
        calls.push_back({"dsInitialize", windowHandle});
        return device;
    }
    std::int32_t dsTerminate(std::int32_t dev) override {
        calls.push_back({"dsTerminate", dev});
        return 0;
    }
    std::int32_t dsCreateDSB(std::int32_t dev, const std::uint8_t*, std::size_t length,
                             std::int32_t flags) override {
        calls.push_back({"dsCreateDSB", dev, length, flags});
        return length == 0 ? 0 : nextHandle++;
    }
    std::int32_t dsFree(std::int32_t b) override { return record("dsFree", b); }
    std::int32_t dsPlay(std::int32_t b) override { return record("dsPlay", b); }
    std::int32_t dsPlayLooping(std::int32_t b) override { return record("dsPlayLooping", b); }
    std::int32_t dsStop(std::int32_t b) override { return record("dsStop", b); }

    // Calls of one operation, as their handle arguments.
    std::vector<std::int32_t> argsOf(const std::string& op) const {
        std::vector<std::int32_t> out;
        for (const auto& c : calls)
            if (c.op == op) out.push_back(c.arg);
        return out;
    }

    std::vector<SoundCall> calls;
    std::int32_t device = 7;  // 0 simulates a machine without a sound device
    std::int32_t nextHandle = 1;

private:
    std::int32_t record(const char* op, std::int32_t b) {
        calls.push_back({op, b});
        return 0;
    }
};

}  // namespace daro::test
