// Reading a whole range of a file: pread(2) may return less than asked, or be interrupted.
#pragma once

#include <cstddef>
#include <sys/types.h>

namespace lumicrate {

// Reads count bytes at offset, fewer only where the file ends first. The bytes read, or -1 on
// an error with errno set.
ssize_t ReadAt(int fd, void* buffer, size_t count, off_t offset);

} // namespace lumicrate
