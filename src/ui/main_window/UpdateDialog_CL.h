// The notice that a newer version is out: the notice text, "　サイトへ移動する　" (ends with 1)
// and "後日通知する　" (ends with 2); the close box ends it with 0.
#pragma once

#include <QString>
#include <optional>
#include <utility>

#include "ui/framework/ControlFactory_CL.h"
#include "ui/framework/SubClassDialogBase_CL.h"

namespace lumicrate::ui {

class UpdateDialog_CL : public SubClassDialogBase_CL {
public:
  static constexpr int kWidth = 360;
  static constexpr int kHeight = 160;
  static constexpr int kGoToSiteId = ControlFactory_CL::kOkId;
  static constexpr int kRemindLaterId = ControlFactory_CL::kCancelId;

  UpdateDialog_CL(QString caption, QString text);

protected:
  void OnInitDialog() override;
  // The buttons stay in the corner once the window manager has framed the dialog.
  void resizeEvent(QResizeEvent* event) override;

private:
  ControlFactory_CL factory_;
  std::optional<std::pair<int, int>> buttons_;
  QString caption_;
  QString text_;
};

} // namespace lumicrate::ui
