// Every run writes a whole new album beside the old one, so no page or thumbnail of a photo
// that has since left the output folder survives, and puts it in place only once it is complete.
// Thumbnails of photos that did not change are taken over from the old album.
#include "album/BuildAlbum.h"

#include <cerrno>
#include <sys/stat.h>

#include "album/AlbumCatalog.h"
#include "album/AlbumStaging_CL.h"
#include "album/ThumbnailStore_CL.h"
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
  // would build and replace PhotoAlbum under each other; the second waits for the first.
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
  // Without the template every thumbnail would link to an empty viewer page: that is no album,
  // and the one already there is worth more.
  if (const std::filesystem::path missing = MissingTemplateFile(options); !missing.empty()) {
    Log().Write("写真一覧のテンプレートがありません。 = %s", missing.c_str());
    return HResultFromErrno(ENOENT);
  }
  // Something that is not a folder where the album belongs is the user's, not ours to replace.
  struct stat info {};
  const bool oldAlbum = ::lstat(options.AlbumFolder.c_str(), &info) == 0;
  const AlbumStaging_CL staging(options.AlbumFolder);
  HRESULT hr = oldAlbum && !S_ISDIR(info.st_mode) && !S_ISLNK(info.st_mode) ? HResultFromErrno(ENOTDIR)
                                                                            : staging.RemoveLeftovers();
  if (hr != S_OK) {
    Log().Write("PhotoAlbumフォルダの削除に失敗しました。");
    return hr;
  }
  AlbumOptions staged = options;
  staged.AlbumFolder = staging.Folder();
  // Made before the walk, so the time it notes comes before every look at a photo.
  ThumbnailStore_CL store(staged, oldAlbum ? options.AlbumFolder : std::filesystem::path());
  AlbumCatalog catalog;
  catalog.CollectFolder(options.OutputFolder, {options.AlbumFolder});
  if (options.Progress) {
    options.Progress->SetPosition(0);
    options.Progress->SetTotal(0);
  }
  catalog.SortYears();
  hr = catalog.Generate(staged, store);
  hr = hr == S_OK ? staging.PutInPlace() : hr;
  if (hr != S_OK) {
    staging.RemoveLeftovers();
    Log().Write("写真一覧の書き込みに失敗しました。 = %s", (options.AlbumFolder / options.IndexFileName).c_str());
    Log().Write("前の写真一覧をそのまま残しました。 0x%08x", static_cast<unsigned>(hr));
    return hr;
  }
  // The old album now sits in the staging folder; the next run removes it if this one cannot.
  if (staging.RemoveLeftovers() != S_OK) {
    Log().Write("PhotoAlbumフォルダの削除に失敗しました。");
  }
  return S_OK;
}

} // namespace lumicrate
