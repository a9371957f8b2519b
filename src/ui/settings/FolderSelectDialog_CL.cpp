// A chooser closed without a choice changes nothing.
#include "ui/settings/FolderSelectDialog_CL.h"

namespace lumicrate::ui {

bool FolderSelectDialog_CL::Browse(QWidget* owner, const QString& title, QString& path) {
  const std::optional<QString> chosen = chooser_.Choose(owner, title, initialFolder_);
  if (!chosen || chosen->isEmpty()) {
    return false;
  }
  path = *chosen;
  return true;
}

} // namespace lumicrate::ui
