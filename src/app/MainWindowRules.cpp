// A symbolic link to a folder counts as a sub-folder, as a folder the user sees in a file
// manager does.
#include "app/MainWindowRules.h"

#include <cstdio>

#include "platform/Utf.h"

namespace lumicrate {

std::string RemoveOneTrailingSeparator(std::string text) {
  if (text.size() > 1 && text.back() == '/') {
    text.pop_back();
  }
  return text;
}

std::string ImportConfirmationText(ImportMode mode, const std::string& sourceFolder, const std::string& deviceName) {
  std::string text = mode == ImportMode::Folder ? "フォルダ\"" + sourceFolder + "\"が選択されました。\r\n"
                                                : "デバイス\"" + deviceName + "\"が接続されました。\r\n";
  text += "写真、動画ファイルの取り込みを開始しますか？\r\n\r\n";
  text += "(iPhoneの場合は、「このコンピュータを信頼しますか？」とiPhoneに表示されていますので、「信頼」を選択して"
          "おいてください。)\r\n";
  return text;
}

std::string RunEndText(ImportMode mode, HRESULT result, const SelectedRunReport& report) {
  const bool album = mode == ImportMode::Album;
  if (Succeeded(result)) {
    return album ? "写真一覧の生成が完了しました。" : "写真の取り込みが完了しました。";
  }
  if (mode == ImportMode::Device && !report.deviceFound) {
    return "デバイスが見つからないため、写真を取り込めませんでした。\r\n接続を確かめてから、もう一度お試しください。";
  }
  char code[32];
  std::snprintf(code, sizeof code, "0x%08x", static_cast<unsigned>(result));
  const std::string reason = ResultMessage(result);
  std::string text = album ? "写真一覧の生成に失敗しました。" : "写真の取り込みに失敗しました。";
  text += "\r\n(" + std::string(code) + (reason.empty() ? "" : " " + reason) + ")";
  if (album) {
    return text;
  }
  if (!report.failedSource.empty()) {
    text +=
        "\r\n\r\nコピー元 = " + report.failedSource.string() + "\r\nコピー先 = " + report.failedDestination.string();
  }
  if (report.started) {
    text += "\r\n\r\nそれまでにコピーしたファイルの数 = " + std::to_string(report.copiedFiles);
  }
  return text;
}

std::filesystem::path AlbumIndexPath(const std::string& outputFolder) {
  if (outputFolder.empty()) {
    return {};
  }
  return std::filesystem::path(RemoveOneTrailingSeparator(outputFolder)) / kAlbumFolderName / kAlbumIndexName;
}

bool CanGenerateAlbum(const std::filesystem::path& outputFolder) {
  if (outputFolder.empty()) {
    return false;
  }
  const std::string album = AsciiToLower(kAlbumFolderName);
  std::error_code ec;
  for (auto it = std::filesystem::directory_iterator(outputFolder, ec);
       !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    std::error_code typeError;
    if (it->is_directory(typeError) && AsciiToLower(it->path().filename().string()) != album) {
      return true;
    }
  }
  return false;
}

} // namespace lumicrate
