// A page of a property sheet: a framework dialog shown inside one tab of the sheet, built when
// the user first opens its tab, and asked to store its state when the sheet applies.
#pragma once

#include "app/Inifile_CL.h"
#include "ui/framework/SubClassDialogBase_CL.h"

class QKeyEvent;

namespace lumicrate::ui {

class PropertySheetBuilder;

class PropertyPage_CL : public SubClassDialogBase_CL {
public:
  // Stores what the page shows; only pages that have been built are asked.
  virtual void Apply(Inifile_CL::Edit_CL& edit) = 0;

protected:
  // Tells the sheet that the user changed something, which enables its Apply button.
  void Changed();
  // Enter and Escape belong to the sheet (OK and Cancel), not to the page inside it.
  void keyPressEvent(QKeyEvent* event) override;

private:
  friend class PropertySheetBuilder;
  PropertySheetBuilder* sheet_ = nullptr;
};

} // namespace lumicrate::ui
