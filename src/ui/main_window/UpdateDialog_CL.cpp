// The dialog has a fixed size and only a close box besides its two buttons.
#include "ui/main_window/UpdateDialog_CL.h"

namespace lumicrate::ui {

UpdateDialog_CL::UpdateDialog_CL(QString caption, QString text)
    : factory_(ControlFactory_CL::kFirstId,
               [this](int id) {
                 if (id == kGoToSiteId) {
                   done(1);
                 } else if (id == kRemindLaterId) {
                   done(2);
                 }
               }),
      caption_(std::move(caption)), text_(std::move(text)) {
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
}

void UpdateDialog_CL::OnInitDialog() {
  SetText(caption_);
  MoveOuter(0, 0, kWidth, kHeight, true);
  buttons_ = factory_.CreateOkCancel(this, QStringLiteral("\u3000サイトへ移動する\u3000"),
                                     QStringLiteral("後日通知する\u3000"));
  factory_.CreateStatic(this, text_, 8, 8);
  CentreOver(parentWidget(), false);
}

void UpdateDialog_CL::resizeEvent(QResizeEvent* event) {
  SubClassDialogBase_CL::resizeEvent(event);
  if (buttons_) {
    factory_.PlaceOkCancel(this, *buttons_);
  }
}

} // namespace lumicrate::ui
