#include <orvo_ui/persist.hpp>
#include <orvo_ui/sysdirs.hpp>

#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <cstring>
#include <fstream>
#include <random>

namespace orvo_ui::persist {

namespace {

std::vector<std::uint8_t> random_id() {
    std::vector<std::uint8_t> id(16);
    if (getrandom(id.data(), id.size(), 0) != ssize_t(id.size())) {
        std::random_device rd;
        for (auto& b : id) b = std::uint8_t(rd());
    }
    return id;
}

std::string to_hex(const std::vector<std::uint8_t>& bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string s;
    for (auto b : bytes) {
        s += digits[b >> 4];
        s += digits[b & 15];
    }
    return s;
}

std::optional<std::vector<std::uint8_t>> from_hex(std::string_view s) {
    if (s.size() % 2 != 0 || s.empty()) return std::nullopt;
    auto nib = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    std::vector<std::uint8_t> out;
    for (size_t i = 0; i < s.size(); i += 2) {
        int hi = nib(s[i]), lo = nib(s[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out.push_back(std::uint8_t(hi * 16 + lo));
    }
    return out;
}

}  // namespace

Document::Document() : actor_(random_id()) { author_ = actor_; }

Document Document::load(std::filesystem::path file) {
    Document d;
    d.file_ = file;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        d.dirty_ = true;  // so the new actor id is kept
        return d;
    }
    std::string text((std::istreambuf_iterator<char>(in)), {});
    auto j = nlohmann::json::parse(text, nullptr, false);
    if (!j.is_object()) {
        d.dirty_ = true;
        return d;
    }
    if (auto it = j.find("actor"); it != j.end() && it->is_string())
        if (auto id = from_hex(it->get<std::string>())) d.actor_ = d.author_ = *id;
    if (auto it = j.find("values"); it != j.end() && it->is_object())
        for (auto& [k, v] : it->items())
            if (v.is_string()) d.values_[k] = v.get<std::string>();
    return d;
}

std::optional<std::string> Document::get(std::string_view key) const {
    auto it = values_.find(key);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

void Document::set(std::string_view key, std::string value) {
    auto it = values_.find(key);
    if (it != values_.end() && it->second == value) return;
    values_[std::string(key)] = std::move(value);
    dirty_ = true;
}

std::string Document::author_hex() const { return to_hex(author_); }

std::expected<void, std::string> Document::save() {
    if (!file_ || !dirty_) return {};
    nlohmann::json j;
    j["version"] = 1;
    j["actor"] = to_hex(actor_);
    j["values"] = nlohmann::json::object();
    for (const auto& [k, v] : values_) j["values"][k] = v;
    std::string text = j.dump(1) + "\n";

    std::error_code ec;
    std::filesystem::create_directories(file_->parent_path(), ec);
    auto tmp = *file_;
    tmp += ".tmp-" + std::to_string(getpid());
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return std::unexpected(std::string(std::strerror(errno)));
    const char* p = text.data();
    size_t left = text.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            int e = errno;
            ::close(fd);
            ::unlink(tmp.c_str());
            return std::unexpected(std::string(std::strerror(e)));
        }
        p += n;
        left -= size_t(n);
    }
    ::fsync(fd);
    ::close(fd);
    if (::rename(tmp.c_str(), file_->c_str()) != 0) {
        int e = errno;
        ::unlink(tmp.c_str());
        return std::unexpected(std::string(std::strerror(e)));
    }
    dirty_ = false;
    return {};
}

std::unique_ptr<Document> open(std::string_view app_id) {
    auto cfg = sysdirs::config_dir();
    if (!cfg || app_id.empty() || app_id.find('/') != std::string_view::npos) return std::make_unique<Document>();
    return std::make_unique<Document>(Document::load(*cfg / "orvo-ui" / (std::string(app_id) + ".state")));
}

}  // namespace orvo_ui::persist
