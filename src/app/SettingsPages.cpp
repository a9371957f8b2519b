// The settings sheet's keys: import switches as 0 or 1 in APP_INFO, the update notice switch
// in VERSION, and the tables in their own sections.
#include "app/SettingsPages.h"

namespace lumicrate {
namespace {

constexpr const char* kAppSection = "APP_INFO";
constexpr const char* kVersionSection = "VERSION";

} // namespace

ImportSwitches CurrentImportSwitches(const AppContext& context) {
  return {context.ImportPhotos != 0, context.ImportMovies != 0, context.ImportSounds != 0};
}

void ApplyImportSwitches(const ImportSwitches& switches, AppContext& context, Inifile_CL::Edit_CL& edit) {
  context.ImportPhotos = switches.photos ? 1 : 0;
  context.ImportMovies = switches.movies ? 1 : 0;
  context.ImportSounds = switches.sounds ? 1 : 0;
  edit.WriteInt(kAppSection, "arrnge_photo", context.ImportPhotos);
  edit.WriteInt(kAppSection, "arrnge_movie", context.ImportMovies);
  edit.WriteInt(kAppSection, "arrnge_sound", context.ImportSounds);
}

bool UpdateNoticesOff(const Inifile_CL& settings) {
  return settings.GetInt(kVersionSection, "notify", 0) != 0;
}

void ApplyUpdateNoticesOff(bool off, Inifile_CL::Edit_CL& edit) {
  edit.WriteInt(kVersionSection, "notify", off ? 1 : 0);
}

void StoreExtensionTables(const AppContext& context, Inifile_CL::Edit_CL& edit) {
  context.MovieExtensions.Save(edit);
  context.PhotoExtensions.Save(edit);
  context.SoundExtensions.Save(edit);
}

} // namespace lumicrate
