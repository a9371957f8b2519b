// Byte-level content tests of the duplicate detection: a cheap hash that reads at most 512
// bytes of a file, and a full comparison that stops at the first differing chunk.
#pragma once

#include <cstdint>
#include <filesystem>

namespace lumicrate {

inline constexpr std::uint64_t kUnreadableHash = ~std::uint64_t{0};

// The size, then h = h * 3 + b over the first and the last 256 bytes (a 512-byte buffer,
// zero-filled where the file is shorter), each byte taken as signed. All ones when the file
// cannot be opened or read.
std::uint64_t QuickHash(const std::filesystem::path& path);
// The same from the open descriptor fd of a regular file of size bytes; fd's position is not used.
std::uint64_t QuickHash(int fd, std::int64_t size);

// 0 when both files have the same size and bytes; 1 otherwise, also when either cannot be
// opened or read in full.
int SameContent(const std::filesystem::path& a, const std::filesystem::path& b);

} // namespace lumicrate
