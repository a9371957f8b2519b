// What an extension page of the settings sheet does with its table, without a window: the
// user changes a working copy, which reaches the shared table only when the sheet applies.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/Inifile_CL.h"
#include "media/CompareFileInfo_CL.h"

namespace lumicrate {

class ExtensionTableEditor {
public:
  // Takes the working copy; the shared table is not owned and must outlive the editor.
  explicit ExtensionTableEditor(CompareFileInfo_CL& shared);

  const CompareFileInfo_CL& Working() const { return working_; }

  // Each returns true when the working copy changed (the sheet's Apply button then lights up).
  bool SetChecked(int row, bool checked);
  // A user entry, switched on; false when the table already holds the extension.
  bool AddUserExtension(const std::string& extension);
  // Only user-added rows can be deleted: a built-in one would come back with the next start.
  bool Delete(int row);
  bool CanDelete(int row) const;

  // Copies the working copy into the shared table and adds its keys to the edit.
  void Apply(Inifile_CL::Edit_CL& edit);

private:
  bool IsRow(int row) const { return row >= 0 && static_cast<size_t>(row) < working_.Count(); }

  CompareFileInfo_CL& shared_;
  CompareFileInfo_CL working_;
};

// What the add dialog makes of the typed text: blanks around it (ideographic spaces included)
// dropped, ASCII capitals made small, a leading "." added. Nothing for text that is empty or
// blank, and for text that no file would ever match, since the import test takes the extension
// from the last "." of the path: a lone ".", a second ".", a "/" or a control character; nor for
// blanks inside, which are two extensions typed at once rather than one.
std::optional<std::string> NormaliseUserExtension(std::string_view typed);

} // namespace lumicrate
