// The window is shown without its own modal loop, so the test drives it between events.
#include "ui/MainWindowFixture.h"

#include "app/AppContext.h"
#include "app/Inifile_CL.h"

namespace lumicrate::test {

void MainWindowTest::SetUp() {
  UiTest::SetUp();
  Settings().WriteInt("VERSION", "notify", 1);
  Context().ReadyForImport = 1;
  Context().Mode = ImportMode::Drive;
}

void MainWindowTest::TearDown() {
  Close();
  UiTest::TearDown();
}

ui::MainWindow_CL& MainWindowTest::Open(ui::MainWindow_CL::Seams seams) {
  Close();
  window_ = std::make_unique<ui::MainWindow_CL>(seams);
  window_->Initialise();
  window_->show();
  QApplication::processEvents();
  return *window_;
}

ui::MainWindow_CL& MainWindowTest::Open() {
  return Open({desktop, desktop, desktop, SystemClock()});
}

} // namespace lumicrate::test
