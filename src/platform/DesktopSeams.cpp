// The wall clock behind the Clock interface, and the local calendar day every clock reports,
// so a test's fixed clock and the real one agree on what "today" means.
#include "platform/DesktopSeams.h"

#include <filesystem>

#include "platform/Utf.h"
#include "update/VersionFile.h"

namespace lumicrate {
namespace {

class WallClock final : public Clock {
public:
  std::time_t Now() const override { return std::time(nullptr); }
};

} // namespace

ShellTarget ClassifyShellTarget(const std::string& fileOrAddress) {
  if (IsOpenablePageAddress(Utf8ToUtf16(fileOrAddress))) {
    return ShellTarget::WebAddress;
  }
  std::error_code ec;
  const std::filesystem::path path(fileOrAddress);
  if (path.is_absolute() && std::filesystem::is_regular_file(path, ec)) {
    return ShellTarget::File;
  }
  return ShellTarget::Refused;
}

int Clock::DayOfMonth() const {
  const std::time_t now = Now();
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_mday;
}

const Clock& SystemClock() {
  static const WallClock clock;
  return clock;
}

} // namespace lumicrate
