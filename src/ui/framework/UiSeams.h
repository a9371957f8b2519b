// What the windows ask of a person or of the desktop, behind interfaces that tests answer:
// message boxes and the folder chooser. Opening files and addresses goes through the core's
// DesktopShell.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace lumicrate::ui {

enum class BoxIcon { Information, Exclamation, Question };

class MessageBoxes {
public:
  virtual ~MessageBoxes() = default;
  // A box with an OK button; returns when it has been closed.
  virtual void Inform(QWidget* owner, const QString& text, const QString& caption, BoxIcon icon) = 0;
  // A question with Yes and No; true for Yes.
  virtual bool AskYesNo(QWidget* owner, const QString& text, const QString& caption) = 0;
};

class FolderChooser {
public:
  virtual ~FolderChooser() = default;
  // The folder the person picked, or nothing when the chooser was cancelled.
  virtual std::optional<QString> Choose(QWidget* owner, const QString& title, const QString& initialFolder) = 0;
};

} // namespace lumicrate::ui
