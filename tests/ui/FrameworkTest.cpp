// The control framework: identifiers per window in creation order, sizes from the text in the
// control's font, the vertical stack and the OK / Cancel pair.
#include <QDialog>
#include <gtest/gtest.h>

#include "ui/UiFixture.h"
#include "ui/framework/ControlFactory_CL.h"
#include "ui/framework/Controls.h"
#include "ui/framework/SubClassDialogBase_CL.h"

namespace lumicrate::test {
namespace {

using ui::ControlBase_CL;
using ui::ControlFactory_CL;

class FrameworkTest : public UiTest {};

TEST_F(FrameworkTest, EachWindowNumbersItsControlsFrom0x1100InCreationOrder) {
  QDialog first;
  QDialog second;
  ControlFactory_CL a;
  ControlFactory_CL b;
  const int label = a.CreateStatic(&first, "one", 0, 0);
  const int button = a.CreateButton(&first, "two", 0, 0);
  const int other = b.CreateButton(&second, "three", 0, 0);
  EXPECT_EQ(label, 0);
  EXPECT_EQ(button, 1);
  EXPECT_EQ(a.Get(label).Id(), 0x1100);
  EXPECT_EQ(a.Get(button).Id(), 0x1101);
  EXPECT_EQ(b.Get(other).Id(), 0x1100);
  EXPECT_EQ(FindControl<QPushButton>(first, 0x1101), &a.Get(button).Widget());
  a.Get(button).SetId(196);
  EXPECT_EQ(FindControl<QPushButton>(first, 196), &a.Get(button).Widget());
}

TEST_F(FrameworkTest, ControlsAreSizedFromTheirTextInTheirFont) {
  QDialog window;
  ControlFactory_CL factory;
  const QString text = QStringLiteral("取り込みフォルダの形式");
  const QSize textSize = ControlBase_CL::TextSize(window.font(), text);
  ASSERT_GT(textSize.width(), 0);

  const ControlBase_CL& label = factory.Get(factory.CreateStatic(&window, text, 3, 4));
  EXPECT_EQ(label.GetRectInParent(), QRect(QPoint(3, 4), textSize));
  EXPECT_EQ(factory.Get(factory.CreateButton(&window, text, 0, 0)).GetRectInParent().size(), textSize + QSize(8, 8));
  EXPECT_EQ(factory.Get(factory.CreateCheckBox(&window, text, 0, 0, true)).GetRectInParent().size(),
            QSize(textSize.width() + 32, textSize.height()));
  const QSize w = ControlBase_CL::TextSize(window.font(), "W");
  const QSize m = ControlBase_CL::TextSize(window.font(), "M");
  EXPECT_EQ(factory.Get(factory.CreateEdit(&window, 32, 2, 0, 0)).GetRectInParent().size(),
            QSize(32 * w.width() + 6, 2 * m.height() + 6));
  EXPECT_EQ(factory.Get(factory.CreateTreeView(&window, 320, 200, 0, 0)).GetRectInParent().size(), QSize(320, 200));

  ControlBase_CL& sized = factory.Get(factory.CreateStatic(&window, "x", 0, 0));
  sized.SetSizeInChars(24, 1, 8, 4);
  const QSize fullW = ControlBase_CL::TextSize(window.font(), QStringLiteral("\uFF37"));
  const QSize fullM = ControlBase_CL::TextSize(window.font(), QStringLiteral("\uFF2D"));
  EXPECT_EQ(sized.GetRectInParent().size(), QSize(8 + 24 * fullW.width(), 4 + fullM.height()));
}

TEST_F(FrameworkTest, ScaledFontsTruncateTheSize) {
  QFont pixels;
  pixels.setPixelSize(11);
  EXPECT_EQ(ControlBase_CL::ScaledFont(pixels, 1.2, 600).pixelSize(), 13);
  EXPECT_EQ(ControlBase_CL::ScaledFont(pixels, 1.2, 600).weight(), QFont::DemiBold);
  QFont points;
  points.setPointSize(9);
  EXPECT_EQ(ControlBase_CL::ScaledFont(points, 1.2, 400).pointSize(), 10);
  EXPECT_EQ(ControlBase_CL::ScaledFont(points, 2.0, 100).pointSize(), 18);
  EXPECT_EQ(ControlBase_CL::ScaledFont(points, 2.0, 100).weight(), QFont::Thin);
}

TEST_F(FrameworkTest, StackVerticallyPutsEachBelowThePreviousWithTheGap) {
  QDialog window;
  ControlFactory_CL factory;
  const int first = factory.CreateTreeView(&window, 10, 20, 5, 0);
  factory.CreateTreeView(&window, 10, 30, 6, 0);
  const int third = factory.CreateTreeView(&window, 10, 5, 7, 0);
  factory.StackVertically(first, third, 12, 4);
  EXPECT_EQ(factory.Get(0).GetRectInParent().topLeft(), QPoint(5, 12));
  EXPECT_EQ(factory.Get(1).GetRectInParent().topLeft(), QPoint(6, 36));
  EXPECT_EQ(factory.Get(2).GetRectInParent().topLeft(), QPoint(7, 70));
  factory.StackVertically({2, 0}, 0, 1);
  EXPECT_EQ(factory.Get(2).GetRectInParent().y(), 0);
  EXPECT_EQ(factory.Get(0).GetRectInParent().y(), 6);
}

TEST_F(FrameworkTest, OkCancelSitInTheBottomRightCornerWithFourPixelMargins) {
  QDialog window;
  window.resize(360, 160);
  ControlFactory_CL factory;
  const auto [ok, cancel] = factory.CreateOkCancel(&window, QStringLiteral("OK"), QStringLiteral("キャンセル"));
  const QRect second = factory.Get(cancel).GetRectInParent();
  const QRect first = factory.Get(ok).GetRectInParent();
  EXPECT_EQ(factory.Get(ok).Id(), 0x1000);
  EXPECT_EQ(factory.Get(cancel).Id(), 0x1002);
  EXPECT_EQ(second.right() + 1, 360 - 4);
  EXPECT_EQ(second.bottom() + 1, 160 - 4);
  EXPECT_EQ(first.right() + 1, second.left() - 4);
  EXPECT_EQ(first.bottom() + 1, 160 - 4);
}

TEST_F(FrameworkTest, ButtonPressesReachTheWindowWithTheCurrentId) {
  QDialog window;
  std::vector<int> pressed;
  ControlFactory_CL factory(ControlFactory_CL::kFirstId, [&](int id) { pressed.push_back(id); });
  auto& button = factory.GetAs<ui::Button_CL>(factory.CreateButton(&window, "go", 0, 0));
  button.click();
  button.SetId(196);
  button.click();
  EXPECT_EQ(pressed, (std::vector<int>{0x1100, 196}));
}

TEST_F(FrameworkTest, LayoutMetricsMeasureTheFullwidthWInTheScreenFont) {
  ui::SubClassDialogBase_CL dialog;
  dialog.resize(300, 200);
  const auto metrics = dialog.LayoutMetrics();
  const QSize w = ControlBase_CL::TextSize(ControlBase_CL::ScreenFont(), QStringLiteral("\uFF37"));
  EXPECT_GT(w.height(), ControlBase_CL::TextSize(dialog.font(), QStringLiteral("\uFF37")).height());
  EXPECT_EQ(metrics.width, 300);
  EXPECT_EQ(metrics.height, 200);
  EXPECT_EQ(metrics.cw, w.width());
  EXPECT_EQ(metrics.ch, w.height());
  EXPECT_GT(metrics.cw, 0);
}

TEST_F(FrameworkTest, ProgressBarShowsValuesBeyondItsRangeAtTheNearerEnd) {
  QDialog window;
  ControlFactory_CL factory;
  auto& bar = factory.GetAs<ui::ProgressBar_CL>(factory.CreateProgressBar(&window, 100, 10, 0, 0));
  bar.SetRange(0, 2000);
  bar.SetPos(2500);
  EXPECT_EQ(bar.value(), 2000);
  bar.SetPos(-3);
  EXPECT_EQ(bar.value(), 0);
}

} // namespace
} // namespace lumicrate::test
