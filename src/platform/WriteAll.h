// Writing a whole buffer to a descriptor: write(2) may take only part of it, or be interrupted.
#pragma once

#include <string_view>

namespace lumicrate {

// True once every byte is written; false on an error, or when the file takes no more bytes.
bool WriteAll(int fd, std::string_view bytes);

} // namespace lumicrate
