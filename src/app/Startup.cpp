// Folder creation failures are ignored here: they show up later as settings and log lines
// that cannot be written, which is all the program can do about them.
#include "app/Startup.h"

#include <clocale>
#include <cstdlib>
#include <ctime>

#include "app/ActivityLog.h"
#include "app/AppContext.h"
#include "app/Inifile_CL.h"
#include "app/Product.h"
#include "platform/UserFolders.h"

namespace lumicrate {

std::uint32_t TickCount() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                                    static_cast<std::uint64_t>(now.tv_nsec) / 1000000u);
}

std::int32_t NextSeed(std::int32_t stored, std::uint32_t ticks) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(stored) + ticks);
}

StartupResult StartUp(const StartupOptions& options) {
  // Japanese where the locale is installed; the program's own texts do not depend on it.
  if (!std::setlocale(LC_ALL, "ja_JP.UTF-8")) {
    std::setlocale(LC_ALL, "C.UTF-8");
  }

  StartupResult result;
  result.dataFolder = DocumentsFolder() / kDataFolderName;
  std::error_code ec;
  std::filesystem::create_directories(result.dataFolder, ec);
  Context().TempFolder = result.dataFolder / kTempFolderName;
  std::filesystem::create_directory(Context().TempFolder, ec);

  Log().SetPath(result.dataFolder / kLogFileName);
  Settings().SetPath(result.dataFolder / kSettingsFileName);
  Log().Write("\r\n★★★★★ アプリ起動 ★★★★★");
  Log().Write("DataFolderPath = \"%s\"", result.dataFolder.c_str());

  if (options.singleInstance) {
    result.instanceLock = std::make_unique<InstanceLock>();
    const auto lockFile = InstanceLock::LockFolder(result.dataFolder) / InstanceLock::LockFileName(kProductAddress);
    if (!result.instanceLock->TryAcquire(lockFile)) {
      Log().Write("多重起動チェックで既に起動中でした。");
      return result;
    }
  }
  result.firstInstance = true;

  result.seed = NextSeed(Settings().GetInt("APP_INFO", "rand_seed", 0), TickCount());
  std::srand(static_cast<unsigned>(result.seed));
  Settings().WriteInt("APP_INFO", "rand_seed", result.seed);
  return result;
}

} // namespace lumicrate
