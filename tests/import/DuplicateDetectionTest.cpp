// Duplicates by content only: the quick hash to the bit, byte comparisons that find a
// difference anywhere, and the lazy, recursive scan of a date folder.
#include <fcntl.h>
#include <gtest/gtest.h>

#include <sstream>

#include "ImportFixtures.h"
#include "import/CompareFile_CL.h"
#include "import/ContentCompare.h"
#include "import/DuplicateDetection.h"
#include "platform/FileDescriptor.h"

namespace lumicrate {
namespace {

using test::ImportTest;

class DuplicateDetectionTest : public ImportTest {};

std::string Pattern(size_t size, unsigned char seed) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) {
    bytes[i] = static_cast<char>((i * 31 + seed) & 0xFF);
  }
  return bytes;
}

TEST_F(DuplicateDetectionTest, QuickHashTakesSizeAndSignedFirstAndLastBytes) {
  struct Case {
    std::string bytes;
    std::uint64_t hash;
  };
  std::string counting;
  for (int i = 0; i < 4 * 256; ++i) {
    counting.push_back(static_cast<char>(i));
  }
  counting.push_back('\x90');
  // Expected values worked out independently of this code, bytes above 0x7F taken as negative.
  const Case cases[] = {
      {"", 0},
      {"abc\xFF\x80", 0x92616f8a11eeeb8fULL},
      {counting, 0xcee124ab9678dd91ULL},
  };
  for (const Case& c : cases) {
    test::WriteBytes(dir / "f", c.bytes);
    EXPECT_EQ(QuickHash(dir / "f"), c.hash) << c.bytes.size();
    const FileDescriptor fd(::open((dir / "f").c_str(), O_RDONLY | O_CLOEXEC));
    EXPECT_EQ(QuickHash(fd.Get(), static_cast<std::int64_t>(c.bytes.size())), c.hash)
        << "by descriptor, " << c.bytes.size();
  }
  EXPECT_EQ(QuickHash(dir / "missing"), kUnreadableHash);
  EXPECT_EQ(QuickHash(dir.Path()), kUnreadableHash);
}

TEST_F(DuplicateDetectionTest, SameContentFindsADifferenceAnywhere) {
  const size_t big = 5 * 1024 * 1024 + 17; // past the largest chunk
  struct Case {
    const char* what;
    std::string a, b;
    int same; // SameContent's result: 0 equal, 1 different
  };
  std::string middle = Pattern(4096, 1);
  middle[2000] ^= 1;
  std::string lastByte = Pattern(big, 2);
  lastByte.back() ^= 0x80;
  const Case cases[] = {
      {"equal", Pattern(1000, 1), Pattern(1000, 1), 0},
      {"both empty", "", "", 0},
      {"equal and large", Pattern(big, 2), Pattern(big, 2), 0},
      {"differ in the middle only", Pattern(4096, 1), middle, 1},
      {"differ in the very last byte", Pattern(big, 2), lastByte, 1},
      {"sizes differ", Pattern(1000, 1), Pattern(1001, 1), 1},
  };
  for (const Case& c : cases) {
    test::WriteBytes(dir / "a", c.a);
    test::WriteBytes(dir / "b", c.b);
    EXPECT_EQ(SameContent(dir / "a", dir / "b"), c.same) << c.what;
  }
  // The middle difference is invisible to the quick hash: only the comparison sees it.
  test::WriteBytes(dir / "a", Pattern(4096, 1));
  test::WriteBytes(dir / "b", middle);
  EXPECT_EQ(QuickHash(dir / "a"), QuickHash(dir / "b"));
  EXPECT_EQ(SameContent(dir / "a", dir / "missing"), 1);
  EXPECT_EQ(SameContent(dir / "missing", dir / "missing"), 1);
}

TEST_F(DuplicateDetectionTest, DateFolderIsScannedOnceAndAtAnyDepth) {
  const auto output = dir / "out";
  context.OutputFormatType = 3;
  struct Case {
    const char* what;
    const char* existing; // where the same bytes already are, under the output folder
    int duplicate;
  };
  const Case cases[] = {
      {"other name, same date folder", "2015-06/renamed.jpg", 1},
      {"sub-folder of the date folder", "2015-06/selected/best/x.jpg", 1},
      {"another date folder, never scanned", "2015-07/IMG.jpg", 0},
      {"output root, outside any date folder", "IMG.jpg", 0},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(output);
    context.BeginRun();
    const auto source = dir / "card" / "IMG.jpg";
    test::MakePhoto(source, "2015:06:21 10:00:00", 7);
    std::filesystem::create_directories((output / c.existing).parent_path());
    std::filesystem::copy_file(source, output / c.existing);
    EXPECT_EQ(IsDuplicate(context, output, source), c.duplicate) << c.what;
  }

  // Scanned once per run: a file put there afterwards is not seen, unless registered.
  std::filesystem::remove_all(output);
  context.BeginRun();
  const auto a = dir / "card" / "A.jpg";
  const auto b = dir / "card" / "B.jpg";
  test::MakePhoto(a, "2015:06:21 10:00:00", 8);
  test::MakePhoto(b, "2015:06:22 10:00:00", 9);
  EXPECT_EQ(IsDuplicate(context, output, a), 0);
  std::filesystem::create_directories(output / "2015-06");
  std::filesystem::copy_file(b, output / "2015-06" / "B.jpg");
  EXPECT_EQ(IsDuplicate(context, output, b), 0) << "same folder, already scanned in this run";
  RegisterFile(context, output / "2015-06" / "B.jpg");
  EXPECT_EQ(IsDuplicate(context, output, b), 1);
  EXPECT_EQ(context.ScannedDates.size(), 1u);
  context.BeginRun();
  EXPECT_EQ(context.DuplicateTable.Count(), 0u);
  EXPECT_EQ(IsDuplicate(context, output, b), 1) << "a new run scans again";
}

TEST_F(DuplicateDetectionTest, EmptyFilesAreDuplicatesUnreadableOnesNever) {
  test::WriteBytes(dir / "empty1.mov", "");
  test::WriteBytes(dir / "empty2.mov", "");
  RegisterFile(context, dir / "empty1.mov");
  EXPECT_EQ(IsKnownContent(context, dir / "empty2.mov"), 1);
  RegisterFile(context, dir / "gone.mov");
  EXPECT_EQ(IsKnownContent(context, dir / "missing.mov"), 0);
}

TEST(CompareItemTest, SavesHashAndUtf16PathAndLoadsThemBack) {
  const CompareFile_CL::CompareItem_CL item(0x0102030405060708ULL, "/写/a");
  std::stringstream stream;
  ASSERT_TRUE(item.Save(stream));
  const std::string bytes = stream.str();
  EXPECT_EQ(bytes, std::string("\x08\x07\x06\x05\x04\x03\x02\x01"
                               "\x04\0\0\0"
                               "/\0\x99\x51/\0a\0\0\0",
                               22));
  CompareFile_CL::CompareItem_CL loaded;
  ASSERT_TRUE(loaded.Load(stream));
  EXPECT_EQ(loaded.QuickHash, item.QuickHash);
  EXPECT_EQ(loaded.Path, item.Path);
  std::stringstream truncated(bytes.substr(0, 15));
  EXPECT_FALSE(loaded.Load(truncated));
}

} // namespace
} // namespace lumicrate
