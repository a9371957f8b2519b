// A main window over the scripted desktop, with the update check switched off unless a test
// turns it on, and its controls by id.
#pragma once

#include <memory>

#include "ui/UiFixture.h"
#include "ui/framework/Controls.h"
#include "ui/main_window/MainWindow_CL.h"

namespace lumicrate::test {

class MainWindowTest : public UiTest {
protected:
  static constexpr int kViewId = 0x1100;
  static constexpr int kGenerateId = 0x1101;
  static constexpr int kEditId = 0x1102;
  static constexpr int kBrowseId = 196;
  static constexpr int kLabelId = 0x1104;
  static constexpr int kTreeId = 0x1105;
  static constexpr int kHintId = 0x1106;
  static constexpr int kGroupId = 0x1107;

  void SetUp() override;
  void TearDown() override;

  // A new window, built and shown; the previous one is closed first.
  ui::MainWindow_CL& Open(ui::MainWindow_CL::Seams seams);
  ui::MainWindow_CL& Open();
  void Close() { window_.reset(); }
  ui::MainWindow_CL& Window() { return *window_; }

  template <class Control_T> Control_T& Control(int id) {
    auto* control = FindControl<Control_T>(*window_, id);
    if (!control) {
      throw std::runtime_error("no control " + std::to_string(id));
    }
    return *control;
  }
  // Types a folder into the output field.
  void SetOutputField(const std::string& text) { Control<ui::Edit_CL>(kEditId).setText(QString::fromStdString(text)); }
  QTreeWidgetItem* TreeRoot() { return Control<ui::TreeView_CL>(kTreeId).topLevelItem(0); }

  ScriptedDesktop desktop;
  TempDir scratch;

private:
  std::unique_ptr<ui::MainWindow_CL> window_;
};

} // namespace lumicrate::test
