// The program's own pictures: the icon in the program's resources and the context menu's image
// strip beside the program (24-bit, 24 pixels high, cells of 24, magenta where nothing is drawn).
#include <QIcon>
#include <QImage>
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "ui/UiFixture.h"

namespace lumicrate::test {
namespace {

class ResourcesTest : public UiTest {};

TEST_F(ResourcesTest, TheIconIsInTheProgram) {
  const QIcon icon(QStringLiteral(":/lumicrate.svg"));
  EXPECT_FALSE(icon.pixmap(64, 64).isNull());
}

TEST_F(ResourcesTest, TheMenuStripHasMaskedCellsWithADeleteAndAnAddPicture) {
  const auto path = std::filesystem::path(LUMICRATE_BINARY_DIR) / "menu_image.bmp";
  const std::string bytes = ReadBytes(path);
  ASSERT_GT(bytes.size(), 54u) << path;
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(static_cast<unsigned char>(bytes[28]), 24u) << "bits per pixel";
  const QImage strip(QString::fromStdString(path.string()));
  ASSERT_FALSE(strip.isNull());
  EXPECT_EQ(strip.height(), 24);
  EXPECT_EQ(strip.width() % 24, 0);
  EXPECT_GE(strip.width() / 24, 6);
  const QRgb magenta = qRgb(255, 0, 255);
  for (const int cell : {1, 5}) {
    SCOPED_TRACE(cell);
    EXPECT_EQ(strip.pixel(cell * 24, 0), magenta) << "the corner is background";
    EXPECT_NE(strip.pixel(cell * 24 + 12, 12), magenta) << "the middle is drawn";
  }
}

} // namespace
} // namespace lumicrate::test
