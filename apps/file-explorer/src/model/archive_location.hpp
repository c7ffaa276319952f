#pragma once
// Where the listing and navigation meet archive interiors. The archive room supplies the real
// reader; until it does, no path is inside an archive.
#include <expected>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace files::model {

struct FolderEntry;

struct ArchiveLocation {
    std::filesystem::path archive;  // the archive file itself
    std::filesystem::path inner;    // the member path below it, empty for the archive's top
};

enum class ArchiveMemberKind { Folder, File, Missing };

// The archive holding the path (the path itself included), when some ancestor is one.
std::optional<ArchiveLocation> locate_archive(const std::filesystem::path& p);
// The entries of the member folder, unsorted.
std::expected<std::vector<FolderEntry>, std::string> read_archive_folder(const ArchiveLocation& at);
// What the inner path names; nothing when the archive cannot be read. A path that only begins
// member paths counts as a folder.
std::optional<ArchiveMemberKind> archive_member_kind(const ArchiveLocation& at);

}  // namespace files::model
