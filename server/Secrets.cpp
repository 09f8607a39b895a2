#include "Secrets.h"

#include <openssl/sha.h>
#include <sys/random.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace daro::server {

namespace {
constexpr std::string_view codeAlphabet = "ABCDEFGHJKMNPQRSTUVWXYZ23456789";
constexpr std::size_t codeLength = 6;

std::string hex(const std::uint8_t* bytes, std::size_t count) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(count * 2);
    for (std::size_t i = 0; i < count; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}
}  // namespace

void secureRandom(std::uint8_t* bytes, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = getrandom(bytes + done, count - done, 0);
        if (got < 0) {
            if (errno == EINTR) continue;
            std::perror("daro-server: getrandom");
            std::abort();
        }
        done += static_cast<std::size_t>(got);
    }
}

std::string newToken() {
    std::uint8_t bytes[16];
    secureRandom(bytes, sizeof bytes);
    return hex(bytes, sizeof bytes);
}

std::string newTableCode(std::string_view prefix) {
    std::string code(prefix.substr(0, codeLength - 1));
    while (code.size() < codeLength) {
        std::uint8_t byte;
        secureRandom(&byte, 1);
        // Rejection keeps every character equally likely.
        const std::size_t limit = 256 - 256 % codeAlphabet.size();
        if (byte < limit) code += codeAlphabet[byte % codeAlphabet.size()];
    }
    return code;
}

bool isTableCode(std::string_view text) {
    if (text.size() != codeLength) return false;
    for (char c : text)
        if (codeAlphabet.find(c) == std::string_view::npos) return false;
    return true;
}

std::string tableCodeOf(std::string_view text) {
    std::string code(text.substr(0, codeLength + 1));
    for (char& c : code)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return isTableCode(code) ? code : std::string();
}

std::string tokenHash(std::string_view token) {
    std::uint8_t digest[SHA256_DIGEST_LENGTH];
    SHA256(reinterpret_cast<const unsigned char*>(token.data()), token.size(), digest);
    return hex(digest, sizeof digest);
}

bool sameSecret(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    unsigned char diff = 0;
    for (std::size_t i = 0; i < a.size(); ++i) diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

}  // namespace daro::server
