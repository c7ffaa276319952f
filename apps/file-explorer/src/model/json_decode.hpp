#pragma once
// Strict reading of JSON documents, for the decoders only (keeps nlohmann out of public headers).
// Every accessor marks the decode failed on a missing member or a wrong type instead of throwing.
#include "model/documents.hpp"

#include <nlohmann/json.hpp>

#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace files::model::json_decode {

using nlohmann::json;

// Parses without exceptions; nothing for syntax errors or nesting deeper than max_depth (the
// documents are shallow, and a deep one would only cost stack).
std::optional<json> parse(std::string_view text, int max_depth = 32);

class Decoder {
public:
    bool ok() const { return ok_; }
    void fail() { ok_ = false; }
    // Fails unless the condition holds; returns it.
    bool require(bool condition) {
        if (!condition) ok_ = false;
        return condition;
    }

    // A member that must be present and not null.
    const json& member(const json& obj, const char* key);
    // A member that may be missing or null (nullptr then).
    const json* optional_member(const json& obj, const char* key);

    template <typename U>
    U uint(const json& v) {
        if (!v.is_number_unsigned()) return fail(), U{};
        auto n = v.get<std::uint64_t>();
        if (n > std::numeric_limits<U>::max()) return fail(), U{};
        return U(n);
    }
    template <typename U>
    U uint(const json& obj, const char* key) {
        return uint<U>(member(obj, key));
    }
    template <typename U>
    std::optional<U> optional_uint(const json& obj, const char* key) {
        const json* v = optional_member(obj, key);
        if (!v) return std::nullopt;
        return uint<U>(*v);
    }

    std::string string(const json& v);
    std::string string(const json& obj, const char* key) { return string(member(obj, key)); }
    std::optional<std::string> optional_string(const json& obj, const char* key);
    bool boolean(const json& obj, const char* key);
    Key32 bytes32(const json& v);
    Key32 bytes32(const json& obj, const char* key) { return bytes32(member(obj, key)); }
    std::optional<Key32> optional_bytes32(const json& obj, const char* key);
    Uuid uuid(const json& v);
    Uuid uuid(const json& obj, const char* key) { return uuid(member(obj, key)); }
    // An array member (an empty one after a failure), at most max_items long.
    const json& array(const json& obj, const char* key, size_t max_items = SIZE_MAX);
    std::vector<std::string> strings(const json& obj, const char* key, size_t max_items = SIZE_MAX);

private:
    bool ok_ = true;
};

}  // namespace files::model::json_decode
