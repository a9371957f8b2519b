// The real answers to the windows' seams: Qt's message boxes and folder chooser, and the
// desktop's default programs for the album and web addresses.
#pragma once

#include "platform/DesktopSeams.h"
#include "ui/framework/UiSeams.h"

namespace lumicrate::ui {

class QtDesktop final : public MessageBoxes, public FolderChooser, public DesktopShell {
public:
  void Inform(QWidget* owner, const QString& text, const QString& caption, BoxIcon icon) override;
  bool AskYesNo(QWidget* owner, const QString& text, const QString& caption) override;
  std::optional<QString> Choose(QWidget* owner, const QString& title, const QString& initialFolder) override;
  // Safe from any thread: the desktop is asked from the user-interface thread.
  void OpenWithShell(const std::string& fileOrAddress) override;
};

} // namespace lumicrate::ui
