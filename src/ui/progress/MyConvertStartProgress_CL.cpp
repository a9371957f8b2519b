// The run's result is not looked at here: each run logs and reports its own failures, and the
// main window goes on with its completion message either way.
#include "ui/progress/MyConvertStartProgress_CL.h"

#include "app/SelectedRun.h"

namespace lumicrate::ui {

MyConvertStartProgress_CL::MyConvertStartProgress_CL(MessageBoxes& boxes, DeviceQuery query)
    : EasyProgress_CL(QStringLiteral("写真の取り込み中"), false), boxes_(boxes), query_(std::move(query)) {}

MyConvertStartProgress_CL::~MyConvertStartProgress_CL() {
  Join();
}

int MyConvertStartProgress_CL::Run(int /*a*/, int /*b*/) {
  return RunSelectedImport(Context(), *this, *this, query_);
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
