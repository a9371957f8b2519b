// lumicrate, the desktop program: its command line, the shared start-up, then the main window
// until it closes; a folder given by the desktop is offered for import once the window shows.
#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "app/ProgramArguments.h"
#include "app/Startup.h"
#include "ui/framework/QtDesktop.h"
#include "ui/framework/UiApplication.h"
#include "ui/main_window/MainWindow_CL.h"

int main(int argc, char** argv) {
  const lumicrate::ProgramArguments arguments = lumicrate::ParseProgramArguments({argv + 1, argv + argc});
  if (arguments.action == lumicrate::ProgramArguments::Action::Help) {
    std::fputs(lumicrate::ProgramUsage(), stdout);
    return 0;
  }
  if (arguments.action == lumicrate::ProgramArguments::Action::Usage) {
    std::fprintf(stderr, "lumicrate: %s\n%s", arguments.error.c_str(), lumicrate::ProgramUsage());
    return 2;
  }
  // A second instance ends here, folder or not: the running one has seen the mount itself.
  lumicrate::StartupResult started = lumicrate::StartUp();
  if (!started.firstInstance) {
    return 0;
  }
  QApplication app(argc, argv);
  lumicrate::ui::SetUpApplication(app);
  lumicrate::ui::QtDesktop desktop;
  {
    lumicrate::ui::MainWindow_CL window({desktop, desktop, desktop, lumicrate::SystemClock()});
    if (!arguments.folder.empty()) {
      QTimer::singleShot(0, &window, [&window, &arguments] { window.OfferFolder(arguments.folder); });
    }
    window.DoModal(nullptr);
    // A later start may go ahead now, while an unanswered update check winds down.
    started.instanceLock.reset();
  }
  return 0;
}
