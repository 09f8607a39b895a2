#pragma once
// The sound library's exported functions. Every handle is a small integer and
// 0 is always a valid handle that does nothing.

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#  if defined(DS_BUILDING_LIBRARY)
#    define DS_API __declspec(dllexport)
#  else
#    define DS_API __declspec(dllimport)
#  endif
#else
#  define DS_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Opens the audio device; the device handle, or 0 when there is none.
DS_API int32_t dsInitialize(int32_t windowHandle);
// Stops every sound, frees every buffer and closes the device.
DS_API int32_t dsTerminate(int32_t device);
// Copies a complete RIFF/WAVE PCM image of `length` bytes into a new buffer.
// 0 for anything else, or when the headers claim more than the image holds.
DS_API int32_t dsCreateDSB(int32_t device, const uint8_t* image, size_t length, int32_t flags);
// Stops the buffer if it plays, then frees it.
DS_API int32_t dsFree(int32_t buffer);
// Plays the buffer once on a channel of its own, so effects may overlap.
DS_API int32_t dsPlay(int32_t buffer);
// Loops the buffer until stopped; a buffer already looping keeps its one loop.
DS_API int32_t dsPlayLooping(int32_t buffer);
// Stops every play of the buffer; harmless when it is silent.
DS_API int32_t dsStop(int32_t buffer);

#ifdef __cplusplus
}
#endif
