// The image strip of the context menus and the menu built from it: cells of equal width with
// magenta masked out, and items that carry their command and image.
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "ui/UiFixture.h"
#include "ui/framework/ImageList_CL.h"
#include "ui/framework/PopupMenu_CL.h"

namespace lumicrate::test {
namespace {

using ui::ImageList_CL;
using ui::PopupMenu_CL;

class PopupMenuTest : public UiTest {
protected:
  // A strip of three 24-pixel cells on magenta, each with a square of its own colour and a
  // narrower rest that is no cell.
  QString WriteStrip() const {
    QImage strip(3 * 24 + 10, 24, QImage::Format_RGB32);
    strip.fill(QColor(255, 0, 255));
    QPainter painter(&strip);
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue};
    for (int i = 0; i < 3; ++i) {
      painter.fillRect(i * 24 + 4, 4, 16, 16, colours[i]);
    }
    painter.end();
    const QString path = QString::fromStdString((Home() / "strip.bmp").string());
    EXPECT_TRUE(strip.save(path, "BMP"));
    return path;
  }
};

TEST_F(PopupMenuTest, TheStripIsCutIntoCellsWithMagentaMasked) {
  ImageList_CL images;
  images.LoadStrip(WriteStrip(), 24);
  ASSERT_EQ(images.Count(), 3);
  EXPECT_EQ(images.ImageSize(), QSize(24, 24));
  const QImage second = images.Image(1).toImage();
  EXPECT_EQ(qAlpha(second.pixel(0, 0)), 0) << "magenta is transparent";
  EXPECT_EQ(qAlpha(second.pixel(23, 23)), 0);
  EXPECT_EQ(second.pixel(12, 12), QColor(Qt::green).rgba());
  EXPECT_TRUE(images.Image(3).isNull());
  EXPECT_TRUE(images.Icon(-1).isNull());

  ImageList_CL missing;
  missing.LoadStrip(QString::fromStdString((Home() / "none.bmp").string()), 24);
  EXPECT_TRUE(missing.Empty()) << "a strip that cannot be loaded leaves the list empty";
}

TEST_F(PopupMenuTest, TheProgramsStripHoldsTheAddAndDeleteImages) {
  ImageList_CL images;
  images.LoadStrip(LUMICRATE_SOURCE_DIR "/resources/menu_image.bmp", 24);
  ASSERT_GE(images.Count(), 6);
  EXPECT_EQ(images.ImageSize().width(), 24);
  for (const int index : {1, 5}) {
    const QImage image = images.Image(index).toImage();
    int opaque = 0;
    int masked = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        (qAlpha(image.pixel(x, y)) == 0 ? masked : opaque)++;
      }
    }
    EXPECT_GT(opaque, 0) << "image " << index << " draws something";
    EXPECT_GT(masked, 0) << "image " << index << " has a masked background";
  }
}

TEST_F(PopupMenuTest, ItemsCarryTheirCommandImageAndState) {
  ImageList_CL images;
  images.LoadStrip(WriteStrip(), 24);
  PopupMenu_CL menu;
  menu.SetImageList(&images);
  menu.AddItem(4660, QStringLiteral("拡張子を追加する"), 2);
  menu.AddSeparator();
  menu.AddItem(4661, QStringLiteral("拡張子を削除する\tDel"));
  menu.SetItemEnabled(4661, false);

  ASSERT_EQ(menu.Menu().actions().size(), 3);
  EXPECT_TRUE(menu.Menu().actions()[1]->isSeparator());
  ASSERT_TRUE(menu.Item(4660));
  EXPECT_EQ(menu.Item(4660)->text(), QStringLiteral("拡張子を追加する"));
  EXPECT_EQ(menu.Item(4660)->icon().pixmap(24, 24).toImage().pixel(12, 12), QColor(Qt::blue).rgba());
  EXPECT_TRUE(menu.Item(4660)->isEnabled());
  EXPECT_TRUE(menu.Item(4661)->icon().isNull());
  EXPECT_FALSE(menu.Item(4661)->isEnabled());
  EXPECT_EQ(menu.Item(4662), nullptr);
}

} // namespace
} // namespace lumicrate::test
