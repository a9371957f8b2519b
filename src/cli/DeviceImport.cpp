// A device the program cannot find or cannot have is explained in a sentence, since the log's
// result code alone does not tell a person what to do.
#include "cli/DeviceImport.h"

#include <cstdio>

#include "device/PortableDeviceManager_CL.h"

namespace lumicrate::cli {
namespace {

constexpr char kDirectoryDescription[] = "Directory Browse";

} // namespace

DeviceQuery DeviceArguments::Query() const {
  DeviceQuery query;
  query.extraDevices = ports;
  if (description) {
    query.description = *description;
  } else if (!ports.empty()) {
    query.description = kDirectoryDescription;
  }
  return query;
}

std::string DeviceArguments::SourceText() const {
  return "デバイス「" + Query().description + "」";
}

bool ParseDeviceOption(const std::vector<std::string>& args, size_t& i, DeviceArguments& device, std::string& error) {
  const std::string& arg = args[i];
  if (arg == "--device") {
    device.requested = true;
    if (i + 1 < args.size() && !args[i + 1].starts_with("--")) {
      device.description = args[++i];
    }
    return true;
  }
  if (arg == "--port") {
    device.requested = true;
    constexpr std::string_view kDisk = "disk:";
    if (i + 1 == args.size() || !std::string_view(args[i + 1]).starts_with(kDisk) ||
        args[i + 1].size() == kDisk.size()) {
      error = "--port には disk:フォルダ を指定します";
      return true;
    }
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::absolute(args[++i].substr(kDisk.size()), ec).lexically_normal();
    if (folder.has_relative_path() && !folder.has_filename()) {
      folder = folder.parent_path();
    }
    if (!std::filesystem::is_directory(folder, ec)) {
      error = "--port のフォルダがありません: " + folder.string();
      return true;
    }
    device.ports.push_back(DirectoryCamera(folder));
    return true;
  }
  return false;
}

HRESULT CliDeviceImport::Run(AppContext& context, Progress_CL& progress, const DeviceArguments& arguments,
                             SelectedRunReport& report) {
  const DeviceQuery query = arguments.Query();
  description_ = query.description;
  const HRESULT hr = RunSelectedImport(context, progress, *this, query, &report);
  if (context.Mode == ImportMode::Device && report.started) {
    report_ = report;
  }
  return hr;
}

void CliDeviceImport::ShowNotice(const std::string& caption, const std::string& text) {
  notices_.push_back(caption + ": " + text);
}

void CliDeviceImport::PrintOutcome(HRESULT result) const {
  for (const std::string& notice : notices_) {
    std::printf("%s\n", notice.c_str());
  }
  std::fflush(stdout);
  if (!report_ || !Failed(result)) {
    return;
  }
  if (!report_->deviceFound) {
    std::fprintf(stderr,
                 "デバイス「%s」が見つかりません。接続中のデバイスは「lumicrate-cli devices」で確かめられます。\n",
                 description_.c_str());
  }
}

} // namespace lumicrate::cli
