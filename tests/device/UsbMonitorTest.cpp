// USB events: only devices coming or going count, however many wait at once; udev's own
// monitor opens where the kernel's netlink socket is there and has nothing waiting when idle.
#include <gtest/gtest.h>

#include "device/UsbMonitor_CL.h"
#include "support/PipeUsbSource.h"

namespace lumicrate {
namespace {

TEST(UsbMonitorTest, OnlyAddAndRemoveCountAsAChange) {
  const struct {
    std::vector<std::string> actions;
    bool changed;
  } cases[] = {{{}, false}, {{"bind", "change", "unbind"}, false}, {{"add"}, true}, {{"bind", "remove", "add"}, true}};
  for (const auto& c : cases) {
    test::PipeUsbSource source;
    for (const std::string& action : c.actions) {
      source.Announce(action);
    }
    EXPECT_EQ(DrainUsbEvents(source), c.changed) << testing::PrintToString(c.actions);
    EXPECT_FALSE(source.Receive()) << "every waiting event is read";
  }
}

TEST(UsbMonitorTest, UdevsMonitorOpensWithNothingWaiting) {
  UsbMonitor_CL monitor;
  EXPECT_EQ(monitor.Descriptor(), -1);
  if (Failed(monitor.Open())) {
    GTEST_SKIP() << "no netlink socket for udev's monitor here";
  }
  EXPECT_GE(monitor.Descriptor(), 0);
  EXPECT_FALSE(monitor.Receive());
}

} // namespace
} // namespace lumicrate
