// The strip is read whole, its magenta pixels made transparent, and then cut into cells; a
// last cell narrower than the rest is not an image.
#include "ui/framework/ImageList_CL.h"

#include <QImage>

namespace lumicrate::ui {

void ImageList_CL::LoadStrip(const QString& path, int cellWidth) {
  images_.clear();
  QImage strip(path);
  if (strip.isNull() || cellWidth <= 0) {
    return;
  }
  strip = strip.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < strip.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(strip.scanLine(y));
    for (int x = 0; x < strip.width(); ++x) {
      if ((line[x] & RGB_MASK) == kMaskColour) {
        line[x] = 0;
      }
    }
  }
  for (int left = 0; left + cellWidth <= strip.width(); left += cellWidth) {
    images_.push_back(QPixmap::fromImage(strip.copy(left, 0, cellWidth, strip.height())));
  }
}

QPixmap ImageList_CL::Image(int index) const {
  return index >= 0 && index < Count() ? images_[static_cast<size_t>(index)] : QPixmap();
}

QIcon ImageList_CL::Icon(int index) const {
  const QPixmap image = Image(index);
  return image.isNull() ? QIcon() : QIcon(image);
}

} // namespace lumicrate::ui
