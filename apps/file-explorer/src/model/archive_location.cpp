#include "model/archive_location.hpp"

#include "model/listing.hpp"

namespace files::model {

std::optional<ArchiveLocation> locate_archive(const std::filesystem::path&) { return std::nullopt; }

std::expected<std::vector<FolderEntry>, std::string> read_archive_folder(const ArchiveLocation&) {
    return std::unexpected(std::string("not an archive"));
}

std::optional<ArchiveMemberKind> archive_member_kind(const ArchiveLocation&) { return std::nullopt; }

}  // namespace files::model
