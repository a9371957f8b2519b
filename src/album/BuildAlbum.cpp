// Every run starts from nothing: the old album goes first, so no page or thumbnail of a photo
// that has since left the output folder survives.
#include "album/BuildAlbum.h"

#include <cerrno>
#include <sys/stat.h>

#include "album/AlbumCatalog.h"
#include "album/FolderTree.h"
#include "app/ActivityLog.h"
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

AlbumOptions MakeAlbumOptions(Progress_CL* progress, const std::filesystem::path& outputFolder) {
  AlbumOptions options;
  options.Progress = progress;
  options.OutputFolder = WithoutTrailingSeparator(outputFolder);
  options.AlbumFolder = options.OutputFolder / "PhotoAlbum";
  options.TemplateFolder = ProgramDataPath("Template/0001");
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

std::filesystem::path MissingTemplateFile(const AlbumOptions& options) {
  for (const char* name : {"picture.html", "make_photo_album.css"}) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(options.TemplateFolder / name, ec)) {
      return options.TemplateFolder / name;
    }
  }
  return {};
}

HRESULT BuildAlbum(Progress_CL* progress, const std::filesystem::path& outputFolder) {
  return BuildAlbum(MakeAlbumOptions(progress, outputFolder));
}

HRESULT BuildAlbum(const AlbumOptions& options) {
  // Two album runs over one output folder (the desktop program and the command line, say)
  // would delete and rebuild PhotoAlbum under each other; the second waits for the first.
  // A folder where no lock file can be made is built without one, as before.
  FileLock lock;
  lock.Acquire(options.OutputFolder / kAlbumLockFileName, FileLock::Mode::Wait);
  if (options.Progress) {
    options.Progress->SetPosition(0);
    options.Progress->SetTotal(0);
    options.Progress->SetText(options.ProgressText);
  }
  // Without the template every thumbnail would link to an empty viewer page: that is no album,
  // and the one already there is worth more.
  if (const std::filesystem::path missing = MissingTemplateFile(options); !missing.empty()) {
    Log().Write("写真一覧のテンプレートがありません。 = %s", missing.c_str());
    return HResultFromErrno(ENOENT);
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
