// "last_day" holds only the day of the month of the last check that left nothing pending, so
// a check on the 5th is skipped after one on the 5th of any earlier month; that is accepted.
#include "update/UpdateCheck_CL.h"

#include <utility>

#include "app/ActivityLog.h"
#include "platform/Utf.h"
#include "update/VersionFile.h"

namespace lumicrate {
namespace {

// Set while a notice is on screen, so a check started meanwhile does nothing.
bool noticeShowing = false;

class NoticeShowing {
public:
  NoticeShowing() { noticeShowing = true; }
  ~NoticeShowing() { noticeShowing = false; }
  NoticeShowing(const NoticeShowing&) = delete;
  NoticeShowing& operator=(const NoticeShowing&) = delete;
};

bool IsSuccess(std::uint32_t status) {
  return status >= 200 && status <= 299;
}

} // namespace

UpdateCheck_CL::UpdateCheck_CL(Inifile_CL& settings, const Seams& seams, std::string serverName, std::string objectName,
                               HttpTimeouts timeouts)
    : settings_(settings), seams_(seams), serverName_(std::move(serverName)), objectName_(std::move(objectName)),
      timeouts_(timeouts) {}

void UpdateCheck_CL::Check(const std::string& caption, const std::string& installedVersion) {
  const std::int32_t force = settings_.GetInt(kSection, "force", 0);
  if (noticeShowing) {
    return;
  }
  if (settings_.GetInt(kSection, "notify", 0) != 0) {
    return;
  }
  const std::int32_t lastDay = settings_.GetInt(kSection, "last_day", 0);
  const int today = seams_.clock.DayOfMonth();
  if (force == 0 && lastDay == today) {
    return;
  }

  const std::optional<Response> response = Fetch();
  if (!response) {
    return;
  }
  VersionFile file = VersionFile::Parse(response->body);
  // An error answer is no version file even when it is not an HTML page ("404 page not found"
  // would otherwise read as version "404 pag", newer than any release).
  if (!IsSuccess(response->status)) {
    file.latestVersion = VersionFile::kNotAVersionFile;
  }
  // Code unit by code unit, a proper prefix first: "1.0.0" is older than "1.0.0.0", and
  // "1.0.9" is newer than "1.0.10".
  if (force != 1 && Utf8ToUtf16(installedVersion) >= file.latestVersion) {
    settings_.WriteInt(kSection, "last_day", today);
    return;
  }
  Notify(caption, installedVersion, file.latestVersion, file.pageAddress, today);
}

std::optional<UpdateCheck_CL::Response> UpdateCheck_CL::Fetch() const {
  InetHttp_CL http(timeouts_);
  if (!http.OpenInternet() || !http.Connect(serverName_) || !http.SendGet(objectName_)) {
    return std::nullopt;
  }
  // Without a Content-Length there is no telling whether the whole file arrived.
  const std::int32_t length = http.ContentLength();
  if (length < 0 || http.ReadBody(length) != length) {
    return std::nullopt;
  }
  return Response{http.StatusCode(), std::string(reinterpret_cast<const char*>(http.Body()), length)};
}

void UpdateCheck_CL::Notify(const std::string& caption, const std::string& installedVersion,
                            const std::u16string& latestVersion, const std::u16string& pageAddress, int today) {
  UpdateNoticeContent notice;
  notice.caption = caption;
  notice.latestVersion = Utf16ToUtf8(latestVersion);
  notice.installedVersion = installedVersion;
  notice.text = UpdateNoticeText(notice.latestVersion, installedVersion);
  if (IsOpenablePageAddress(pageAddress)) {
    notice.pageAddress = Utf16ToUtf8(pageAddress);
  } else {
    Log().Write("ページアドレスが http:// か https:// で始まらないか制御文字を含むため開きません = \"%s\"",
                LoggableAddress(pageAddress).c_str());
  }

  const NoticeShowing showing;
  switch (seams_.notice.Show(notice)) {
  case NoticeAnswer::GoToSite:
    // "last_day" stays, so the notice comes back at every start until the update is installed.
    if (!notice.pageAddress.empty()) {
      seams_.shell.OpenWithShell(notice.pageAddress);
    }
    break;
  case NoticeAnswer::RemindLater:
    settings_.WriteInt(kSection, "last_day", today);
    break;
  case NoticeAnswer::Closed:
    break;
  }
}

} // namespace lumicrate
