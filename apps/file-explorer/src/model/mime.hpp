#pragma once
// MIME types from file-name extensions: the freedesktop shared-mime-info glob database, or a
// built-in table where the database is missing.
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace files::model {

// The "*.ext" globs of globs2 files, highest weight winning (the first file on a tie).
class MimeGlobs {
public:
    MimeGlobs();
    ~MimeGlobs();
    MimeGlobs(MimeGlobs&&) noexcept;
    MimeGlobs& operator=(MimeGlobs&&) noexcept;

    // $XDG_DATA_HOME, then $XDG_DATA_DIRS (default /usr/local/share:/usr/share), each mime/globs2.
    static MimeGlobs from_system();
    // Adds one globs2 text; earlier additions win ties.
    void add_globs2(std::string_view text);
    bool empty() const;
    // The type for an extension (without its dot), or empty.
    std::string_view lookup(std::string_view extension) const;

private:
    struct Table;
    std::unique_ptr<Table> table_;
};

// The type for the name's extension through the system database (loaded once), else the built-in
// table; application/octet-stream without an extension, for one that is not valid UTF-8, or one
// that neither knows.
std::string_view guess_mime_type(std::string_view file_name);
std::string guess_mime_type(const std::filesystem::path& p);
// The built-in table alone.
std::string_view builtin_mime_type(std::string_view extension);

}  // namespace files::model
