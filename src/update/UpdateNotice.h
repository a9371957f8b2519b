// The notice that a newer version is out, as the update check hands it to the user interface
// (a dialog over the main window, or a message box without one), and the user's answer.
#pragma once

#include <string>

namespace lumicrate {

enum class NoticeAnswer : int {
  Closed = 0,      // the window's close box: nothing is written, the notice returns next start
  GoToSite = 1,    // "　サイトへ移動する　"
  RemindLater = 2, // "後日通知する　"
};

struct UpdateNoticeContent {
  std::string caption;
  std::string latestVersion;
  std::string installedVersion;
  std::string text;
  // Empty when the version file named no address that may be opened; the notice then has
  // no page to offer.
  std::string pageAddress;
};

class UpdateNotice {
public:
  virtual ~UpdateNotice() = default;
  // Shows the notice modally and returns the user's answer.
  virtual NoticeAnswer Show(const UpdateNoticeContent& notice) = 0;
};

// "最新のバージョン<latest>が公開されています。…" with both versions, CR LF line breaks.
std::string UpdateNoticeText(const std::string& latestVersion, const std::string& installedVersion);

} // namespace lumicrate
