#include "model/json_decode.hpp"

namespace files::model::json_decode {

namespace {

const json& null_value() {
    static const json v;
    return v;
}

const json& empty_array() {
    static const json v = json::array();
    return v;
}

bool nesting_within(std::string_view t, int max_depth) {
    int depth = 0;
    bool in_string = false;
    for (size_t i = 0; i < t.size(); ++i) {
        char c = t[i];
        if (in_string) {
            if (c == '\\') ++i;
            else if (c == '"') in_string = false;
        } else if (c == '"') {
            in_string = true;
        } else if (c == '[' || c == '{') {
            if (++depth > max_depth) return false;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return true;
}

}  // namespace

std::optional<json> parse(std::string_view text, int max_depth) {
    if (!nesting_within(text, max_depth)) return std::nullopt;
    try {
        json j = json::parse(text.begin(), text.end(), nullptr, /*allow_exceptions=*/false);
        if (j.is_discarded()) return std::nullopt;
        return j;
    } catch (...) {
        return std::nullopt;
    }
}

const json& Decoder::member(const json& obj, const char* key) {
    if (!obj.is_object()) return fail(), null_value();
    auto it = obj.find(key);
    if (it == obj.end() || it->is_null()) return fail(), null_value();
    return *it;
}

const json* Decoder::optional_member(const json& obj, const char* key) {
    if (!obj.is_object()) return fail(), nullptr;
    auto it = obj.find(key);
    if (it == obj.end() || it->is_null()) return nullptr;
    return &*it;
}

std::string Decoder::string(const json& v) {
    if (!v.is_string()) return fail(), std::string();
    return v.get_ref<const std::string&>();
}

std::optional<std::string> Decoder::optional_string(const json& obj, const char* key) {
    const json* v = optional_member(obj, key);
    if (!v) return std::nullopt;
    return string(*v);
}

bool Decoder::boolean(const json& obj, const char* key) {
    const json& v = member(obj, key);
    if (!v.is_boolean()) return fail(), false;
    return v.get<bool>();
}

Key32 Decoder::bytes32(const json& v) {
    Key32 out{};
    if (!v.is_array() || v.size() != out.size()) return fail(), out;
    for (size_t i = 0; i < out.size(); ++i) out[i] = uint<std::uint8_t>(v[i]);
    return out;
}

std::optional<Key32> Decoder::optional_bytes32(const json& obj, const char* key) {
    const json* v = optional_member(obj, key);
    if (!v) return std::nullopt;
    return bytes32(*v);
}

Uuid Decoder::uuid(const json& v) {
    if (!v.is_string()) return fail(), Uuid{};
    auto u = Uuid::parse(v.get_ref<const std::string&>());
    if (!u) return fail(), Uuid{};
    return *u;
}

const json& Decoder::array(const json& obj, const char* key, size_t max_items) {
    const json& v = member(obj, key);
    if (!v.is_array() || v.size() > max_items) return fail(), empty_array();
    return v;
}

std::vector<std::string> Decoder::strings(const json& obj, const char* key, size_t max_items) {
    std::vector<std::string> out;
    for (const auto& s : array(obj, key, max_items)) out.push_back(string(s));
    return out;
}

}  // namespace files::model::json_decode
