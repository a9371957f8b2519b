// The version page, "バージョン表示": the switch for update notices, the program's version and
// the way to its support site. Shown in the full sheet and alone from the help menu.
#pragma once

#include "ui/framework/ControlFactory_CL.h"
#include "ui/settings/PropertyPage_CL.h"

namespace lumicrate {
class DesktopShell;
}

namespace lumicrate::ui {

class PropAppVersion_CL : public PropertyPage_CL {
public:
  PropAppVersion_CL(Inifile_CL& settings, DesktopShell& shell);

  void Apply(Inifile_CL::Edit_CL& edit) override;

protected:
  void OnInitDialog() override;

private:
  void OnCommand(int id);

  Inifile_CL& settings_;
  DesktopShell& shell_;
  ControlFactory_CL factory_;
  int notice_ = -1;
  int icon_ = -1;
  int support_ = -1;
};

} // namespace lumicrate::ui
