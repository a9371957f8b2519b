// What the settings sheet's import page and version page read and store, and what the whole
// sheet stores when it is closed with OK, without a window.
#pragma once

#include "app/AppContext.h"
#include "app/Inifile_CL.h"

namespace lumicrate {

// The three check boxes of the import page, as the page shows them.
struct ImportSwitches {
  bool photos = true;
  bool movies = true;
  bool sounds = true;

  bool operator==(const ImportSwitches&) const = default;
};

ImportSwitches CurrentImportSwitches(const AppContext& context);
// The context's flags take the page's state at once; the keys are stored with the edit.
void ApplyImportSwitches(const ImportSwitches& switches, AppContext& context, Inifile_CL::Edit_CL& edit);

// The version page's box "バージョンアップの通知をしない": on when "notify" is non-zero.
bool UpdateNoticesOff(const Inifile_CL& settings);
void ApplyUpdateNoticesOff(bool off, Inifile_CL::Edit_CL& edit);

// The three extension tables of the context, stored again when the sheet ends with OK.
void StoreExtensionTables(const AppContext& context, Inifile_CL::Edit_CL& edit);

} // namespace lumicrate
