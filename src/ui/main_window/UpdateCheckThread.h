// The update check off the user-interface thread: the HTTP exchange runs on its own thread,
// and a notice that is due is shown on the user-interface thread as soon as the answer is in,
// while the window stays responsive whatever the network does.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "update/UpdateCheck_CL.h"

class QObject;

namespace lumicrate::ui {

class UpdateCheckThread {
public:
  struct Setup {
    Inifile_CL& settings;
    // Shown on the user-interface thread.
    UpdateNotice& notice;
    DesktopShell& shell;
    const Clock& clock;
    std::string server = kProductHost;
    HttpTimeouts timeouts = {};
  };

  // uiContext: the object on whose thread the notice is shown; it outlives this object.
  UpdateCheckThread(const Setup& setup, QObject* uiContext);
  // A request under way is cancelled and a notice still waiting to be shown is dropped.
  ~UpdateCheckThread();
  UpdateCheckThread(const UpdateCheckThread&) = delete;
  UpdateCheckThread& operator=(const UpdateCheckThread&) = delete;

  void Start(const std::string& caption, const std::string& installedVersion);
  // True once the check has ended (or was never started).
  bool Done() const;

private:
  // What the check on its thread sees as the notice: a call over to the user-interface thread.
  class Bridge final : public UpdateNotice {
  public:
    Bridge(UpdateCheckThread& owner) : owner_(owner) {}
    NoticeAnswer Show(const UpdateNoticeContent& notice) override;

  private:
    UpdateCheckThread& owner_;
  };

  Setup setup_;
  QObject* uiContext_;
  Bridge bridge_;

  mutable std::mutex mutex_;
  std::condition_variable answered_;
  bool closing_ = false;
  std::atomic<bool> cancel_ = false;
  bool done_ = true;
  std::optional<NoticeAnswer> answer_;
  std::thread thread_;
};

} // namespace lumicrate::ui
