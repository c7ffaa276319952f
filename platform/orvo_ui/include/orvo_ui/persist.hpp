#pragma once
// A small persisted document for UI state (scroll offsets and the like), with the identifier
// of the author its changes are attributed to.
#include <cstdint>
#include <expected>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo_ui::persist {

class Document {
public:
    // In memory only.
    Document();
    // Loads the file when it exists; a missing or damaged file gives a fresh document.
    static Document load(std::filesystem::path file);

    std::optional<std::string> get(std::string_view key) const;
    void set(std::string_view key, std::string value);
    bool dirty() const { return dirty_; }
    // Writes atomically when dirty; in-memory documents have nothing to write.
    std::expected<void, std::string> save();

    const std::vector<std::uint8_t>& author_id() const { return author_; }
    void set_author_id(std::vector<std::uint8_t> id) { author_ = std::move(id); }
    std::string author_hex() const;
    const std::optional<std::filesystem::path>& file() const { return file_; }

private:
    // The document's own identity, kept in the file; the author starts as it and may be renamed.
    std::vector<std::uint8_t> actor_;
    std::optional<std::filesystem::path> file_;
    std::map<std::string, std::string, std::less<>> values_;
    std::vector<std::uint8_t> author_;
    bool dirty_ = false;
};

// Opens the document of an application in the user's configuration directory
// ("<config>/orvo-ui/<app_id>.state"); in memory when there is none.
std::unique_ptr<Document> open(std::string_view app_id);

}  // namespace orvo_ui::persist
