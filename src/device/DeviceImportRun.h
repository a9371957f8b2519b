// The import from a portable device (the iPhone, or from the command line any camera or phone
// libgphoto2 reaches): each object is saved into the data folder's tmp with the device's date,
// then skipped as a duplicate or copied into its date folder like a file found in a folder.
#pragma once

#include <filesystem>

#include "device/DeviceQuery.h"
#include "import/FolderImportRun.h"
#include "platform/HResult.h"

namespace lumicrate {

class AppContext;
class NoticeSink;
class Progress_CL;

// Shown when a run found nothing to copy and nothing already imported on a device that showed
// no files at all: an iPhone that has not trusted the computer shows none.
inline constexpr char kNoPhotosNotice[] =
    "写真の枚数が０枚でした。「このコンピュータを信頼しますか？」とiPhoneに表示されて"
    "いる場合は、「信頼」を選択してください。";
// Shown instead when the device showed files but none of a kind that is imported (an iPhone
// that keeps HEIC originals shows only .HEIC files).
inline constexpr char kNoImportTargetsNotice[] =
    "デバイスにはファイルがありましたが、取り込む種類のファイルが０枚でした。"
    "取り込むファイルの拡張子は「アプリ設定」で追加できます。";

// What a caller hears of a device run: the counts and failed copy of a folder run, and whether a
// device with the wanted description was there at all.
struct DeviceImportReport : ImportReport {
  bool deviceFound = false;
};

// 0 when every object was handled and the output is safely on disk. Otherwise the failure that
// ended the run: no such device, a device that cannot be opened or that went away,
// the first failed copy (its temporary file is kept), or closing the device. report, when
// given, receives the counts as far as the run got and the files of a failed copy.
HRESULT DeviceImportRun(AppContext& context, Progress_CL& progress, const std::filesystem::path& output,
                        NoticeSink& notices, const DeviceQuery& query = {}, DeviceImportReport* report = nullptr);

} // namespace lumicrate
