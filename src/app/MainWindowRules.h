// The decisions of the main window that need no window: how the output-folder field is read,
// the question before an import, what is said when a run ends, and whether the album can be
// generated or viewed.
#pragma once

#include <filesystem>
#include <string>

#include "app/AppContext.h"
#include "app/SelectedRun.h"
#include "platform/HResult.h"

namespace lumicrate {

inline constexpr char kAlbumFolderName[] = "PhotoAlbum";
inline constexpr char kAlbumIndexName[] = "index.html";

// The text with one trailing "/" removed: "a/b/" gives "a/b", "a/b//" gives "a/b/". The root
// "/" stays, since without its slash it would name no folder at all.
std::string RemoveOneTrailingSeparator(std::string text);

// The question asked before an import from a folder ("フォルダ"…"が選択されました。") or from a
// drive or device ("デバイス"…"が接続されました。"), CR LF line breaks.
std::string ImportConfirmationText(ImportMode mode, const std::string& sourceFolder, const std::string& deviceName);

// What the main window says when a run has ended, CR LF line breaks: "写真の取り込みが完了しました。"
// or "写真一覧の生成が完了しました。" for a run that succeeded; for one that failed, that it failed,
// with its code and the system's reason, the files of a failed copy and how many were copied
// before, so that nobody takes a half-done import for a finished one.
std::string RunEndText(ImportMode mode, HRESULT result, const SelectedRunReport& report);

// The album's start page below an output folder as the field gives it.
std::filesystem::path AlbumIndexPath(const std::string& outputFolder);

// True when the folder holds at least one sub-folder besides PhotoAlbum (in any letter case):
// only then is there anything to make an album of. A missing folder gives false.
bool CanGenerateAlbum(const std::filesystem::path& outputFolder);

} // namespace lumicrate
