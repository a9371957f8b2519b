// The one process-wide import context: the extension tables, the import switches and the
// parameters of the next run. A run reads it while nothing else changes it.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>

#include "device/DeviceQuery.h"
#include "device/IPhoneScan.h"
#include "import/CaptureDateCache_CL.h"
#include "import/CompareFile_CL.h"
#include "media/CompareFileInfo_CL.h"

namespace lumicrate {

class Inifile_CL;

enum class ImportMode : std::int32_t { Drive = 0, Device = 1, Folder = 2, Album = 3 };

class AppContext {
public:
  AppContext();

  // Detects an iPhone, then loads the tables, the import switches and the layout from the
  // settings file.
  void LoadSettings(const Inifile_CL& settings);
  // The tables, the import switches and the layout alone.
  void LoadImportSettings(const Inifile_CL& settings);
  // The three extension tables alone, each from its defaults and its stored items.
  void LoadExtensionTables(const Inifile_CL& settings);

  // Sets IPhonePresent from a fresh device list: 1, with DeviceName the device's friendly
  // name, when a device with the query's description is connected; else 0.
  void DetectIPhone(const DeviceQuery& query = {});
  // The same from a look made elsewhere (off the window's thread).
  void ApplyIPhoneScan(const IPhoneScan& scan);

  // An import from the drive mounted at mountPoint: Mode Drive, that folder as the source, and
  // "product(mount point)" as the name the question shows.
  void SelectDrive(const std::filesystem::path& mountPoint, const std::string& productName);

  // Non-zero when the file's extension is switched on in a media kind that is imported.
  int IsImportTarget(const std::filesystem::path& path) const;

  // Empties the duplicate table, the scanned dates and the date cache: each run knows only what
  // its own output folder holds, so a change of output folder can never hide a file.
  void BeginRun();

  CompareFile_CL DuplicateTable;
  // Dates (year, month, day, as far as the layout's folder names show them) whose date folder
  // has been scanned into the table in this run.
  std::set<std::array<std::uint16_t, 3>> ScannedDates;
  CaptureDateCache_CL CaptureDates;
  std::filesystem::path TempFolder;
  CompareFileInfo_CL MovieExtensions;
  CompareFileInfo_CL PhotoExtensions;
  CompareFileInfo_CL SoundExtensions;
  std::int32_t OutputFormatType = 3;
  std::int32_t IPhonePresent = 0;
  std::int32_t ReadyForImport = 1;
  ImportMode Mode = ImportMode::Drive;
  std::string DeviceName;
  std::filesystem::path SourceFolder;
  std::filesystem::path OutputFolder;
  std::int32_t ImportPhotos = 0;
  std::int32_t ImportMovies = 0;
  std::int32_t ImportSounds = 0;
  // Threads an import uses to read, hash and copy ahead of its own: 0 for as many as suit the
  // machine, 1 for none (everything in order on the run's thread). Names, counts and log lines
  // are the same either way.
  std::int32_t ImportThreads = 0;
};

// The process-wide context.
AppContext& Context();

} // namespace lumicrate
