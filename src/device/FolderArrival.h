// A folder the desktop hands over on the command line (the camera card it saw mounted, for
// "lumicrate FOLDER") is imported like a drive that arrived: a Drive import of that folder.
#pragma once

#include <filesystem>

namespace lumicrate {

class AppContext;

// Sets the Drive mode, the folder as source and DeviceName as for an arrived drive: the product
// name of the removable drive mounted at the folder, if it is one, then the folder in
// parentheses. False, with nothing changed, while an import is being confirmed or running.
bool PrepareFolderArrival(AppContext& context, const std::filesystem::path& folder,
                          const std::filesystem::path& mountInfo = "/proc/self/mountinfo",
                          const std::filesystem::path& sysDevBlock = "/sys/dev/block");

} // namespace lumicrate
