// A context menu whose items carry command identifiers and images from an image strip; the
// chosen item's identifier goes back to the window that showed the menu.
#pragma once

#include <QMenu>
#include <QPoint>
#include <QString>

namespace lumicrate::ui {

class ImageList_CL;

class PopupMenu_CL {
public:
  static constexpr int kNoImage = -1;

  PopupMenu_CL() = default;
  PopupMenu_CL(const PopupMenu_CL&) = delete;
  PopupMenu_CL& operator=(const PopupMenu_CL&) = delete;

  // The strip the items' images come from; not owned. Items added before keep no image.
  void SetImageList(const ImageList_CL* images) { images_ = images; }

  // Text after a tab shows at the right of the item, as a shortcut does.
  QAction* AddItem(int commandId, const QString& text, int imageIndex = kNoImage);
  void AddSeparator();
  // A disabled item is shown greyed and cannot be chosen.
  void SetItemEnabled(int commandId, bool enabled);

  // The item with that command identifier, or null.
  QAction* Item(int commandId) const;
  QMenu& Menu() { return menu_; }

  // Shows the menu at a point on the screen until the user chooses or dismisses it: the chosen
  // item's command identifier, or 0.
  int Track(const QPoint& globalPosition);

private:
  QMenu menu_;
  const ImageList_CL* images_ = nullptr;
};

} // namespace lumicrate::ui
