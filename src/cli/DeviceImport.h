// The device side of `lumicrate-cli import`: `--device [DESCRIPTION]` (an iPhone unless told
// otherwise) and `--port disk:FOLDER`, the device run, and what its notice and failures mean.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/SelectedRun.h"
#include "device/NoticeSink.h"

namespace lumicrate {
class AppContext;
class Progress_CL;
} // namespace lumicrate

namespace lumicrate::cli {

struct DeviceArguments {
  bool requested = false;
  std::optional<std::string> description;
  std::vector<DevicePort> ports;

  // Without a description: "Apple iPhone", or the directory driver's for a folder given by --port.
  DeviceQuery Query() const;
  // How the command names the source it reads: デバイス「Apple iPhone」.
  std::string SourceText() const;
};

// Takes "--device [DESCRIPTION]" or "--port disk:FOLDER" at args[i], moving i past any value
// it uses. Returns false when args[i] is neither option; error receives a usage error.
bool ParseDeviceOption(const std::vector<std::string>& args, size_t& i, DeviceArguments& device, std::string& error);

// The folder or device run (as context.Mode says) from a terminal. A notice is kept until the
// progress line is done.
class CliDeviceImport : public NoticeSink {
public:
  HRESULT Run(AppContext& context, Progress_CL& progress, const DeviceArguments& arguments, SelectedRunReport& report);
  void ShowNotice(const std::string& caption, const std::string& text) override;

  // The notices the run showed, and for a failure what to do about the device; nothing after a
  // run that did not read a device.
  void PrintOutcome(HRESULT result) const;

private:
  std::vector<std::string> notices_;
  std::optional<DeviceImportReport> report_;
  std::string description_;
};

} // namespace lumicrate::cli
