#pragma once
// The shared-file link piped on standard input with --open-share-stdin.
#include <expected>
#include <string>
#include <string_view>
#include <vector>

namespace files::startup {

inline constexpr size_t kShareLinkMax = 16384;

// Reads the link from a descriptor through a bound of 16385 bytes. The error is a catalogue
// message id.
std::expected<std::string, std::string_view> read_share_link(int fd);
// The checks after reading: bound, UTF-8, trailing CR/LF removed, not empty.
std::expected<std::string, std::string_view> share_link_from_bytes(std::string bytes);

// Exact, byte-for-byte presence of the flag among the raw arguments.
bool has_share_stdin_flag(const std::vector<std::string>& raw_args);

}  // namespace files::startup
