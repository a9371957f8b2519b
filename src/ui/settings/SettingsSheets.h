// The two forms of the settings sheet that the main window opens: the full sheet
// "アプリ設定" (command 194) and the version page alone (command 181).
#pragma once

class QWidget;

namespace lumicrate {
class DesktopShell;
}

namespace lumicrate::ui {

// The import page, the photo, movie and sound extension pages and the version page. Closed
// with OK, it stores the three tables too and, once stored, loads them into the context again
// (so user entries get their descriptions): 1; else 0.
int ShowSettingsSheet(QWidget* owner, DesktopShell& shell);
void ShowVersionSheet(QWidget* owner, DesktopShell& shell);

} // namespace lumicrate::ui
