// What the GUI and the command-line tool both do first: the data folder, its tmp folder,
// the log and settings paths, the start banner, the single-instance check and the seed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

#include "platform/InstanceLock.h"

namespace lumicrate {

struct StartupResult {
  std::filesystem::path dataFolder;
  // False for a second instance, which logs that and must end at once with code 0.
  bool firstInstance = false;
  std::int32_t seed = 0;
  // Held until the process ends; another instance can start as soon as this one has gone.
  std::unique_ptr<InstanceLock> instanceLock;
};

struct StartupOptions {
  // The command-line tool runs beside the GUI, so it does not claim the single instance.
  bool singleInstance = true;
};

StartupResult StartUp(const StartupOptions& options = {});

// Milliseconds since boot, wrapping at 32 bits like GetTickCount.
std::uint32_t TickCount();

// rand_seed plus the tick count, with 32-bit signed wrap-around.
std::int32_t NextSeed(std::int32_t stored, std::uint32_t ticks);

} // namespace lumicrate
