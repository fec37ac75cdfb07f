// Whole-file reads that accept only regular files, and checked writes that replace a file through
// a temporary name in its folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace orvane {

// Up to maxBytes bytes from the start of path. Nothing when path cannot be opened, is not a
// regular file (a pipe, a device, a folder) or a read fails. Opening never waits on a pipe.
std::optional<std::vector<uint8_t>> readRegularFile(const std::filesystem::path& path,
                                                    std::size_t maxBytes);

// Makes path hold exactly bytes; false when any step fails, every write and the close checked.
// A new or regular file is written unnamed beside it (under a temporary name where the file
// system has no unnamed files), then named and renamed over it, so a failed write leaves the old
// file whole, a reader never sees half a file and a kill leaves no stray file; a link to a
// regular file stays a link and its target is replaced; a file one may not write is left alone
// and refused.
// A name that exists but is not a regular file (a device, a pipe) cannot be renamed over: it is
// written in place, without waiting for a reader.
bool writeFileReplacing(const std::filesystem::path& path, std::span<const uint8_t> bytes);

} // namespace orvane
