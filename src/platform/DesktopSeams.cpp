// The wall clock behind the Clock interface, and the local calendar day every clock reports,
// so a test's fixed clock and the real one agree on what "today" means.
#include "platform/DesktopSeams.h"

namespace lumicrate {
namespace {

class WallClock final : public Clock {
public:
  std::time_t Now() const override { return std::time(nullptr); }
};

} // namespace

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
