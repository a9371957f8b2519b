// The check never waits on a window that has gone: closing wakes a check waiting for its
// notice's answer, which then counts as closed (nothing is written, the notice comes back at
// the next start).
#include "ui/main_window/UpdateCheckThread.h"

#include <QObject>

namespace lumicrate::ui {

UpdateCheckThread::UpdateCheckThread(const Setup& setup, QObject* uiContext)
    : setup_(setup), uiContext_(uiContext), bridge_(*this) {
  setup_.timeouts.cancel = &cancel_;
}

UpdateCheckThread::~UpdateCheckThread() {
  {
    std::lock_guard lock(mutex_);
    closing_ = true;
  }
  cancel_ = true;
  answered_.notify_all();
  if (thread_.joinable()) {
    thread_.join();
  }
}

void UpdateCheckThread::Start(const std::string& caption, const std::string& installedVersion) {
  {
    std::lock_guard lock(mutex_);
    done_ = false;
  }
  thread_ = std::thread([this, caption, installedVersion] {
    UpdateCheck_CL check(setup_.settings, {bridge_, setup_.shell, setup_.clock}, setup_.server,
                         UpdateCheck_CL::kObjectName, setup_.timeouts);
    check.Check(caption, installedVersion);
    std::lock_guard lock(mutex_);
    done_ = true;
  });
}

bool UpdateCheckThread::Done() const {
  std::lock_guard lock(mutex_);
  return done_;
}

NoticeAnswer UpdateCheckThread::Bridge::Show(const UpdateNoticeContent& notice) {
  UpdateCheckThread& owner = owner_;
  std::unique_lock lock(owner.mutex_);
  if (owner.closing_) {
    return NoticeAnswer::Closed;
  }
  owner.answer_.reset();
  QMetaObject::invokeMethod(
      owner.uiContext_,
      [&owner, notice] {
        const NoticeAnswer answer = owner.setup_.notice.Show(notice);
        std::lock_guard answerLock(owner.mutex_);
        owner.answer_ = answer;
        owner.answered_.notify_all();
      },
      Qt::QueuedConnection);
  owner.answered_.wait(lock, [&owner] { return owner.closing_ || owner.answer_.has_value(); });
  return owner.answer_.value_or(NoticeAnswer::Closed);
}

} // namespace lumicrate::ui
