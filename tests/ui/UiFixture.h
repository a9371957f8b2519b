// Shared pieces of the window tests: the offscreen application, a desktop whose message boxes,
// folder chooser and shell are answered and recorded by the test, and control lookup by id.
#pragma once

#include <QApplication>
#include <QWidget>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/DesktopSeams.h"
#include "support/TestSupport.h"
#include "ui/framework/ControlBase_CL.h"
#include "ui/framework/UiSeams.h"

namespace lumicrate::test {

// The one application of the test program, on the offscreen platform.
QApplication& UiApp();

struct ShownBox {
  QString text;
  QString caption;
  std::string kind; // "inform" or "ask"
  ui::BoxIcon icon = ui::BoxIcon::Information;
};

// Answers every box and chooser from queues the test fills, and records what was shown and
// opened. A box asked without a queued answer counts as "no"; a chooser as cancelled.
class ScriptedDesktop : public ui::MessageBoxes, public ui::FolderChooser, public DesktopShell {
public:
  void Inform(QWidget* owner, const QString& text, const QString& caption, ui::BoxIcon icon) override;
  bool AskYesNo(QWidget* owner, const QString& text, const QString& caption) override;
  std::optional<QString> Choose(QWidget* owner, const QString& title, const QString& initialFolder) override;
  void OpenWithShell(const std::string& fileOrAddress) override;

  std::vector<ShownBox> Boxes() const;
  std::vector<std::string> Opened() const;

  std::deque<bool> answers;
  // An empty folder stands for a cancelled chooser.
  std::deque<QString> folders;
  std::vector<QString> chooserTitles;
  std::vector<QString> chooserInitialFolders;
  // Runs while a box is shown, with the box's owner (to look at the windows at that moment).
  std::function<void(QWidget* owner)> whileShown;

private:
  mutable std::mutex mutex_;
  std::vector<ShownBox> boxes_;
  std::vector<std::string> opened_;
};

// A test with its own HOME and the application running.
class UiTest : public ScratchHomeTest {
protected:
  void SetUp() override;
};

// The control with the id below root, or null.
template <class Widget_T = QWidget> Widget_T* FindControl(const QWidget& root, int id) {
  for (QWidget* widget : root.findChildren<QWidget*>()) {
    const QVariant value = widget->property(ui::ControlBase_CL::kIdProperty);
    if (value.isValid() && value.toInt() == id) {
      return dynamic_cast<Widget_T*>(widget);
    }
  }
  return nullptr;
}

// Processes events until done() holds or the time runs out; returns done().
bool WaitFor(const std::function<bool()>& done, int milliseconds = 20000);

} // namespace lumicrate::test
