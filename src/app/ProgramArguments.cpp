// A folder that is not there is refused before the window opens, so the person who typed it
// hears it at once and no import is offered for nothing.
#include "app/ProgramArguments.h"

#include <algorithm>

#include "platform/CleanPath.h"

namespace lumicrate {

ProgramArguments ParseProgramArguments(const std::vector<std::string>& args) {
  ProgramArguments parsed;
  if (std::ranges::any_of(args, [](const std::string& arg) { return arg == "--help" || arg == "-h"; })) {
    parsed.action = ProgramArguments::Action::Help;
    return parsed;
  }
  const auto usage = [&parsed](std::string error) {
    parsed.action = ProgramArguments::Action::Usage;
    parsed.error = std::move(error);
    return parsed;
  };
  if (args.size() > 1) {
    return usage("取り込むフォルダは一つだけ指定します");
  }
  if (args.empty()) {
    return parsed;
  }
  const std::string& folder = args.front();
  if (folder.empty() || folder.starts_with("-")) {
    return usage("不明な引数です: " + folder);
  }
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) {
    return usage(
        std::string(std::filesystem::exists(folder, ec) ? "フォルダではありません: " : "フォルダがありません: ") +
        folder);
  }
  parsed.folder = CleanPath(folder);
  return parsed;
}

const char* ProgramUsage() {
  return "使い方: lumicrate [フォルダ]\n"
         "      写真＆動画の取り込みと写真一覧の生成を行うウィンドウを開きます。\n"
         "      フォルダを指定すると、ウィンドウを開いたあと、そのフォルダの取り込みを確認します。\n";
}

} // namespace lumicrate
