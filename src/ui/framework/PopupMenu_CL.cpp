// Command identifiers ride on the actions' data, so a chosen action maps back to the command
// the window handles.
#include "ui/framework/PopupMenu_CL.h"

#include "ui/framework/ImageList_CL.h"

namespace lumicrate::ui {

QAction* PopupMenu_CL::AddItem(int commandId, const QString& text, int imageIndex) {
  QAction* item = menu_.addAction(text);
  item->setData(commandId);
  if (images_ && imageIndex != kNoImage) {
    item->setIcon(images_->Icon(imageIndex));
  }
  return item;
}

void PopupMenu_CL::AddSeparator() {
  menu_.addSeparator();
}

void PopupMenu_CL::SetItemEnabled(int commandId, bool enabled) {
  if (QAction* item = Item(commandId)) {
    item->setEnabled(enabled);
  }
}

QAction* PopupMenu_CL::Item(int commandId) const {
  for (QAction* item : menu_.actions()) {
    if (!item->isSeparator() && item->data().toInt() == commandId) {
      return item;
    }
  }
  return nullptr;
}

int PopupMenu_CL::Track(const QPoint& globalPosition) {
  const QAction* chosen = menu_.exec(globalPosition);
  return chosen ? chosen->data().toInt() : 0;
}

} // namespace lumicrate::ui
