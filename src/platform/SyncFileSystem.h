// Making written files durable before a run says it is done.
#pragma once

#include <filesystem>

#include "platform/HResult.h"

namespace lumicrate {

// Flushes the file system holding folder to its disk, so that a card may be wiped as soon as a
// run says it is done.
HRESULT SyncFileSystem(const std::filesystem::path& folder);

} // namespace lumicrate
