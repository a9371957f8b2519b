// The folder run on real card trees: candidates, counts, log lines and progress, repeat runs,
// the stop at a failed copy, the walker's rules, and two runs into one output folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sys/stat.h>
#include <thread>

#include "ImportFixtures.h"
#include "app/Inifile_CL.h"
#include "app/Progress_CL.h"
#include "import/DestinationLayout.h"
#include "import/FolderImportRun.h"
#include "import/MyFindFile_CL.h"
#include "platform/WorkerPool.h"

namespace lumicrate {
namespace {

using test::ImportTest;

class FolderImportRunTest : public ImportTest {
protected:
  // The messages of the log lines written since the last call, without their time prefix.
  std::vector<std::string> NewLogLines() {
    const std::string text = LogText();
    std::vector<std::string> lines;
    for (size_t at = logRead_; at < text.size();) {
      const size_t end = text.find("\r\n", at);
      lines.push_back(text.substr(at + 26, end - at - 26));
      at = end + 2;
    }
    logRead_ = text.size();
    return lines;
  }

  HRESULT Run(const std::filesystem::path& source, const std::filesystem::path& output,
              test::RecordingProgress& progress, ImportReport& report) {
    NewLogLines();
    return FolderImportRun(context, progress, source, output, &report);
  }

  size_t logRead_ = 0;
};

std::vector<std::string> CountLines(int n, int duplicates, int copied) {
  return {"入力ファイルの数   = " + std::to_string(n), "重複ファイルの数   = " + std::to_string(duplicates),
          "コピーファイルの数 = " + std::to_string(copied)};
}

TEST_F(FolderImportRunTest, CardIsCopiedOnceThenFoundAgainAsDuplicates) {
  const auto card = dir / "card";
  const auto output = dir / "Photos";
  context.OutputFormatType = 13;
  test::MakePhoto(card / "DCIM/100CANON/IMG_0001.JPG", "2015:06:21 14:03:09", 1);
  test::WriteBytes(card / "DCIM/100CANON/MVI_0002.MOV", std::string(3000, 'v'));
  test::SetModified(card / "DCIM/100CANON/MVI_0002.MOV", 2015, 6, 22);
  test::WriteBytes(card / "DCIM/100CANON/MVI_0002.THM", "thumbnail");
  test::WriteBytes(card / "PRIVATE/INDEX.XML", "<x/>");

  for (const int pass : {1, 2}) {
    SCOPED_TRACE(pass);
    test::RecordingProgress progress;
    ImportReport report;
    ASSERT_EQ(Run(card, output, progress, report), S_OK);
    EXPECT_EQ(NewLogLines(), pass == 1 ? CountLines(2, 0, 2) : CountLines(2, 2, 0));
    EXPECT_EQ(report.inputFiles, 2);
    EXPECT_EQ(progress.GetTotal(), 2);
    EXPECT_EQ(progress.GetPosition(), 2);
    EXPECT_EQ(progress.texts, (std::vector<std::string>{"写真の取り込み中( 1 / 2 )", "写真の取り込み中( 2 / 2 )"}));
    EXPECT_EQ(test::FilesUnder(output),
              (std::vector<std::string>{"2015年/06月/21日/IMG_0001.JPG", "2015年/06月/22日/MVI_0002.MOV"}));
  }
}

TEST_F(FolderImportRunTest, NothingToImportLeavesTheTotalAtZero) {
  for (const char* source : {"missing", "empty"}) {
    std::filesystem::create_directories(dir / "empty");
    test::RecordingProgress progress;
    ImportReport report;
    EXPECT_EQ(Run(dir / source, dir / "out", progress, report), S_OK);
    EXPECT_EQ(NewLogLines(), CountLines(0, 0, 0)) << source;
    EXPECT_EQ(progress.GetTotal(), 0);
    EXPECT_TRUE(progress.texts.empty());
  }
}

TEST_F(FolderImportRunTest, SameContentTwiceAndSameNameWithOtherContent) {
  const auto card = dir / "card";
  context.OutputFormatType = 3;
  test::MakePhoto(card / "A/IMG_0001.JPG", "2015:06:21 10:00:00", 1);
  std::filesystem::create_directories(card / "B");
  std::filesystem::copy_file(card / "A/IMG_0001.JPG", card / "B/IMG_0001.JPG");
  test::MakePhoto(card / "C/IMG_0001.JPG", "2015:06:21 11:00:00", 2);
  test::RecordingProgress progress;
  ImportReport report;
  ASSERT_EQ(Run(card, dir / "out", progress, report), S_OK);
  EXPECT_EQ(NewLogLines(), CountLines(3, 1, 2));
  EXPECT_EQ(test::FilesUnder(dir / "out"),
            (std::vector<std::string>{"2015-06/IMG_0001(1).JPG", "2015-06/IMG_0001.JPG"}));
}

TEST_F(FolderImportRunTest, LongNamesThatCollideGetANumberedNameThatFits) {
  const auto card = dir / "card";
  context.OutputFormatType = 3;
  std::string name;
  for (int i = 0; i < 83; ++i) {
    name += "写";
  }
  name += ".JPG"; // 253 bytes: "(1)" would pass the limit
  test::MakePhoto(card / "A" / name, "2015:06:21 10:00:00", 1);
  test::MakePhoto(card / "B" / name, "2015:06:21 11:00:00", 2);
  test::MakePhoto(card / "C/IMG_0003.JPG", "2015:06:22 11:00:00", 3);
  test::RecordingProgress progress;
  ImportReport report;
  ASSERT_EQ(Run(card, dir / "out", progress, report), S_OK);
  EXPECT_EQ(report.copiedFiles, 3) << "the files after the long one are not held up";
  std::vector<std::string> expected{"2015-06/IMG_0003.JPG", "2015-06/" + name,
                                    "2015-06/" + name.substr(0, 82 * 3) + "(1).JPG"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(test::FilesUnder(dir / "out"), expected);
}

TEST_F(FolderImportRunTest, ThreadsChangeNoNameCountOrLogLine) {
  const auto card = dir / "card";
  context.OutputFormatType = kNestedDayLayout;
  // Same names with other content (numbered names), same content under other names and in
  // other folders (duplicates), content already in the output, and a file without EXIF.
  for (int k = 0; k < 12; ++k) {
    test::MakePhoto(dir / "photos" / (std::to_string(k) + ".jpg"), "2015:06:2" + std::to_string(k % 2) + " 10:00:00",
                    k);
  }
  for (int i = 0; i < 40; ++i) {
    const auto path = card / ("F" + std::to_string(i / 8)) / ("IMG_000" + std::to_string(i % 8) + ".JPG");
    std::filesystem::create_directories(path.parent_path());
    std::filesystem::copy_file(dir / "photos" / (std::to_string(i % 12) + ".jpg"), path);
  }
  test::MakePhoto(card / "F9" / "IMG_0001.JPG", "", 1);
  std::filesystem::create_directories(dir / "template" / "2015年/06月/20日");
  std::filesystem::copy_file(dir / "photos" / "0.jpg", dir / "template" / "2015年/06月/20日/IMG_0000.JPG");
  test::MakePhoto(dir / "template" / "2015年/06月/21日/IMG_0001.JPG", "2015:06:21 10:00:00", 999);

  struct Outcome {
    HRESULT result;
    std::vector<std::string> log;
    std::vector<std::pair<std::string, std::string>> files;
    std::vector<std::string> texts;
    ImportReport report;
  };
  const auto run = [&](int threads) {
    const auto output = dir / ("out" + std::to_string(threads));
    std::filesystem::copy(dir / "template", output, std::filesystem::copy_options::recursive);
    context.ImportThreads = threads;
    Outcome outcome;
    test::RecordingProgress progress;
    outcome.result = Run(card, output, progress, outcome.report);
    outcome.log = NewLogLines();
    for (const auto& file : test::FilesUnder(output)) {
      outcome.files.emplace_back(file, test::ReadBytes(output / file));
    }
    outcome.texts = progress.texts;
    return outcome;
  };
  const Outcome serial = run(1);
  const Outcome threaded = run(4);
  ASSERT_EQ(serial.result, S_OK);
  EXPECT_EQ(threaded.result, serial.result);
  EXPECT_EQ(threaded.log, serial.log);
  EXPECT_EQ(threaded.files, serial.files);
  EXPECT_EQ(threaded.texts, serial.texts);
  EXPECT_EQ(threaded.report.copiedFiles, serial.report.copiedFiles);
  EXPECT_EQ(threaded.report.duplicates, serial.report.duplicates);
  EXPECT_GT(serial.report.duplicates, 10);
  EXPECT_EQ(serial.files.size(), 2u + static_cast<size_t>(serial.report.copiedFiles));
  EXPECT_TRUE(std::any_of(serial.files.begin(), serial.files.end(),
                          [](const auto& file) { return file.first.find("(1).JPG") != std::string::npos; }));
}

TEST_F(FolderImportRunTest, AFailedCopyEndsTheRunAtThatFile) {
  const auto card = dir / "card";
  const auto output = dir / "out";
  context.OutputFormatType = 4;
  for (int i = 1; i <= 5; ++i) {
    test::MakePhoto(card / ("IMG_000" + std::to_string(i) + ".JPG"), "2015:06:0" + std::to_string(i) + " 10:00:00", i);
  }
  // The third candidate in listing order finds its date folder's name taken by a file.
  std::vector<CandidateFile> order;
  MyFindFile_CL finder(context, order);
  finder.Walk(card, true);
  WorkerPool pool(0);
  DateCandidates(context, order, pool);
  ASSERT_EQ(order.size(), 5u);
  std::filesystem::create_directories(output);
  const auto blocked = output / ("2015-06-0" + std::to_string(order[2].captureDate.day));
  test::WriteBytes(blocked, "a file where the folder should be");

  test::RecordingProgress progress;
  ImportReport report;
  EXPECT_EQ(Run(card, output, progress, report), HResultFromWin32(267));
  EXPECT_EQ(NewLogLines(),
            (std::vector<std::string>{"入力ファイルの数   = 5", "ファイルのコピーに失敗しました。 0x8007010b",
                                      "コピー元 = " + order[2].path.string(),
                                      "コピー先 = " + (blocked / order[2].path.filename()).string()}));
  EXPECT_EQ(report.copiedFiles, 2);
  EXPECT_EQ(report.failedSource, order[2].path);
  EXPECT_EQ(progress.GetPosition(), 2);
  EXPECT_EQ(test::FilesUnder(output).size(), 3u) << "two copies and the blocking file";
}

TEST_F(FolderImportRunTest, WalkerKeepsListingOrderHiddenFilesAndStaysInsideTheSource) {
  const auto card = dir / "card";
  const auto elsewhere = dir / "elsewhere";
  context.OutputFormatType = 3;
  test::MakePhoto(card / "a.jpg", "2015:06:21 10:00:00", 1);
  test::MakePhoto(card / ".hidden.jpg", "2015:06:21 10:00:00", 2);
  test::MakePhoto(card / "sub/b.jpg", "2015:06:21 10:00:00", 3);
  test::MakePhoto(card / "sub/deeper/c.jpg", "2015:06:21 10:00:00", 4);
  test::MakePhoto(card / "z.jpg", "2015:06:21 10:00:00", 5);
  test::MakePhoto(elsewhere / "outside.jpg", "2015:06:21 10:00:00", 6);
  std::filesystem::create_directory_symlink(elsewhere, card / "linked-folder");
  std::filesystem::create_directory_symlink(card, card / "sub/loop");
  std::filesystem::create_symlink(elsewhere / "outside.jpg", card / "linked.jpg");
  ASSERT_EQ(::mkfifo((card / "fifo.jpg").c_str(), 0644), 0);

  // Expected: depth first, each folder's entries in the order the file system lists them.
  std::vector<std::filesystem::path> expected;
  const std::function<void(const std::filesystem::path&)> list = [&](const std::filesystem::path& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.is_symlink() && entry.is_directory()) {
        continue;
      }
      if (entry.is_directory()) {
        list(entry.path());
      } else if (entry.is_regular_file()) {
        expected.push_back(entry.path());
      }
    }
  };
  list(card);
  std::vector<CandidateFile> found;
  MyFindFile_CL finder(context, found);
  finder.Walk(card, true);
  std::vector<std::filesystem::path> paths;
  for (const auto& candidate : found) {
    paths.push_back(candidate.path);
  }
  EXPECT_EQ(paths, expected);
  EXPECT_EQ(paths.size(), 6u) << "five photos and the link to a file";

  // The output folder inside the source is never imported from.
  test::RecordingProgress progress;
  ImportReport report;
  ASSERT_EQ(Run(card, card / "out", progress, report), S_OK);
  ASSERT_EQ(Run(card, card / "out", progress, report), S_OK);
  EXPECT_EQ(NewLogLines(), CountLines(6, 6, 0));
}

TEST_F(FolderImportRunTest, EachRunKnowsOnlyItsOwnOutputFolder) {
  test::MakePhoto(dir / "card/IMG_0001.JPG", "2015:06:21 10:00:00", 1);
  for (const char* output : {"A", "B"}) {
    test::RecordingProgress progress;
    ImportReport report;
    ASSERT_EQ(Run(dir / "card", dir / output, progress, report), S_OK);
    EXPECT_EQ(report.copiedFiles, 1) << output;
  }
}

TEST_F(FolderImportRunTest, TwoRunsIntoOneOutputFolderCopyEachFileOnce) {
  const int files = 12;
  for (int i = 0; i < files; ++i) {
    test::MakePhoto(dir / "card" / ("IMG_" + std::to_string(i) + ".JPG"), "2015:06:21 10:00:00", i);
  }
  AppContext other;
  other.LoadSettings(Settings());
  ImportReport first;
  ImportReport second;
  std::thread thread([&] {
    test::RecordingProgress progress;
    FolderImportRun(other, progress, dir / "card", dir / "out", &second);
  });
  test::RecordingProgress progress;
  FolderImportRun(context, progress, dir / "card", dir / "out", &first);
  thread.join();
  EXPECT_EQ(first.copiedFiles + second.copiedFiles, files);
  EXPECT_EQ(first.duplicates + second.duplicates, files);
  EXPECT_EQ(test::FilesUnder(dir / "out").size(), static_cast<size_t>(files));
}

} // namespace
} // namespace lumicrate
