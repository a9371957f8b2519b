// Sizes come from the text's bounding box in the control's font, the way the windows were
// designed, so a longer text or a larger font moves the neighbours instead of being cut off.
#include "ui/framework/ControlBase_CL.h"

#include <QApplication>
#include <QFontMetrics>
#include <QWidget>

namespace lumicrate::ui {

void ControlBase_CL::SetId(int id) {
  id_ = id;
  Widget().setProperty(kIdProperty, id);
}

QFont ControlBase_CL::ScaledFont(const QFont& base, double scale, int weight) {
  QFont font = base;
  if (base.pixelSize() > 0) {
    font.setPixelSize(static_cast<int>(base.pixelSize() * scale));
  } else {
    font.setPointSize(static_cast<int>(base.pointSizeF() * scale));
  }
  font.setWeight(static_cast<QFont::Weight>(weight));
  return font;
}

QFont ControlBase_CL::ScreenFont() {
  return ScaledFont(QApplication::font(), 4.0 / 3.0, QFont::Normal);
}

void ControlBase_CL::SetFont(double scale, int weight) {
  Widget().setFont(ScaledFont(QApplication::font(), scale, weight));
}

QSize ControlBase_CL::TextSize(const QFont& font, const QString& text) {
  constexpr int kLimit = 0x8000;
  return QFontMetrics(font).boundingRect(QRect(0, 0, kLimit, kLimit), Qt::AlignLeft | Qt::AlignTop, text).size();
}

void ControlBase_CL::SetSizeInChars(int columns, int rows, int extraWidth, int extraHeight) {
  const QFont& font = Widget().font();
  Resize(extraWidth + columns * TextSize(font, QStringLiteral("\uFF37")).width(),
         extraHeight + rows * TextSize(font, QStringLiteral("\uFF2D")).height());
}

QRect ControlBase_CL::GetRectInParent() const {
  return Widget().geometry();
}

int ControlBase_CL::Width() const {
  return Widget().width();
}

int ControlBase_CL::Height() const {
  return Widget().height();
}

void ControlBase_CL::MoveX(int x) {
  Widget().move(x, Widget().y());
}

void ControlBase_CL::MoveY(int y) {
  Widget().move(Widget().x(), y);
}

void ControlBase_CL::Move(int x, int y) {
  Widget().move(x, y);
}

void ControlBase_CL::Resize(int width, int height) {
  Widget().resize(width, height);
}

void ControlBase_CL::Hide() {
  Widget().hide();
}

void ControlBase_CL::Enable(bool enabled) {
  Widget().setEnabled(enabled);
}

} // namespace lumicrate::ui
