// A symbolic link to a folder counts as a sub-folder, as a folder the user sees in a file
// manager does.
#include "app/MainWindowRules.h"

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
