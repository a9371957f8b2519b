// The offscreen platform needs no display, so the window tests run anywhere CI does.
#include "ui/UiFixture.h"

#include <QElapsedTimer>
#include <QThread>
#include <cstdlib>

#include "ui/framework/UiApplication.h"

namespace lumicrate::test {

QApplication& UiApp() {
  static int argc = 1;
  static char name[] = "test_ui";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    auto* created = new QApplication(argc, argv);
    ui::SetUpApplication(*created);
    return created;
  }();
  return *app;
}

void UiTest::SetUp() {
  ScratchHomeTest::SetUp();
  UiApp();
}

void ScriptedDesktop::Inform(QWidget* owner, const QString& text, const QString& caption, ui::BoxIcon icon) {
  {
    std::lock_guard lock(mutex_);
    boxes_.push_back({text, caption, "inform", icon});
  }
  if (whileShown) {
    whileShown(owner);
  }
}

bool ScriptedDesktop::AskYesNo(QWidget* owner, const QString& text, const QString& caption) {
  {
    std::lock_guard lock(mutex_);
    boxes_.push_back({text, caption, "ask", ui::BoxIcon::Question});
  }
  if (whileShown) {
    whileShown(owner);
  }
  if (answers.empty()) {
    return false;
  }
  const bool answer = answers.front();
  answers.pop_front();
  return answer;
}

std::optional<QString> ScriptedDesktop::Choose(QWidget* /*owner*/, const QString& title, const QString& initialFolder) {
  chooserTitles.push_back(title);
  chooserInitialFolders.push_back(initialFolder);
  if (folders.empty()) {
    return std::nullopt;
  }
  const QString folder = folders.front();
  folders.pop_front();
  if (folder.isEmpty()) {
    return std::nullopt;
  }
  return folder;
}

void ScriptedDesktop::OpenWithShell(const std::string& fileOrAddress) {
  std::lock_guard lock(mutex_);
  opened_.push_back(fileOrAddress);
}

std::vector<ShownBox> ScriptedDesktop::Boxes() const {
  std::lock_guard lock(mutex_);
  return boxes_;
}

std::vector<std::string> ScriptedDesktop::Opened() const {
  std::lock_guard lock(mutex_);
  return opened_;
}

bool WaitFor(const std::function<bool()>& done, int milliseconds) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < milliseconds) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
  return done();
}

} // namespace lumicrate::test
