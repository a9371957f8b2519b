// The small dialog "拡張子の追加" that asks for an extension to add to a table.
#pragma once

#include <QString>

#include "ui/framework/ControlFactory_CL.h"
#include "ui/framework/SubClassDialogBase_CL.h"

namespace lumicrate::ui {

class DialogAddUserExt_CL : public SubClassDialogBase_CL {
public:
  static constexpr int kMaxCharacters = 32;

  DialogAddUserExt_CL();

  // DoModal gives 1 when an extension was accepted, 0 when the dialog was cancelled or closed.
  // The accepted extension: lower case, beginning with ".".
  QString GetExtension() const { return extension_; }

  // The text field and the 設定 button, once the dialog is built.
  QWidget& Field() const;
  QWidget& SetButton() const;

protected:
  void OnInitDialog() override;

private:
  void OnCommand(int id);
  void OnTextChanged();

  ControlFactory_CL factory_;
  int edit_ = -1;
  int set_ = -1;
  QString extension_;
};

} // namespace lumicrate::ui
