// Through the real window: the folder command imports the sample card behind the progress
// window, then the album button builds the album and opens its start page; runs that fail say
// so and open nothing.
#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/AppContext.h"
#include "app/Inifile_CL.h"
#include "import/ImportFixtures.h"
#include "ui/MainWindowFixture.h"
#include "ui/progress/MyConvertStartProgress_CL.h"

namespace lumicrate::test {
namespace {

class EndToEndTest : public MainWindowTest {
protected:
  // Watches, while a run goes, for the progress window on screen.
  void WatchForProgress() {
    progressSeen_ = false;
    auto* timer = new QTimer(&Window());
    QObject::connect(timer, &QTimer::timeout, [this] {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (dynamic_cast<ui::MyConvertStartProgress_CL*>(widget) && widget->isVisible()) {
          progressSeen_ = true;
        }
      }
    });
    timer->start(1);
  }
  bool progressSeen_ = false;
};

TEST_F(EndToEndTest, TheSampleCardIsImportedAndItsAlbumBuilt) {
  const auto card = std::filesystem::path(LUMICRATE_SOURCE_DIR) / "samples" / "card";
  const auto out = scratch / "写真";
  Open();
  Context().TempFolder = DataFolder() / "tmp";
  SetOutputField(out.string() + "/");
  EXPECT_FALSE(Control<QWidget>(kGenerateId).isEnabled());

  desktop.folders = {QString::fromStdString(card.string())};
  desktop.answers = {true};
  WatchForProgress();
  Window().OnCommand(ui::MainWindow_CL::kCommandImportFolder);

  EXPECT_TRUE(progressSeen_);
  auto boxes = desktop.Boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].kind, "ask");
  EXPECT_EQ(boxes[1].text, QStringLiteral("写真の取り込みが完了しました。"));
  EXPECT_EQ(boxes[1].caption, QStringLiteral("お知らせ"));
  const std::vector<std::string> imported = FilesUnder(out);
  EXPECT_EQ(imported.size(), 7u) << "five photos (the sixth is a copy of one), the movie and the recording";
  EXPECT_EQ(Settings().GetString("APP_INFO", "OutputFolder", ""), out.string());
  EXPECT_EQ(TreeRoot()->text(0), QString::fromStdString(out.string()));
  EXPECT_TRUE(Control<QWidget>(kGenerateId).isEnabled());
  EXPECT_FALSE(Control<QWidget>(kViewId).isEnabled());
  EXPECT_EQ(Context().ReadyForImport, 1);

  const std::string log = ReadUtf16File(DataFolder() / "log.txt");
  const size_t start = log.find("写真取り込み(開始)");
  ASSERT_NE(start, std::string::npos);
  EXPECT_LT(start, log.find("出力フォルダ = " + out.string()));
  EXPECT_LT(log.find("出力フォルダ = " + out.string()), log.find("写真取り込み(終了)"));

  WatchForProgress();
  Control<ui::Button_CL>(kGenerateId).click();
  EXPECT_TRUE(progressSeen_);
  boxes = desktop.Boxes();
  ASSERT_EQ(boxes.size(), 3u) << "no question before the album";
  EXPECT_EQ(boxes[2].text, QStringLiteral("写真一覧の生成が完了しました。"));
  const auto index = out / "PhotoAlbum" / "index.html";
  EXPECT_TRUE(std::filesystem::exists(index));
  EXPECT_EQ(desktop.Opened(), (std::vector<std::string>{index.string()}));
  EXPECT_TRUE(Control<QWidget>(kViewId).isEnabled());

  Control<ui::Button_CL>(kViewId).click();
  EXPECT_EQ(desktop.Opened().back(), index.string());
}

TEST_F(EndToEndTest, AFailedImportAndAFailedAlbumSaySoAndOpenNothing) {
  const auto card = scratch / "card";
  const auto out = scratch / "out";
  MakePhoto(card / "DCIM/100CANON/IMG_0001.JPG", "2015:06:21 14:03:09", 1);
  // A file where the photo's year folder must go: its copy cannot be made, even as root.
  std::filesystem::create_directories(out);
  WriteBytes(out / "2015年", "not a folder");
  Open();
  Context().TempFolder = DataFolder() / "tmp";
  SetOutputField(out.string());
  desktop.folders = {QString::fromStdString(card.string())};
  desktop.answers = {true};
  Window().OnCommand(ui::MainWindow_CL::kCommandImportFolder);
  auto boxes = desktop.Boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_TRUE(boxes[1].text.startsWith(QStringLiteral("写真の取り込みに失敗しました。")))
      << boxes[1].text.toStdString();
  EXPECT_TRUE(boxes[1].text.contains(QString::fromStdString((card / "DCIM/100CANON/IMG_0001.JPG").string())));
  EXPECT_EQ(boxes[1].icon, ui::BoxIcon::Exclamation);
  EXPECT_EQ(Context().ReadyForImport, 1);

  // An album of an earlier run stands, but this run could not write its pages.
  std::filesystem::create_directories(out / "2016年/01月/02日");
  std::filesystem::remove(out / "2015年");
  WriteBytes(out / "PhotoAlbum", "not a folder");
  SetOutputField(out.string() + "/");
  ASSERT_TRUE(Control<QWidget>(kGenerateId).isEnabled());
  Control<ui::Button_CL>(kGenerateId).click();
  boxes = desktop.Boxes();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_TRUE(boxes[2].text.startsWith(QStringLiteral("写真一覧の生成に失敗しました。")))
      << boxes[2].text.toStdString();
  EXPECT_EQ(boxes[2].icon, ui::BoxIcon::Exclamation);
  EXPECT_TRUE(desktop.Opened().empty());
}

} // namespace
} // namespace lumicrate::test
