// The product's fixed names: its address (which also names the single-instance lock),
// the data folder name and the files inside it.
#pragma once

namespace lumicrate {

inline constexpr const char* kProductHost = "lumicrate.example";
inline constexpr const char* kProductAddress = "https://lumicrate.example/Lumicrate";
// The support site that the version page and the album's footer lead to.
inline constexpr const char* kSupportAddress = "http://lumicrate.example/Lumicrate/";
// The desktop entry's name without ".desktop", so that the desktop finds the entry (and its icon)
// of the running window.
inline constexpr const char* kDesktopFileId = "example.lumicrate.Lumicrate";
inline constexpr const char* kDataFolderName = "Lumicrate";
inline constexpr const char* kSettingsFileName = "Lumicrate.ini";
inline constexpr const char* kLogFileName = "log.txt";
inline constexpr const char* kTempFolderName = "tmp";

} // namespace lumicrate
