// What the desktop program sets up once for all its windows: Qt's own buttons and dialogs in
// Japanese, and the application icon.
#pragma once

class QApplication;

namespace lumicrate::ui {

void SetUpApplication(QApplication& app);

} // namespace lumicrate::ui
