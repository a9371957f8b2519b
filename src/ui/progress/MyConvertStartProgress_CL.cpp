// Each run logs its own failures; the window only carries the result back to the main window,
// which tells the user how the run ended.
#include "ui/progress/MyConvertStartProgress_CL.h"

namespace lumicrate::ui {

MyConvertStartProgress_CL::MyConvertStartProgress_CL(MessageBoxes& boxes, DeviceQuery query)
    : EasyProgress_CL(QStringLiteral("写真の取り込み中"), false), boxes_(boxes), query_(std::move(query)) {}

MyConvertStartProgress_CL::~MyConvertStartProgress_CL() {
  Join();
}

HRESULT MyConvertStartProgress_CL::Result() {
  Join();
  return result_;
}

const SelectedRunReport& MyConvertStartProgress_CL::Report() {
  Join();
  return report_;
}

int MyConvertStartProgress_CL::Run(int /*a*/, int /*b*/) {
  result_ = RunSelectedImport(Context(), *this, *this, query_, &report_);
  return result_;
}

void MyConvertStartProgress_CL::Finished(int /*cancel*/) {
  CloseFromWorker();
}

void MyConvertStartProgress_CL::ShowNotice(const std::string& caption, const std::string& text) {
  QMetaObject::invokeMethod(
      this,
      [this, &caption, &text] {
        boxes_.Inform(this, QString::fromStdString(text), QString::fromStdString(caption), BoxIcon::Exclamation);
      },
      Qt::BlockingQueuedConnection);
}

} // namespace lumicrate::ui
