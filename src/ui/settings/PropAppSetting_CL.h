// The sheet's first page, "アプリ設定": which media kinds an import takes.
#pragma once

#include "ui/framework/ControlFactory_CL.h"
#include "ui/settings/PropertyPage_CL.h"

namespace lumicrate {
class AppContext;
}

namespace lumicrate::ui {

class PropAppSetting_CL : public PropertyPage_CL {
public:
  explicit PropAppSetting_CL(AppContext& context);

  void Apply(Inifile_CL::Edit_CL& edit) override;

protected:
  void OnInitDialog() override;

private:
  AppContext& context_;
  ControlFactory_CL factory_;
  int photo_ = -1;
  int movie_ = -1;
  int sound_ = -1;
};

} // namespace lumicrate::ui
