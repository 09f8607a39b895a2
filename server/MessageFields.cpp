#include "MessageFields.h"

#include <cstdint>

namespace daro::server {

std::string dump(const Json& j) { return j.dump(-1, ' ', false, Json::error_handler_t::replace); }

std::optional<int> intField(const Json& m, const char* key, int lo, int hi) {
    auto it = m.find(key);
    if (it == m.end() || !it->is_number_integer()) return std::nullopt;
    const auto v = it->get<std::int64_t>();
    if (v < lo || v > hi) return std::nullopt;
    return static_cast<int>(v);
}

const std::string* stringField(const Json& m, const char* key) {
    auto it = m.find(key);
    return it != m.end() && it->is_string() ? it->get_ptr<const std::string*>() : nullptr;
}

std::optional<std::size_t> plainTextLength(const std::string& s) {
    std::size_t points = 0;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t length = c < 0x80 ? 1 : c < 0xe0 ? 2 : c < 0xf0 ? 3 : 4;
        if (i + length > s.size()) return std::nullopt;
        char32_t point = length == 1 ? c : length == 2 ? c & 0x1f : length == 3 ? c & 0x0f : c & 0x07;
        for (std::size_t k = 1; k < length; ++k) point = (point << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3f);
        // C0, DEL and C1; and the controls that turn the direction of the
        // text after them (embeddings, overrides, isolates), which would
        // reach into whatever a client shows next to a name or a line.
        if (point < 0x20 || (point >= 0x7f && point <= 0x9f) || (point >= 0x202a && point <= 0x202e) ||
            (point >= 0x2066 && point <= 0x2069))
            return std::nullopt;
        ++points;
        i += length;
    }
    return points;
}

std::optional<std::array<int, 2>> squareField(const Json& m, const char* key) {
    auto it = m.find(key);
    if (it == m.end() || !it->is_array() || it->size() != 2) return std::nullopt;
    std::array<int, 2> xy{};
    for (std::size_t i = 0; i < 2; ++i) {
        const Json& v = (*it)[i];
        if (!v.is_number_integer()) return std::nullopt;
        const auto n = v.get<std::int64_t>();
        if (n < 1 || n > 19) return std::nullopt;
        xy[i] = static_cast<int>(n);
    }
    return xy;
}

std::string seatWord(const SeatKind& k) { return k.human ? "human" : "level" + std::to_string(k.level); }

std::optional<SeatKind> seatKindOf(std::string_view word) {
    if (word == "human") return SeatKind{true, 0};
    if (word.size() == 6 && word.substr(0, 5) == "level" && word[5] >= '1' && word[5] <= '5')
        return SeatKind{false, word[5] - '0'};
    return std::nullopt;
}

}  // namespace daro::server
