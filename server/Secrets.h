#pragma once
// Table codes and seat tokens come from the system's secure random source;
// only a token's hash is ever stored.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace daro::server {

// Fills the bytes from getrandom(2); aborts rather than hand out a guessable token.
void secureRandom(std::uint8_t* bytes, std::size_t count);

// 128 random bits as 32 lower-case hex digits.
std::string newToken();

// Six characters from an alphabet without look-alikes (no 0/O, 1/I/L);
// a prefix (a server's own first character) replaces the first.
std::string newTableCode(std::string_view prefix = {});
bool isTableCode(std::string_view text);
// The code a person meant: codes are read case-blind, since links and
// codes get retyped. Empty when it is no code at all.
std::string tableCodeOf(std::string_view text);

// SHA-256 of the token, as 64 hex digits.
std::string tokenHash(std::string_view token);

// Compares in time that does not depend on where the texts differ.
bool sameSecret(std::string_view a, std::string_view b);

}  // namespace daro::server
