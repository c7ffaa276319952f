#include <openssl/evp.h>

#include <cstring>
#include <string_view>

#include "thumbnail/cache.hpp"

namespace thumbnail::cache {
namespace {

// Bump when the thumbnails produced for the same inputs change, so old files miss.
constexpr std::uint8_t key_version = 1;

void put_u64(std::string& out, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
}

ThumbKey digest_of(const std::string& input) {
    ThumbKey key;
    unsigned int len = 0;
    if (EVP_Digest(input.data(), input.size(), key.bytes.data(), &len, EVP_sha256(), nullptr) != 1) {
        // Not expected with the default provider; a deterministic fallback keeps keys usable.
        std::uint64_t h = 1469598103934665603ull;
        for (unsigned char c : input) h = (h ^ c) * 1099511628211ull;
        for (std::size_t i = 0; i < key.bytes.size(); ++i)
            key.bytes[i] = static_cast<std::uint8_t>((h >> (8 * (i % 8))) ^ i);
    }
    return key;
}

}  // namespace

ThumbKey ThumbKey::of_path_meta(const std::filesystem::path& path, std::uint64_t mtime_ms,
                                std::uint64_t size_bytes, unsigned thumb_size) {
    std::string in;
    in.push_back(static_cast<char>(key_version));
    in.push_back('p');
    const std::string& raw = path.native();
    put_u64(in, raw.size());  // length-prefixed: no two inputs encode alike
    in += raw;
    put_u64(in, mtime_ms);
    put_u64(in, size_bytes);
    put_u64(in, thumb_size);
    return digest_of(in);
}

ThumbKey ThumbKey::of_digest(std::span<const std::uint8_t, 32> digest, unsigned thumb_size) {
    std::string in;
    in.push_back(static_cast<char>(key_version));
    in.push_back('d');
    in.append(reinterpret_cast<const char*>(digest.data()), digest.size());
    put_u64(in, thumb_size);
    return digest_of(in);
}

std::string ThumbKey::hex() const {
    static constexpr std::string_view digits = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (auto b : bytes) {
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 0xf]);
    }
    return out;
}

std::size_t ThumbKeyHash::operator()(const ThumbKey& key) const noexcept {
    std::size_t h;
    std::memcpy(&h, key.bytes.data(), sizeof h);
    return h;
}

}  // namespace thumbnail::cache
