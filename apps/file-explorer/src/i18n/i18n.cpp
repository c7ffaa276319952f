#include "i18n/i18n.hpp"

namespace files::i18n {

// Until the catalogue is embedded, a lookup answers with the message id.
std::string tr(std::string_view id) { return std::string(id); }
std::string tr_args(std::string_view id, const MessageArgs&) { return std::string(id); }

}  // namespace files::i18n

#include <cstdio>

namespace files::i18n {

std::string format_size(std::uint64_t bytes) {
    if (bytes < 1000) return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
    static constexpr const char* units[] = {"kB", "MB", "GB", "TB", "PB", "EB"};
    double v = double(bytes);
    int u = -1;
    while (v >= 1000 && u < 5) {
        v /= 1000;
        ++u;
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f %s", v, units[u]);
    return buf;
}

}  // namespace files::i18n
