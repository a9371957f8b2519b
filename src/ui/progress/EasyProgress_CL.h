// A small modal progress window (a caption and a bar of 0 to 2000, and a Cancel button when
// asked for) that owns the worker of its run. The worker reports through the progress
// interface; the window shows the latest state, so a fast run never floods the event loop.
#pragma once

#include <QString>
#include <mutex>
#include <optional>
#include <string>

#include "app/BarProgress_CL.h"
#include "ui/framework/ControlFactory_CL.h"
#include "ui/framework/SubClassDialogBase_CL.h"
#include "ui/progress/EasyThreadBase_CL.h"

namespace lumicrate::ui {

class Button_CL;
class ProgressBar_CL;

class EasyProgress_CL : public SubClassDialogBase_CL, public EasyThreadBase_CL, public BarProgress_CL {
public:
  static constexpr int kOuterWidth = 480;
  static constexpr int kOuterHeight = 56;

  EasyProgress_CL(QString caption, bool cancelable);
  ~EasyProgress_CL() override;

  // The window's caption from the user-interface thread, the run's text from the worker.
  using BarProgress_CL::SetText;
  using SubClassDialogBase_CL::SetText;

  // The worker starts when the window is built, before it first shows.
  void SetStartOnInit() { startOnInit_ = true; }
  void WaitWorker() { Join(); }

  ProgressBar_CL* Bar() const { return bar_; }
  Button_CL* CancelButton() const { return cancel_; }

protected:
  void OnInitDialog() override;
  // Ends the window with 0, from any thread; a window already gone ignores it.
  void CloseFromWorker();

  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

  void ShowText(const std::string& text) override;
  void ShowBar(int value) override;

private:
  // The bar fills the client area, left of the Cancel button when there is one.
  void PlaceControls();
  // Posts one update for whatever the worker reported since the last one.
  void PostUpdate();
  void ApplyUpdate();

  ControlFactory_CL factory_;
  ProgressBar_CL* bar_ = nullptr;
  Button_CL* cancel_ = nullptr;
  QString caption_;
  bool cancelable_;
  bool startOnInit_ = false;

  std::mutex pendingMutex_;
  std::optional<std::string> pendingText_;
  std::optional<int> pendingBar_;
  bool updatePosted_ = false;
};

} // namespace lumicrate::ui
