// A library file of the right name that lacks most of the ds* functions, as
// an old or foreign file beside the program would.
#include <cstdint>

extern "C" __attribute__((visibility("default"))) std::int32_t dsInitialize(std::int32_t) { return 1; }
