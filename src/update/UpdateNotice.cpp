// The notice's wording, shared by the dialog over the main window and the message box shown
// without one, so both read the same.
#include "update/UpdateNotice.h"

namespace lumicrate {

std::string UpdateNoticeText(const std::string& latestVersion, const std::string& installedVersion) {
  // The last line opens with U+3000 IDEOGRAPHIC SPACE.
  return "最新のバージョン" + latestVersion + "が公開されています。" + "\r\n" + "サイトへ移動しますか？\r\n\r\n" +
         "\u3000（現在インストールされているバージョンは" + installedVersion + "です。）\r\n";
}

} // namespace lumicrate
