// `lumicrate-cli devices [--port disk:FOLDER]`: every camera and phone libgphoto2 detects (with
// the name, description and manufacturer the program knows it by) and the removable volumes.
#include <cstdio>

#include "app/Startup.h"
#include "cli/CliCommand.h"
#include "cli/DeviceImport.h"
#include "device/PortableDeviceManager_CL.h"
#include "device/RemovableVolumes.h"

namespace lumicrate::cli {
namespace {

int UsageError(const std::string& message) {
  std::fprintf(stderr, "lumicrate-cli devices: %s\n使い方: lumicrate-cli devices [--port disk:フォルダ]\n",
               message.c_str());
  return kExitUsage;
}

int RunDevices(const std::vector<std::string>& args) {
  DeviceArguments device;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string error;
    if (args[i] == "--device" || !ParseDeviceOption(args, i, device, error)) {
      return UsageError("不明な引数です: " + args[i]);
    }
    if (!error.empty()) {
      return UsageError(error);
    }
  }
  StartUp({.singleInstance = false});

  PortableDeviceManager_CL manager(device.ports);
  const HRESULT hr = manager.EnumerateDevices();
  if (Failed(hr)) {
    std::fprintf(stderr, "デバイスの一覧を取得できませんでした。 0x%08x\n", static_cast<unsigned>(hr));
    return kExitFailed;
  }
  std::printf("カメラ・スマートフォン: %d\n", manager.DeviceCount());
  for (int i = 0; i < manager.DeviceCount(); ++i) {
    const auto& found = manager.DeviceAt(i);
    std::printf("  [%d] %s\n      説明: %s\n", i, found.FriendlyName().c_str(), found.Description().c_str());
    if (!found.Manufacturer().empty()) {
      std::printf("      メーカー: %s\n", found.Manufacturer().c_str());
    }
    std::printf("      ポート: %s\n", found.DeviceId().c_str());
  }

  const std::vector<RemovableVolume> volumes = ListRemovableVolumes();
  std::printf("リムーバブルボリューム: %zu\n", volumes.size());
  for (const RemovableVolume& volume : volumes) {
    std::string name = volume.vendor;
    if (!volume.model.empty()) {
      name += (name.empty() ? "" : " ") + volume.model;
    }
    std::printf("  %s (%s%s%s)\n", volume.mountPoint.c_str(), volume.source.c_str(), name.empty() ? "" : ", ",
                name.c_str());
  }
  std::printf("取り込むには: lumicrate-cli import --device [説明] --output 出力先 (説明を省くと %s)\n",
              kIPhoneDescription);
  return kExitOk;
}

const RegisterCommand registered({"devices", "[--port disk:フォルダ]",
                                  "接続中のカメラ・スマートフォンとリムーバブルボリュームを一覧にします", RunDevices});

} // namespace
} // namespace lumicrate::cli
