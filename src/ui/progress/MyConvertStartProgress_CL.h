// The progress window of an import or album run: its worker runs what the context's ImportMode
// selects and closes the window when the run returns, whatever the run's result; the result and
// the run's report are kept for the caller.
#pragma once

#include "app/SelectedRun.h"
#include "device/DeviceQuery.h"
#include "device/NoticeSink.h"
#include "ui/framework/UiSeams.h"
#include "ui/progress/EasyProgress_CL.h"

namespace lumicrate::ui {

class MyConvertStartProgress_CL : public EasyProgress_CL, private NoticeSink {
public:
  // query: the device a device run looks for (an iPhone unless told otherwise).
  explicit MyConvertStartProgress_CL(MessageBoxes& boxes, DeviceQuery query = {});
  ~MyConvertStartProgress_CL() override;

  // What the run returned and reported; waits for the worker if it has not ended yet.
  HRESULT Result();
  const SelectedRunReport& Report();

protected:
  int Run(int a, int b) override;
  void Finished(int cancel) override;

private:
  // The device run's notice, shown over this window; the worker waits until it is closed.
  void ShowNotice(const std::string& caption, const std::string& text) override;

  MessageBoxes& boxes_;
  DeviceQuery query_;
  HRESULT result_ = E_ABORT;
  SelectedRunReport report_;
};

} // namespace lumicrate::ui
