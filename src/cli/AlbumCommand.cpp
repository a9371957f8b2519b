// `lumicrate-cli album [OUTPUT]`: rebuilds the photo album of an output folder from a
// terminal, with the settings and log of the desktop program. It never changes the settings.
#include <cstdio>
#include <string>
#include <vector>

#include "album/BuildAlbum.h"
#include "app/AppContext.h"
#include "app/Inifile_CL.h"
#include "app/SelectedRun.h"
#include "app/Startup.h"
#include "cli/CliCommand.h"
#include "cli/TerminalProgress_CL.h"
#include "device/NoticeSink.h"
#include "platform/HResult.h"

namespace lumicrate::cli {
namespace {

// An album run has nothing to tell a person on the way.
class NoNotices final : public NoticeSink {
public:
  void ShowNotice(const std::string& /*caption*/, const std::string& /*text*/) override {}
};

int UsageError(const std::string& message) {
  std::fprintf(stderr, "lumicrate-cli album: %s\n使い方: lumicrate-cli album [出力先]\n", message.c_str());
  return kExitUsage;
}

int RunAlbum(const std::vector<std::string>& args) {
  if (args.size() > 1) {
    return UsageError("出力先は一つだけ指定します");
  }
  if (!args.empty() && (args[0].empty() || args[0].starts_with("--"))) {
    return UsageError("不明な引数です: " + args[0]);
  }
  StartUp({.singleInstance = false});
  const std::string output = args.empty() ? StoredOutputFolder(Settings()) : args[0];
  if (output.empty()) {
    return UsageError("出力先フォルダを指定してください。(引数、または設定の OutputFolder)");
  }
  std::error_code ec;
  if (!std::filesystem::is_directory(output, ec)) {
    return UsageError("出力先のフォルダがありません: " + output);
  }
  const std::filesystem::path folder = std::filesystem::absolute(output).lexically_normal();
  const AlbumOptions options = MakeAlbumOptions(nullptr, folder);
  TerminalProgress_CL progress(options.ProgressText);
  AppContext& context = Context();
  context.Mode = ImportMode::Album;
  context.OutputFolder = options.OutputFolder;
  std::printf("出力先: %s\n", options.OutputFolder.c_str());
  std::fflush(stdout);

  NoNotices notices;
  const HRESULT hr = RunSelectedImport(context, progress, notices);
  progress.Finish();

  if (Failed(hr)) {
    const int err = ErrnoFromHResult(hr);
    const std::filesystem::path missing = MissingTemplateFile(options);
    const std::string where =
        missing.empty() ? options.AlbumFolder.string() : "テンプレートがありません: " + missing.string();
    std::fprintf(stderr, "写真一覧の生成に失敗しました。 0x%08x%s%s\n%s\n", static_cast<unsigned>(hr), err ? " " : "",
                 err ? SystemMessage(err).c_str() : "", where.c_str());
    return kExitFailed;
  }
  std::printf("写真一覧の生成が完了しました。\n%s\n", (options.AlbumFolder / options.IndexFileName).c_str());
  return kExitOk;
}

const RegisterCommand registered({"album", "[出力先]",
                                  "出力先フォルダの写真から写真一覧 (PhotoAlbum/index.html) を作り直します", RunAlbum});

} // namespace
} // namespace lumicrate::cli
