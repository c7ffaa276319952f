#include "model/utf8.hpp"

#include <cstdint>

namespace files::text {

namespace {

// Length of the valid sequence starting at i, or 0 (maximal-subpart rule: 1 byte is replaced).
size_t valid_len(std::string_view s, size_t i) {
    auto b = [&](size_t k) { return std::uint8_t(s[k]); };
    std::uint8_t c = b(i);
    if (c < 0x80) return 1;
    size_t n;
    std::uint8_t lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) n = 2;
    else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) lo = 0xA0;
        if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;
    } else
        return 0;
    if (i + n > s.size()) return 0;
    if (b(i + 1) < lo || b(i + 1) > hi) return 0;
    for (size_t k = 2; k < n; ++k)
        if (b(i + k) < 0x80 || b(i + k) > 0xBF) return 0;
    return n;
}

}  // namespace

bool is_valid_utf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        if (std::uint8_t(s[i]) < 0x80) {
            ++i;
            continue;
        }
        size_t n = valid_len(s, i);
        if (!n) return false;
        i += n;
    }
    return true;
}

std::string lossy_utf8(std::string_view s) {
    if (is_valid_utf8(s)) return std::string(s);
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        size_t n = valid_len(s, i);
        if (n) {
            out.append(s.substr(i, n));
            i += n;
            continue;
        }
        out += "\xEF\xBF\xBD";
        // Skip the maximal prefix of a would-be sequence as one replacement.
        size_t j = i + 1;
        std::uint8_t c = std::uint8_t(s[i]);
        size_t want = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 1;
        while (j < s.size() && j < i + want && (std::uint8_t(s[j]) & 0xC0) == 0x80) ++j;
        i = (want > 1 && j > i + 1) ? j : i + 1;
    }
    return out;
}

}  // namespace files::text
