// The progress bar's values: position x 2000 / total in 64 bits, one update per change of the
// shown value, nothing remembered after SetPosition, and an empty bar while the total is 0.
#include <gtest/gtest.h>

#include <vector>

#include "app/BarProgress_CL.h"

namespace lumicrate {
namespace {

class RecordedBar : public BarProgress_CL {
public:
  std::vector<int> shown;
  std::vector<std::string> texts;

protected:
  void ShowText(const std::string& text) override { texts.push_back(text); }
  void ShowBar(int value) override { shown.push_back(value); }
};

TEST(BarProgressTest, ThirdsOfThreeShowAsTwoThousandths) {
  RecordedBar bar;
  bar.AddTotal(3);
  for (int i = 0; i < 3; ++i) {
    bar.AddPosition(1);
  }
  EXPECT_EQ(bar.shown, (std::vector<int>{666, 1333, 2000}));
  EXPECT_EQ(bar.GetPosition(), 3);
  EXPECT_EQ(bar.GetTotal(), 3);
}

TEST(BarProgressTest, TwoEqualValuesAreShownOnce) {
  RecordedBar bar;
  bar.AddTotal(4000);
  bar.AddPosition(2);
  bar.AddPosition(1);
  EXPECT_EQ(bar.shown, (std::vector<int>{1}));
}

TEST(BarProgressTest, AnEmptyTotalKeepsTheBarEmpty) {
  RecordedBar bar;
  bar.AddPosition(1);
  bar.AddPosition(5);
  bar.SetTotal(0);
  bar.AddTotal(0);
  EXPECT_EQ(bar.shown, (std::vector<int>{0, 0, 0}));
}

TEST(BarProgressTest, TotalsBeyondThirtyTwoBitsScaleIn64Bits) {
  RecordedBar bar;
  const std::int64_t total = std::int64_t{1} << 34;
  bar.AddTotal(total);
  bar.AddPosition(total / 2);
  bar.AddPosition(total / 4);
  EXPECT_EQ(bar.shown, (std::vector<int>{1000, 1500}));
}

TEST(BarProgressTest, SetPositionShowsWithoutRemembering) {
  RecordedBar bar;
  bar.SetTotal(10);
  EXPECT_TRUE(bar.shown.empty()) << "SetTotal leaves the bar";
  bar.AddPosition(5);
  bar.SetPosition(8);
  // 1000 is still the remembered value, so this sends nothing.
  bar.SetPosition(5);
  bar.AddPosition(-2);
  bar.AddPosition(2);
  EXPECT_EQ(bar.shown, (std::vector<int>{1000, 1600, 600, 1000}));
}

TEST(BarProgressTest, ThePositionMayRunPastTheTotal) {
  RecordedBar bar;
  bar.AddTotal(2);
  bar.AddPosition(3);
  EXPECT_EQ(bar.shown, (std::vector<int>{3000}));
  bar.SetText("写真の取り込み中");
  EXPECT_EQ(bar.texts, (std::vector<std::string>{"写真の取り込み中"}));
}

} // namespace
} // namespace lumicrate
