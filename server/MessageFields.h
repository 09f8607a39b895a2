#pragma once
// How the lobby reads a client's message: each field checked for its type
// and range, texts for what may be shown. Nothing here trusts the client.

#include <array>
#include <cstddef>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "table/Table.h"

namespace daro::server {

using Json = nlohmann::json;

inline constexpr int seats = 7;
inline constexpr std::size_t nameLength = 32;
inline constexpr std::size_t chatLength = 200;
// Steps one call may take a table through before it hands back the loop.
inline constexpr int loopGuard = 1000;

// Never throws: a text that is not UTF-8 is replaced, not refused.
std::string dump(const Json& j);

// A whole number in [lo, hi] under `key`; nothing when absent or anything else.
std::optional<int> intField(const Json& m, const char* key, int lo, int hi);
const std::string* stringField(const Json& m, const char* key);
// Code points of valid UTF-8 (the parser has checked it); nothing when a
// control character (C0, DEL, C1) or a direction control (U+202A–U+202E,
// U+2066–U+2069) is in it, since names and chat are shown as they are.
std::optional<std::size_t> plainTextLength(const std::string& s);
std::optional<std::array<int, 2>> squareField(const Json& m, const char* key);

// A seat as the store and `create` name it: "human", "level1" … "level5".
std::string seatWord(const SeatKind& k);
std::optional<SeatKind> seatKindOf(std::string_view word);

}  // namespace daro::server
