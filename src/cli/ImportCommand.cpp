// `lumicrate-cli import SOURCE|--device [DESCRIPTION] [--output DIR] [--layout N]`: the folder or
// device run from a terminal, with the desktop program's settings (read, never changed) and log.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/AppContext.h"
#include "app/Inifile_CL.h"
#include "app/Startup.h"
#include "cli/CliCommand.h"
#include "cli/DeviceImport.h"
#include "cli/TerminalProgress_CL.h"
#include "import/DestinationLayout.h"
#include "platform/CleanPath.h"
#include "platform/HResult.h"

namespace lumicrate::cli {
namespace {

struct ImportArguments {
  std::filesystem::path source;
  DeviceArguments device;
  std::optional<std::filesystem::path> output;
  std::int32_t layout = kNestedDayLayout;
};

int UsageError(const std::string& message) {
  std::fprintf(
      stderr,
      "lumicrate-cli import: %s\n使い方: lumicrate-cli import 取り込み元|--device [説明] [--port disk:フォルダ] "
      "[--output 出力先] [--layout 0-13]\n",
      message.c_str());
  return kExitUsage;
}

bool ParseLayout(const std::string& text, std::int32_t& layout) {
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || value < 0 || value > kNestedDayLayout) {
    return false;
  }
  layout = static_cast<std::int32_t>(value);
  return true;
}

// Returns kExitOk with the arguments filled, or the exit code of a usage error.
int ParseArguments(const std::vector<std::string>& args, ImportArguments& parsed) {
  std::optional<std::filesystem::path> source;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--output" || arg == "--layout") {
      if (i + 1 == args.size()) {
        return UsageError(arg + " の値がありません");
      }
      const std::string& value = args[++i];
      if (arg == "--layout" && !ParseLayout(value, parsed.layout)) {
        return UsageError("--layout は 0 から 13 の数です: " + value);
      }
      if (arg == "--output") {
        if (value.empty()) {
          return UsageError("--output が空です");
        }
        parsed.output = value;
      }
    } else if (std::string error; ParseDeviceOption(args, i, parsed.device, error)) {
      if (!error.empty()) {
        return UsageError(error);
      }
    } else if (arg.starts_with("--")) {
      return UsageError("不明なオプションです: " + arg);
    } else if (source) {
      return UsageError("取り込み元は一つだけ指定します");
    } else {
      source = arg;
    }
  }
  if (parsed.device.requested) {
    return source ? UsageError("取り込み元のフォルダと --device は一緒に指定できません") : kExitOk;
  }
  if (!source || source->empty()) {
    return UsageError("取り込み元がありません");
  }
  std::error_code ec;
  if (!std::filesystem::is_directory(*source, ec)) {
    return UsageError((std::filesystem::exists(*source, ec) ? "取り込み元がフォルダではありません: "
                                                            : "取り込み元のフォルダがありません: ") +
                      source->string());
  }
  parsed.source = CleanPath(*source);
  return kExitOk;
}

int RunImport(const std::vector<std::string>& args) {
  ImportArguments arguments;
  if (const int code = ParseArguments(args, arguments); code != kExitOk) {
    return code;
  }
  StartUp({.singleInstance = false});
  AppContext& context = Context();
  // A terminal run names its source itself, so it skips the desktop's look for an iPhone
  // (which loads every camera driver of libgphoto2).
  context.LoadImportSettings(Settings());
  const std::string stored = StoredOutputFolder(Settings());
  if (!arguments.output && stored.empty()) {
    return UsageError("出力先フォルダを指定してください。(--output、または設定の OutputFolder)");
  }
  const std::filesystem::path output = CleanPath(arguments.output ? *arguments.output : std::filesystem::path(stored));
  context.OutputFormatType = arguments.layout;
  context.Mode = arguments.device.requested ? ImportMode::Device : ImportMode::Folder;
  context.SourceFolder = arguments.source;
  context.OutputFolder = output;

  const std::string sourceText = arguments.device.requested ? arguments.device.SourceText() : arguments.source.string();
  std::printf("取り込み元: %s\n出力先: %s\n", sourceText.c_str(), output.c_str());
  std::fflush(stdout);

  TerminalProgress_CL progress("取り込み中");
  SelectedRunReport report;
  CliDeviceImport device;
  const HRESULT hr = device.Run(context, progress, arguments.device, report);
  progress.Finish();

  std::printf("入力ファイルの数   = %d\n重複ファイルの数   = %d\nコピーファイルの数 = %d\n", report.inputFiles,
              report.duplicates, report.copiedFiles);
  device.PrintOutcome(hr);
  if (Failed(hr)) {
    const int err = ErrnoFromHResult(hr);
    std::fprintf(stderr, "取り込みに失敗しました。 0x%08x%s%s\n", static_cast<unsigned>(hr), err ? " " : "",
                 err ? SystemMessage(err).c_str() : "");
    if (!report.failedSource.empty()) {
      std::fprintf(stderr, "コピー元 = %s\nコピー先 = %s\n", report.failedSource.c_str(),
                   report.failedDestination.c_str());
    }
    std::fflush(stdout);
    return kExitFailed;
  }
  std::printf("写真の取り込みが完了しました。\n");
  return kExitOk;
}

const RegisterCommand registered(
    {"import", "取り込み元|--device [説明] [--port disk:フォルダ] [--output 出力先] [--layout 0-13]",
     "フォルダやメモリーカード、iPhone などのデバイスの写真・動画・音声を日付のフォルダへ取り込みます", RunImport});

} // namespace
} // namespace lumicrate::cli
