// Cards and iPhones arriving: what the context is told, when an import starts, and the log and
// trace lines of each event. The iPhone is the directory camera, plugged in and out by changing
// what the device looks see; USB events come from a pipe.
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>

#include "device/ArrivalHandler_CL.h"
#include "device/DeviceFixture.h"
#include "device/DeviceImportRun.h"
#include "device/DeviceWatch_CL.h"
#include "support/PipeUsbSource.h"

namespace lumicrate {
namespace {

struct Started {
  ImportMode mode;
  std::string source;
  std::string deviceName;
};

// Stands in for the window: clears ReadyForImport while its import lasts, as the window does,
// and runs a device import from the camera when asked for one.
class RecordingStarter : public ImportStarter {
public:
  HRESULT StartImport() override {
    started.push_back({context->Mode, context->SourceFolder.string(), context->DeviceName});
    context->ReadyForImport = 0;
    context->OutputFormatType = 13;
    if (during) {
      during();
    }
    HRESULT hr = S_OK;
    if (context->Mode == ImportMode::Device && deviceQuery) {
      test::RecordingProgress progress;
      test::RecordingNotices notices;
      hr = DeviceImportRun(*context, progress, context->OutputFolder, notices, *deviceQuery);
    }
    context->ReadyForImport = 1;
    return hr;
  }
  std::filesystem::path OutputFolder() const override { return context->OutputFolder; }

  AppContext* context = nullptr;
  std::function<void()> during;
  const DeviceQuery* deviceQuery = nullptr;
  std::vector<Started> started;
};

class ArrivalHandlerTest : public test::DeviceTest {
protected:
  void SetUp() override {
    DeviceTest::SetUp();
    context.OutputFolder = dir / "out";
    starter.context = &context;
    query = CameraQuery();
  }

  // A USB event, the device look it asks for, and its result applied as the window applies it.
  void Announce(const std::string& action) {
    usb.Announce(action);
    const int before = Looks();
    handler.OnUsbReadable();
    if (action == "add" || action == "remove") {
      std::unique_lock lock(mutex);
      ASSERT_TRUE(looked.wait_for(lock, std::chrono::seconds(20), [&] { return looks > before; }));
    }
    handler.OnDevicesLooked();
  }
  int Looks() {
    const std::lock_guard lock(mutex);
    return looks;
  }
  DeviceQuery Query() {
    const std::lock_guard lock(mutex);
    return plugged ? query : DeviceQuery{test::kCameraDescription, {}};
  }
  void Plug(bool in) {
    const std::lock_guard lock(mutex);
    plugged = in;
  }
  static int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
      ++n;
    }
    return n;
  }

  std::mutex mutex;
  std::condition_variable looked;
  int looks = 0;
  bool plugged = false;
  DeviceQuery query;
  RecordingStarter starter;
  MountWatch_CL mounts;
  test::PipeUsbSource usb;
  DeviceWatch_CL devices{[this] { return Query(); },
                         [this] {
                           {
                             const std::lock_guard lock(mutex);
                             ++looks;
                           }
                           looked.notify_all();
                         }};
  ArrivalHandler_CL handler{context, starter, mounts, usb, devices};
};

TEST_F(ArrivalHandlerTest, OneVolumeStartsADriveImportNamedAfterItsProduct) {
  const struct {
    std::string product;
    std::string deviceName;
  } cases[] = {{"Card Reader", "Card Reader(/media/u/EOS)"}, {"", "(/media/u/EOS)"}};
  for (const auto& c : cases) {
    starter.started.clear();
    testing::internal::CaptureStdout();
    handler.OnVolumesChanged({{{"/media/u/EOS", c.product}}, {}});
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "DBT_DEVICEARRIVAL\n/media/u/EOSドライブ\n");
    ASSERT_EQ(starter.started.size(), 1u);
    EXPECT_EQ(starter.started[0].mode, ImportMode::Drive);
    EXPECT_EQ(starter.started[0].source, "/media/u/EOS");
    EXPECT_EQ(starter.started[0].deviceName, c.deviceName);
  }
  EXPECT_EQ(Count(LogText(), " : DBT_DEVICEARRIVAL\r\n"), 2);
}

TEST_F(ArrivalHandlerTest, SeveralVolumesAtOnceOrAnyWhileBusyStartNothingThenOrLater) {
  context.DeviceName = "before";
  testing::internal::CaptureStdout();
  handler.OnVolumesChanged({{{"/media/u/A", "A"}, {"/media/u/B", "B"}}, {}});
  context.ReadyForImport = 0;
  handler.OnVolumesChanged({{{"/media/u/C", "C"}}, {}});
  context.ReadyForImport = 1;
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "DBT_DEVICEARRIVAL\nDBT_DEVICEARRIVAL\n");
  EXPECT_TRUE(starter.started.empty());
  EXPECT_EQ(context.DeviceName, "before");
  EXPECT_EQ(context.Mode, ImportMode::Drive);
  EXPECT_TRUE(context.SourceFolder.empty());

  // A second card while the first one's confirmation is open.
  starter.during = [&] { handler.OnVolumesChanged({{{"/media/u/second", ""}}, {}}); };
  handler.OnVolumesChanged({{{"/media/u/first", ""}}, {}});
  starter.during = nullptr;
  handler.OnVolumesChanged({});
  ASSERT_EQ(starter.started.size(), 1u);
  EXPECT_EQ(starter.started[0].source, "/media/u/first");
  EXPECT_EQ(Count(LogText(), " : DBT_DEVICEARRIVAL\r\n"), 4);
}

TEST_F(ArrivalHandlerTest, RemovalIsOnlyLoggedAndTraced) {
  context.Mode = ImportMode::Folder;
  context.SourceFolder = "/home/u/photos";
  testing::internal::CaptureStdout();
  handler.OnVolumesChanged({{}, {{"/media/u/EOS", "Card Reader"}}});
  handler.OnVolumesChanged({{}, {{"/media/u/A", ""}, {"/media/u/B", ""}}});
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "DBT_DEVICEREMOVECOMPLETE\n/media/u/EOSドライブ(削除)\nDBT_DEVICEREMOVECOMPLETE\n");
  EXPECT_EQ(Count(LogText(), " : DBT_DEVICEREMOVECOMPLETE\r\n"), 2);
  EXPECT_TRUE(starter.started.empty());
  EXPECT_EQ(context.Mode, ImportMode::Folder);
  EXPECT_EQ(context.SourceFolder, "/home/u/photos");
}

TEST_F(ArrivalHandlerTest, AnIPhoneStartsAnImportOnlyWhenItComesFromAbsent) {
  AddPhoto("DCIM/100APPLE/IMG_0001.JPG", "2023:07:14 09:05:03", 1, test::LocalTime(2023, 7, 14));
  starter.deviceQuery = &query;
  const int listedBefore = Count(LogText(), " : DeviceCount = ");
  // Connected at start-up: seen present by the first look, so it starts nothing.
  Plug(true);
  handler.LookAtStart();
  {
    std::unique_lock lock(mutex);
    ASSERT_TRUE(looked.wait_for(lock, std::chrono::seconds(20), [&] { return looks == 1; }));
  }
  handler.OnDevicesLooked();
  ASSERT_EQ(context.IPhonePresent, 1);
  EXPECT_TRUE(starter.started.empty());
  testing::internal::CaptureStdout();
  Announce("add");
  EXPECT_TRUE(starter.started.empty());

  // Events that are not a device coming or going ask for no look.
  Announce("bind");
  Plug(false);
  Announce("remove");
  EXPECT_EQ(context.IPhonePresent, 0);
  Plug(true);
  Announce("add");
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "DBT_DEVNODES_CHANGED\nDBT_DEVNODES_CHANGED\nDBT_DEVNODES_CHANGED\n");
  ASSERT_EQ(starter.started.size(), 1u);
  EXPECT_EQ(starter.started[0].mode, ImportMode::Device);
  EXPECT_EQ(starter.started[0].source, "");
  EXPECT_EQ(starter.started[0].deviceName, camera.Path().filename().string());
  EXPECT_EQ(test::FilesUnder(context.OutputFolder), std::vector<std::string>{"2023年/07月/14日/IMG_0001.JPG"});

  // Still there after its import: nothing more until it has been away.
  Announce("add");
  EXPECT_EQ(starter.started.size(), 1u);
  const std::string log = LogText();
  EXPECT_EQ(Count(log, " : DBT_DEVNODES_CHANGED\r\n"), 4);
  // Each look (the first one and four more) lists the devices twice: once for the log, once to
  // find the iPhone; the run lists them once.
  EXPECT_EQ(Count(log, " : DeviceCount = ") - listedBefore, 2 * 5 + 1);
}

TEST_F(ArrivalHandlerTest, AnIPhoneConnectedDuringAnImportIsNotImportedAfter) {
  // The look it asks for ends during the import, or only after it.
  for (const bool lookEndsDuring : {true, false}) {
    Plug(false);
    Announce("remove");
    starter.started.clear();
    starter.during = [&] {
      Plug(true);
      if (lookEndsDuring) {
        Announce("add");
        return;
      }
      usb.Announce("add");
      const int before = Looks();
      handler.OnUsbReadable();
      std::unique_lock lock(mutex);
      ASSERT_TRUE(looked.wait_for(lock, std::chrono::seconds(20), [&] { return looks > before; }));
    };
    handler.OnVolumesChanged({{{"/media/u/EOS", ""}}, {}});
    starter.during = nullptr;
    handler.OnDevicesLooked();
    EXPECT_EQ(context.IPhonePresent, 1);
    Announce("add");
    ASSERT_EQ(starter.started.size(), 1u) << lookEndsDuring;
    EXPECT_EQ(starter.started[0].mode, ImportMode::Drive);
  }
}

} // namespace
} // namespace lumicrate
