// What the desktop may be asked to open: plain web addresses and files that exist, nothing else.
#include <gtest/gtest.h>

#include "platform/DesktopSeams.h"
#include "support/TestSupport.h"

namespace lumicrate {
namespace {

TEST(DesktopSeamsTest, OnlyWebAddressesAndExistingFilesAreOpened) {
  test::TempDir dir;
  test::WriteBytes(dir / "index.html", "<html></html>");
  const struct {
    std::string target;
    ShellTarget expected;
  } cases[] = {
      {"http://lumicrate.example/Lumicrate/", ShellTarget::WebAddress},
      {"https://lumicrate.example/download", ShellTarget::WebAddress},
      {(dir / "index.html").string(), ShellTarget::File},
      {(dir / "missing.html").string(), ShellTarget::Refused},
      {dir.Path().string(), ShellTarget::Refused},
      {"index.html", ShellTarget::Refused},
      {"file:///etc/passwd", ShellTarget::Refused},
      {"javascript:alert(1)", ShellTarget::Refused},
      {"http://host/\nnext", ShellTarget::Refused},
      {"", ShellTarget::Refused},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClassifyShellTarget(c.target), c.expected) << c.target;
  }
}

} // namespace
} // namespace lumicrate
