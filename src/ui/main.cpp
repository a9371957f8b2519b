// lumicrate, the desktop program: the shared start-up, then the main window until it closes.
#include <QApplication>
#include <QIcon>

#include "app/Startup.h"
#include "ui/framework/QtDesktop.h"
#include "ui/framework/UiApplication.h"
#include "ui/main_window/MainWindow_CL.h"

int main(int argc, char** argv) {
  lumicrate::StartupResult started = lumicrate::StartUp();
  if (!started.firstInstance) {
    return 0;
  }
  QApplication app(argc, argv);
  lumicrate::ui::SetUpApplication(app);
  lumicrate::ui::QtDesktop desktop;
  {
    lumicrate::ui::MainWindow_CL window({desktop, desktop, desktop, lumicrate::SystemClock()});
    window.DoModal(nullptr);
    // A later start may go ahead now, while an unanswered update check winds down.
    started.instanceLock.reset();
  }
  return 0;
}
