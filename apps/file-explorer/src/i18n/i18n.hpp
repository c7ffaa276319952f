#pragma once
// Catalogue lookups by message id, in the process locale.
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace files::i18n {

using MessageValue = std::variant<std::string, std::int64_t, double>;

class MessageArgs {
public:
    MessageArgs& set(std::string name, std::string value) {
        items_.emplace_back(std::move(name), MessageValue(std::move(value)));
        return *this;
    }
    MessageArgs& set(std::string name, const char* value) { return set(std::move(name), std::string(value)); }
    template <typename N>
        requires std::is_arithmetic_v<N>
    MessageArgs& set(std::string name, N value) {
        if constexpr (std::is_floating_point_v<N>) items_.emplace_back(std::move(name), MessageValue(double(value)));
        else items_.emplace_back(std::move(name), MessageValue(std::int64_t(value)));
        return *this;
    }
    const std::vector<std::pair<std::string, MessageValue>>& items() const { return items_; }

private:
    std::vector<std::pair<std::string, MessageValue>> items_;
};

std::string tr(std::string_view id);
std::string tr_args(std::string_view id, const MessageArgs& args);

}  // namespace files::i18n

namespace files::i18n {
// "1.2 MB" style, decimal units.
std::string format_size(std::uint64_t bytes);
}  // namespace files::i18n
