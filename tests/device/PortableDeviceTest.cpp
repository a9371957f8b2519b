// Device access through the real libgphoto2 against its directory camera: the device list, the
// walk in pre-order, the eight properties, saving an object, and a device that goes away.
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>

#include "device/DeviceFixture.h"
#include "import/CaptureDate.h"

namespace lumicrate {
namespace {

using Kind = DeviceObject::Kind;

class PortableDeviceTest : public test::DeviceTest {};

TEST_F(PortableDeviceTest, WithoutDevicesTheCountIsZeroAndNothingIsFound) {
  PortableDeviceManager_CL manager;
  ASSERT_EQ(manager.EnumerateDevices(), S_OK);
  if (manager.DeviceCount() > 0) {
    GTEST_SKIP() << "this machine has a camera or phone attached";
  }
  EXPECT_NE(LogText().find(" : DeviceCount = 0\r\n"), std::string::npos) << LogText();
  EXPECT_EQ(manager.FindDeviceByDescription(kIPhoneDescription), -1);
}

TEST_F(PortableDeviceTest, ListsExtraDevicesWithTheirNamesAndFindsTheFirstWithoutRegardToCase) {
  test::TempDir second;
  PortableDeviceManager_CL manager({DirectoryCamera(camera.Path()), DirectoryCamera(second.Path())});
  ASSERT_EQ(manager.EnumerateDevices(), S_OK);
  const int first = manager.DeviceCount() - 2;
  ASSERT_GE(first, 0);

  EXPECT_EQ(manager.FindDeviceByDescription("DIRECTORY browse"), first);
  EXPECT_EQ(manager.FindDeviceByDescription("Directory Brows"), -1);
  const auto& device = manager.DeviceAt(first);
  EXPECT_EQ(device.FriendlyName(), camera.Path().filename().string());
  EXPECT_EQ(device.Description(), "Directory Browse");
  EXPECT_EQ(device.Manufacturer(), "");
  EXPECT_EQ(device.DeviceId(), "disk:" + camera.Path().string());
  EXPECT_FALSE(device.IsOpen());

  const std::string log = LogText();
  const std::string entry = " : Device[ " + std::to_string(first) + " ]\r\n";
  const size_t at = log.find(entry);
  ASSERT_NE(at, std::string::npos) << log;
  const size_t friendly = log.find(" : FriendlyName = " + device.FriendlyName() + "\r\n", at);
  const size_t description = log.find(" : Description = Directory Browse\r\n", at);
  EXPECT_LT(friendly, description);
  EXPECT_LT(description, log.find(" : Device[ " + std::to_string(first + 1) + " ]\r\n"));
  EXPECT_EQ(log.find("Manufacturer = "), std::string::npos) << "an empty manufacturer is not logged";
}

TEST_F(PortableDeviceTest, StorageFolderAndTwentyFivePhotosComeInPreOrderWithTheirProperties) {
  const std::time_t modified = test::LocalTime(2023, 7, 14, 9, 5, 3);
  std::set<std::string> photos;
  for (int i = 1; i <= 25; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "IMG_%04d.JPG", i);
    AddFile(std::string("DCIM/") + name, "photo " + std::to_string(i), modified);
    photos.insert(std::string("/DCIM/") + name);
  }
  PortableDeviceManager_CL manager(CameraPorts());
  auto& device = OpenCamera(manager);
  ASSERT_EQ(device.CollectObjects(), S_OK);

  auto& objects = device.Objects();
  ASSERT_EQ(objects.size(), 28u);
  EXPECT_EQ(objects[0].ObjectId(), "DEVICE");
  EXPECT_EQ(objects[0].GetKind(), Kind::Root);
  EXPECT_EQ(objects[1].ObjectId(), "/");
  EXPECT_EQ(objects[1].GetKind(), Kind::Storage);
  EXPECT_EQ(objects[2].ObjectId(), "/DCIM");
  EXPECT_EQ(objects[2].GetKind(), Kind::Folder);
  std::set<std::string> found;
  for (size_t i = 3; i < objects.size(); ++i) {
    EXPECT_EQ(objects[i].GetKind(), Kind::File);
    found.insert(objects[i].ObjectId());
  }
  EXPECT_EQ(found, photos);

  for (auto& object : objects) {
    ASSERT_EQ(object.ReadProperties(), S_OK) << object.ObjectId();
  }
  const auto& root = objects[0].Props();
  EXPECT_EQ(root.parentId, "");
  EXPECT_EQ(root.fileName, "");
  EXPECT_EQ(root.contentType, content_type::kFunctionalObject);
  const auto& storage = objects[1].Props();
  EXPECT_EQ(storage.name, "Directory Driver");
  EXPECT_EQ(storage.parentId, "DEVICE");
  EXPECT_EQ(storage.contentType, content_type::kFunctionalObject);
  const auto& folder = objects[2].Props();
  EXPECT_EQ(folder.name, "DCIM");
  EXPECT_EQ(folder.parentId, "/");
  EXPECT_EQ(folder.fileName, "") << "a folder is never taken for a file";
  EXPECT_EQ(folder.contentType, content_type::kFolder);
  EXPECT_EQ(folder.format, object_format::kPropertiesOnly);
  const auto& photo = objects[3].Props();
  EXPECT_EQ(photo.parentId, "/DCIM");
  EXPECT_EQ(photo.fileName, photo.name);
  EXPECT_EQ("/DCIM/" + photo.fileName, objects[3].ObjectId());
  EXPECT_EQ(photo.persistentUniqueId, objects[3].ObjectId());
  EXPECT_EQ(photo.contentType, content_type::kImage);
  EXPECT_EQ(photo.format, object_format::kExif);
  EXPECT_EQ(photo.dateCreated, modified);
  EXPECT_EQ(photo.dateModified, modified);
}

TEST_F(PortableDeviceTest, NestedFoldersAreWalkedParentBeforeChildren) {
  // Recent iPhones keep their photos in month folders rather than DCIM.
  AddFile("202306__/IMG_0001.JPG", "a", test::LocalTime(2023, 6, 1));
  AddFile("202306__/Edited/IMG_0001.JPG", "b", test::LocalTime(2023, 6, 2));
  AddFile("202307__/IMG_0002.MOV", "c", test::LocalTime(2023, 7, 1));
  PortableDeviceManager_CL manager(CameraPorts());
  auto& device = OpenCamera(manager);
  ASSERT_EQ(device.CollectObjects(), S_OK);

  std::vector<std::string> ids;
  for (const auto& object : device.Objects()) {
    ids.push_back(object.ObjectId());
  }
  const auto position = [&](const std::string& id) { return std::find(ids.begin(), ids.end(), id) - ids.begin(); };
  ASSERT_EQ(ids.size(), 8u);
  EXPECT_EQ(ids[0], "DEVICE");
  EXPECT_EQ(ids[1], "/");
  EXPECT_LT(position("/202306__"), position("/202306__/IMG_0001.JPG"));
  EXPECT_LT(position("/202306__/IMG_0001.JPG"), position("/202306__/Edited"));
  EXPECT_EQ(position("/202306__/Edited") + 1, position("/202306__/Edited/IMG_0001.JPG"));
  EXPECT_EQ(position("/202307__") + 1, position("/202307__/IMG_0002.MOV"));
}

TEST_F(PortableDeviceTest, SaveToFileReplacesWhatIsThereWithoutWritingThroughItAndStampsTheDeviceDate) {
  const std::time_t modified = test::LocalTime(2019, 3, 4, 5, 6, 7);
  AddFile("DCIM/IMG_0001.JPG", std::string(300000, 'x') + "end", modified);
  test::TempDir local;
  const auto target = local / "IMG_0001.JPG";
  test::WriteBytes(target, "an older and longer file that was here before");
  ASSERT_EQ(::link(target.c_str(), (local / "other-name").c_str()), 0);

  PortableDeviceManager_CL manager(CameraPorts());
  auto& device = OpenCamera(manager);
  ASSERT_EQ(device.CollectObjects(), S_OK);
  auto& photo = device.Objects().back();
  ASSERT_EQ(photo.ReadProperties(), S_OK);
  ASSERT_EQ(photo.SaveToFile(target), S_OK);

  struct stat info {};
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mtim.tv_sec, modified);
  EXPECT_EQ(info.st_atim.tv_sec, modified);
  EXPECT_EQ(test::ReadBytes(target), std::string(300000, 'x') + "end");
  EXPECT_EQ(test::ReadBytes(local / "other-name"), "an older and longer file that was here before");

  EXPECT_NE(device.Objects()[2].SaveToFile(local / "folder"), S_OK) << "a folder has no data";
}

TEST_F(PortableDeviceTest, TheDeviceDateIsOneInstantAndDatesTheFileInTheLocalZone) {
  const test::ScopedTimeZone tokyo("JST-9");
  // 2023/07/14 09:05:03 in Tokyo is 00:05:03 UTC.
  const std::time_t utc = 1689293103;
  ASSERT_EQ(test::LocalTime(2023, 7, 14, 9, 5, 3), utc);
  AddFile("DCIM/MVI_0001.MOV", "movie", utc);
  PortableDeviceManager_CL manager(CameraPorts());
  auto& device = OpenCamera(manager);
  ASSERT_EQ(device.CollectObjects(), S_OK);
  auto& movie = device.Objects().back();
  ASSERT_EQ(movie.ReadProperties(), S_OK);
  EXPECT_EQ(movie.Props().dateModified, utc);
  EXPECT_EQ(movie.Props().contentType, content_type::kVideo);

  test::TempDir local;
  ASSERT_EQ(movie.SaveToFile(local / "MVI_0001.MOV"), S_OK);
  CaptureDate date;
  ASSERT_EQ(ResolveCaptureDate(local / "MVI_0001.MOV", date), 1);
  EXPECT_EQ(DateText(date), "2023/07/14:09:05:03.000");
}

TEST_F(PortableDeviceTest, ADeviceThatGoesAwayGivesErrorsNotACrash) {
  AddFile("DCIM/IMG_0001.JPG", "one", test::LocalTime(2020, 1, 1));
  AddFile("DCIM/100APPLE/IMG_0002.JPG", "two", test::LocalTime(2020, 1, 1));
  PortableDeviceManager_CL manager(CameraPorts());
  auto& device = OpenCamera(manager);

  // Unplugged while the walk is under way: after the first folder.
  int calls = 0;
  const HRESULT walked = device.CollectObjects([&](int) {
    if (++calls == 1) {
      std::filesystem::remove_all(camera.Path());
    }
  });
  EXPECT_TRUE(Failed(walked));
  EXPECT_FALSE(device.IsReachable());

  // An object found before it went cannot be saved; a partly written file is left to the caller.
  test::TempDir local;
  auto& last = device.Objects().back();
  EXPECT_TRUE(Failed(last.SaveToFile(local / "IMG.JPG")));

  EXPECT_EQ(device.Close(), S_OK);
  EXPECT_EQ(device.Close(), S_OK) << "closing twice is harmless";
  EXPECT_FALSE(device.IsOpen());
  EXPECT_TRUE(Failed(device.CollectObjects()));
  EXPECT_TRUE(Failed(last.SaveToFile(local / "IMG.JPG")));
}

} // namespace
} // namespace lumicrate
