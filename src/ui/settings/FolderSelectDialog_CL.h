// The folder chooser of the main window (the source folder of an import, the output folder),
// over the desktop's chooser behind the FolderChooser seam.
#pragma once

#include <QString>

#include "ui/framework/UiSeams.h"

namespace lumicrate::ui {

class FolderSelectDialog_CL {
public:
  explicit FolderSelectDialog_CL(FolderChooser& chooser) : chooser_(chooser) {}

  // Where the chooser opens; empty for its own default.
  void SetInitialFolder(const QString& folder) { initialFolder_ = folder; }
  // True with path set when a folder was chosen; false, path untouched, when cancelled.
  bool Browse(QWidget* owner, const QString& title, QString& path);

private:
  FolderChooser& chooser_;
  QString initialFolder_;
};

} // namespace lumicrate::ui
