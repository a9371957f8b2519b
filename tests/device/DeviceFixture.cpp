// Files with chosen bytes and times on the directory camera, and the camera opened through the
// manager as every caller opens a device.
#include "device/DeviceFixture.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>

namespace lumicrate::test {
namespace {

void SetTimes(const std::filesystem::path& path, std::time_t modified) {
  const timespec times[2] = {{modified, 0}, {modified, 0}};
  ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

} // namespace

std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;
  return std::mktime(&local);
}

ScopedTimeZone::ScopedTimeZone(const char* zone) {
  if (const char* old = std::getenv("TZ")) {
    hadZone_ = true;
    oldZone_ = old;
  }
  ::setenv("TZ", zone, 1);
  ::tzset();
}

ScopedTimeZone::~ScopedTimeZone() {
  if (hadZone_) {
    ::setenv("TZ", oldZone_.c_str(), 1);
  } else {
    ::unsetenv("TZ");
  }
  ::tzset();
}

void DeviceTest::SetUp() {
  ImportTest::SetUp();
  context.TempFolder = DataFolder() / "tmp";
}

std::filesystem::path DeviceTest::AddFile(const std::string& relative, const std::string& bytes, std::time_t modified) {
  const std::filesystem::path path = camera / relative;
  std::filesystem::create_directories(path.parent_path());
  WriteBytes(path, bytes);
  SetTimes(path, modified);
  return path;
}

std::filesystem::path DeviceTest::AddPhoto(const std::string& relative, const std::string& exifDate, int seed,
                                           std::time_t modified) {
  const std::filesystem::path path = camera / relative;
  MakePhoto(path, exifDate, seed);
  SetTimes(path, modified);
  return path;
}

PortableDeviceManager_CL::Device_CL& DeviceTest::OpenCamera(PortableDeviceManager_CL& manager) {
  EXPECT_EQ(manager.EnumerateDevices(), S_OK);
  const int index = manager.FindDeviceByDescription(kCameraDescription);
  EXPECT_GE(index, 0);
  PortableDeviceManager_CL::Device_CL& device = manager.DeviceAt(index);
  EXPECT_EQ(device.Open(), S_OK);
  return device;
}

} // namespace lumicrate::test
