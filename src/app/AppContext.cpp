// Settings that decide what a run imports, loaded once when the program starts.
#include "app/AppContext.h"

#include "app/Inifile_CL.h"

namespace lumicrate {

AppContext& Context() {
  static AppContext context;
  return context;
}

AppContext::AppContext()
    : MovieExtensions(CompareFileInfo_CL::DefaultMovies()), PhotoExtensions(CompareFileInfo_CL::DefaultPhotos()),
      SoundExtensions(CompareFileInfo_CL::DefaultSounds()) {}

void AppContext::LoadSettings(const Inifile_CL& settings) {
  DetectIPhone();
  LoadImportSettings(settings);
}

void AppContext::LoadImportSettings(const Inifile_CL& settings) {
  LoadExtensionTables(settings);
  ImportPhotos = settings.GetInt("APP_INFO", "arrnge_photo", 1);
  ImportMovies = settings.GetInt("APP_INFO", "arrnge_movie", 1);
  ImportSounds = settings.GetInt("APP_INFO", "arrnge_sound", 1);
  OutputFormatType = settings.GetInt("APP_INFO", "OutputFormatType", 3);
}

void AppContext::LoadExtensionTables(const Inifile_CL& settings) {
  MovieExtensions.Load(settings);
  PhotoExtensions.Load(settings);
  SoundExtensions.Load(settings);
}

void AppContext::DetectIPhone(const DeviceQuery& query) {
  ApplyIPhoneScan(ScanForIPhone(query));
}

void AppContext::ApplyIPhoneScan(const IPhoneScan& scan) {
  IPhonePresent = scan.present ? 1 : 0;
  if (scan.present) {
    DeviceName = scan.friendlyName;
  }
}

void AppContext::SelectDrive(const std::filesystem::path& mountPoint, const std::string& productName) {
  Mode = ImportMode::Drive;
  SourceFolder = mountPoint;
  DeviceName = productName + "(" + mountPoint.string() + ")";
}

void AppContext::BeginRun() {
  DuplicateTable.Clear();
  ScannedDates.clear();
  CaptureDates.Clear();
}

int AppContext::IsImportTarget(const std::filesystem::path& path) const {
  // The extension runs from the last dot of the whole path, so a dotless file in a dotted
  // folder gets a long "extension" that matches nothing.
  const std::string& text = path.native();
  const size_t dot = text.rfind('.');
  const std::string extension = dot == std::string::npos ? std::string() : text.substr(dot);
  const auto enabledIn = [&](const CompareFileInfo_CL& table) {
    const auto entry = table.Find(extension);
    return entry && entry->enabled;
  };
  if (ImportPhotos && enabledIn(PhotoExtensions)) {
    return 1;
  }
  if (ImportMovies && enabledIn(MovieExtensions)) {
    return 1;
  }
  if (ImportSounds && enabledIn(SoundExtensions)) {
    return 1;
  }
  return 0;
}

} // namespace lumicrate
