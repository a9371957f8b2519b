// The once-a-day update check at start: fetches the vendor's version file and, when it names a
// newer version than the installed one, offers to open the download page it names.
#pragma once

#include <optional>
#include <string>

#include "app/Inifile_CL.h"
#include "app/Product.h"
#include "platform/DesktopSeams.h"
#include "update/InetHttp_CL.h"
#include "update/UpdateNotice.h"

namespace lumicrate {

class UpdateCheck_CL {
public:
  static constexpr const char* kObjectName = "Lumicrate/Version.txt";
  static constexpr const char* kSection = "VERSION";

  struct Seams {
    UpdateNotice& notice;
    DesktopShell& shell;
    const Clock& clock;
  };

  // serverName is a host, optionally with ":port"; the program always asks its own product host.
  UpdateCheck_CL(Inifile_CL& settings, const Seams& seams, std::string serverName = kProductHost,
                 std::string objectName = kObjectName, HttpTimeouts timeouts = {});
  virtual ~UpdateCheck_CL() = default;

  // Runs at most once per calendar day unless "force" says otherwise, and never while a notice
  // from an earlier call is still open. Network failures are logged by the HTTP client and
  // otherwise ignored, so start-up always goes on; they leave "last_day" alone, so the next
  // start tries again.
  void Check(const std::string& caption, const std::string& installedVersion);

private:
  struct Response {
    std::uint32_t status = 0;
    std::string body;
  };
  // The response, or nothing when the request failed or the body did not arrive whole.
  std::optional<Response> Fetch() const;
  void Notify(const std::string& caption, const std::string& installedVersion, const std::u16string& latestVersion,
              const std::u16string& pageAddress, int today);

  Inifile_CL& settings_;
  Seams seams_;
  std::string serverName_;
  std::string objectName_;
  HttpTimeouts timeouts_;
};

} // namespace lumicrate
