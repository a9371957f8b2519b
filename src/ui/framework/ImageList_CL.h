// A strip of small images cut from one bitmap file into cells of equal width, with magenta as
// the transparent colour: the images of the context menus.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <vector>

namespace lumicrate::ui {

class ImageList_CL {
public:
  static constexpr QRgb kMaskColour = 0xFF00FF;

  // A file that cannot be loaded leaves the list empty, so menus show no images.
  void LoadStrip(const QString& path, int cellWidth);

  int Count() const { return static_cast<int>(images_.size()); }
  bool Empty() const { return images_.empty(); }
  QSize ImageSize() const { return images_.empty() ? QSize() : images_.front().size(); }
  // A null pixmap or icon for an index outside the strip.
  QPixmap Image(int index) const;
  QIcon Icon(int index) const;

private:
  std::vector<QPixmap> images_;
};

} // namespace lumicrate::ui
