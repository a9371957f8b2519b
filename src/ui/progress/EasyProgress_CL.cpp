// The window cannot be closed by the person (no close box, Enter, Escape and the window
// manager's close are ignored): closing it would leave the user-interface thread waiting for
// the worker. Only the worker's own close ends it.
#include "ui/progress/EasyProgress_CL.h"

#include <QCloseEvent>
#include <QKeyEvent>

#include "ui/framework/Controls.h"

namespace lumicrate::ui {

EasyProgress_CL::EasyProgress_CL(QString caption, bool cancelable)
    : factory_(ControlFactory_CL::kFirstId,
               [this](int id) {
                 if (cancel_ && id == cancel_->Id()) {
                   RequestCancel();
                 }
               }),
      caption_(std::move(caption)), cancelable_(cancelable) {
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
}

EasyProgress_CL::~EasyProgress_CL() {
  Join();
}

void EasyProgress_CL::OnInitDialog() {
  SetText(caption_);
  MoveOuter(0, 0, kOuterWidth, kOuterHeight, true);

  cancel_ = &factory_.GetAs<Button_CL>(factory_.CreateButton(this, QStringLiteral("キャンセル"), 48, 0));
  if (!cancelable_) {
    cancel_->Hide();
  }
  const QRect client = ClientRect();
  bar_ = &factory_.GetAs<ProgressBar_CL>(factory_.CreateProgressBar(this, client.width(), client.height(), 0, 0));
  bar_->SetRange(0, kBarRange);
  PlaceControls();
  if (startOnInit_) {
    Start(0, 0);
  }

  CentreOver(parentWidget(), false);
  if (y() < 0) {
    move(x(), 0);
  }
}

void EasyProgress_CL::PlaceControls() {
  if (!bar_) {
    return;
  }
  int width = ClientRect().width();
  const int height = ClientRect().height();
  if (cancelable_) {
    width -= cancel_->Width();
  }
  cancel_->MoveX(width);
  cancel_->Resize(cancel_->Width(), height);
  bar_->Resize(width, height);
}

void EasyProgress_CL::CloseFromWorker() {
  QMetaObject::invokeMethod(
      this, [this] { done(0); }, Qt::QueuedConnection);
}

void EasyProgress_CL::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  SubClassDialogBase_CL::keyPressEvent(event);
}

void EasyProgress_CL::closeEvent(QCloseEvent* event) {
  event->ignore();
}

void EasyProgress_CL::resizeEvent(QResizeEvent* event) {
  SubClassDialogBase_CL::resizeEvent(event);
  PlaceControls();
}

void EasyProgress_CL::ShowText(const std::string& text) {
  std::lock_guard lock(pendingMutex_);
  pendingText_ = text;
  PostUpdate();
}

void EasyProgress_CL::ShowBar(int value) {
  std::lock_guard lock(pendingMutex_);
  pendingBar_ = value;
  PostUpdate();
}

void EasyProgress_CL::PostUpdate() {
  if (!updatePosted_) {
    updatePosted_ = true;
    QMetaObject::invokeMethod(
        this, [this] { ApplyUpdate(); }, Qt::QueuedConnection);
  }
}

void EasyProgress_CL::ApplyUpdate() {
  std::optional<std::string> text;
  std::optional<int> bar;
  {
    std::lock_guard lock(pendingMutex_);
    text.swap(pendingText_);
    bar.swap(pendingBar_);
    updatePosted_ = false;
  }
  if (text) {
    SetText(QString::fromStdString(*text));
  }
  if (bar && bar_) {
    bar_->SetPos(*bar);
  }
}

} // namespace lumicrate::ui
