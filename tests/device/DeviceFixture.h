// A camera for the device tests: libgphoto2's own "Directory Browse" driver serving a scratch
// folder, reached through the same manager, device and object code as an iPhone.
#pragma once

#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "device/NoticeSink.h"
#include "device/PortableDeviceManager_CL.h"
#include "import/ImportFixtures.h"

namespace lumicrate::test {

// What the directory camera reports as its description, standing in for "Apple iPhone".
inline constexpr char kCameraDescription[] = "Directory Browse";

// Seconds since the epoch of a local wall-clock time.
std::time_t LocalTime(int year, int month, int day, int hour = 12, int minute = 0, int second = 0);

// Records the notices a run shows.
class RecordingNotices : public NoticeSink {
public:
  void ShowNotice(const std::string& caption, const std::string& text) override { shown.push_back({caption, text}); }
  std::vector<std::pair<std::string, std::string>> shown;
};

// Sets TZ for the life of the object and puts the old zone back after.
class ScopedTimeZone {
public:
  explicit ScopedTimeZone(const char* zone);
  ~ScopedTimeZone();
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
  bool hadZone_ = false;
  std::string oldZone_;
};

// The import fixture (a scratch HOME, a context with every media kind on, an output folder in
// dir) with a directory camera and the data folder's tmp.
class DeviceTest : public ImportTest {
protected:
  void SetUp() override;
  // A file on the camera, relative to its root, with its modification time.
  std::filesystem::path AddFile(const std::string& relative, const std::string& bytes, std::time_t modified);
  // A JPEG on the camera with that DateTimeOriginal (none when empty) and modification time.
  std::filesystem::path AddPhoto(const std::string& relative, const std::string& exifDate, int seed,
                                 std::time_t modified);
  // The camera as the only extra device of a manager.
  std::vector<DevicePort> CameraPorts() const { return {DirectoryCamera(camera.Path())}; }
  // Enumerates with the camera added and opens it; fails the test when it cannot.
  PortableDeviceManager_CL::Device_CL& OpenCamera(PortableDeviceManager_CL& manager);
  // The query a device run is given to import from the camera.
  DeviceQuery CameraQuery() const { return {kCameraDescription, CameraPorts()}; }

  TempDir camera;
};

} // namespace lumicrate::test
