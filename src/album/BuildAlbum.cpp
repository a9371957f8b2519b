// Every run starts from nothing: the old album goes first, so no page or thumbnail of a photo
// that has since left the output folder survives.
#include "album/BuildAlbum.h"

#include <sys/stat.h>

#include "album/AlbumCatalog.h"
#include "album/FolderTree.h"
#include "app/ActivityLog.h"
#include "import/StagingFolder.h"
#include "platform/FileLock.h"

namespace lumicrate {
namespace {

std::filesystem::path WithoutTrailingSeparator(std::filesystem::path folder) {
  std::string text = folder.native();
  while (text.size() > 1 && text.back() == '/') {
    text.pop_back();
  }
  return text;
}

} // namespace

std::filesystem::path ProgramFolder() {
  std::error_code ec;
  return std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
}

AlbumOptions MakeAlbumOptions(Progress_CL* progress, const std::filesystem::path& outputFolder) {
  AlbumOptions options;
  options.Progress = progress;
  options.OutputFolder = WithoutTrailingSeparator(outputFolder);
  options.AlbumFolder = options.OutputFolder / "PhotoAlbum";
  options.TemplateFolder = ProgramFolder() / "Template" / "0001";
  options.ProgressText = "写真一覧の生成中";
  options.MapMode = 1;
  options.IndexFileName = "index.html";
  options.Title = "写真一覧";
  options.Heading = "<h1>写真一覧</h1>";
  options.ThumbWidth = 320;
  options.ThumbHeight = 240;
  options.ThumbQuality = 80;
  return options;
}

HRESULT BuildAlbum(Progress_CL* progress, const std::filesystem::path& outputFolder) {
  return BuildAlbum(MakeAlbumOptions(progress, outputFolder));
}

HRESULT BuildAlbum(const AlbumOptions& options) {
  // Two album runs over one output folder (the desktop program and the command line, say)
  // would delete and rebuild PhotoAlbum under each other; the second waits for the first.
  // A folder where no lock file can be made is built without one, as before. The lock file is
  // there only while a run holds it, and what a killed import left goes too, so that the output
  // folder holds nothing but media and PhotoAlbum once the album is made.
  FileLock lock;
  lock.Acquire(options.OutputFolder / kAlbumLockFileName, FileLock::Mode::Wait, true);
  RemoveImportLeftovers(options.OutputFolder);
  if (options.Progress) {
    options.Progress->SetPosition(0);
    options.Progress->SetTotal(0);
    options.Progress->SetText(options.ProgressText);
  }
  struct stat info {};
  if (::lstat(options.AlbumFolder.c_str(), &info) == 0) {
    const HRESULT hr = DeleteFolderTree(options.AlbumFolder);
    if (hr != S_OK) {
      Log().Write("PhotoAlbumフォルダの削除に失敗しました。");
      return hr;
    }
  }
  AlbumCatalog catalog;
  catalog.CollectFolder(options.OutputFolder);
  if (options.Progress) {
    options.Progress->SetPosition(0);
    options.Progress->SetTotal(0);
  }
  catalog.SortYears();
  return catalog.Generate(options);
}

} // namespace lumicrate
